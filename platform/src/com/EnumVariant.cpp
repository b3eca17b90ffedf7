#include <memory>

#include "platform/com_object.h"
#include "platform/com_variant.h"

namespace {

// Enumerates a list shared with its clones.
class CVariantEnum final : public CComObjectImpl<IEnumVARIANT> {
public:
  using Items = std::shared_ptr<const std::vector<CComVariant>>;
  CVariantEnum(Items items, std::size_t position) : m_items(std::move(items)), m_position(position) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (!items || (count != 1 && !fetched)) return E_POINTER;
    ULONG done = 0;
    for (; done < count && m_position < m_items->size(); ++done) {
      VariantInit(&items[done]);
      HRESULT hr = VariantCopy(&items[done], &(*m_items)[m_position]);
      if (FAILED(hr)) {
        for (ULONG i = 0; i < done; ++i) VariantClear(&items[i]);
        return hr;
      }
      ++m_position;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    std::size_t left = m_items->size() - m_position;
    if (count > left) {
      m_position = m_items->size();
      return S_FALSE;
    }
    m_position += count;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    m_position = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** clone) override {
    if (!clone) return E_POINTER;
    *clone = Create<CVariantEnum>(m_items, m_position);
    return *clone ? S_OK : E_OUTOFMEMORY;
  }

private:
  Items m_items;
  std::size_t m_position{0};
};

}  // namespace

HRESULT CreateVariantEnumerator(const std::vector<CComVariant>& items, IEnumVARIANT** enumerator) {
  if (!enumerator) return E_POINTER;
  auto shared = std::make_shared<const std::vector<CComVariant>>(items);
  *enumerator = CVariantEnum::Create<CVariantEnum>(shared, 0);
  return *enumerator ? S_OK : E_OUTOFMEMORY;
}
