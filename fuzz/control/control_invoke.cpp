// Drives the board control through IDispatch::Invoke with arbitrary member ids, call kinds,
// argument counts and argument types. A call that does not fit is an error result, never a crash;
// whatever the calls did, the control still paints and its history still walks.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "control/StolvexCtrl.h"
#include "platform/gdi.h"

namespace {

class ByteReader {
public:
  ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  bool More() const { return m_at < m_size; }
  int Next() { return m_at < m_size ? m_data[m_at++] : 0; }
  int Short() {
    const int low = Next();
    return static_cast<std::int16_t>(low | (Next() << 8));
  }

private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_at{0};
};

// One argument of a type the input picks; strings and objects are released by CComVariant.
CComVariant Argument(ByteReader& in, IDispatch* self, VARIANT* byRefTarget) {
  switch (in.Next() % 9) {
    case 0: return CComVariant(static_cast<SHORT>(in.Short()));
    case 1: return CComVariant(static_cast<LONG>(in.Short() * 40503L));
    case 2: return CComVariant(static_cast<SHORT>(in.Next() % 24 - 2));  // near the board's range
    case 3: return CComVariant(in.Next() % 2 ? "|ab|" : "");
    case 4: return CComVariant(self);
    case 5: return CComVariant();
    case 6: {
      VARIANT ref{};
      ref.vt = VT_VARIANT | VT_BYREF;
      ref.pvarVal = byRefTarget;
      return CComVariant(ref);
    }
    case 7: return CComVariant(in.Next() % 2 == 1);
    default: {
      CComVariant list;
      list.vt = VT_DISPATCH;
      list.pdispVal = nullptr;
      return list;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CStolvexCtrl* ctrl = [] {
    auto* c = new CStolvexCtrl;
    c->AddRef();
    return c;
  }();
  IDispatch* dispatch = ctrl;
  ctrl->Init();
  ctrl->SetSizeControl(200, 200);
  ByteReader in(data, size);
  CComVariant history;  // a history list a call may hand back, offered to later calls by reference
  for (int calls = 0; in.More() && calls < 200; ++calls) {
    const DISPID id = in.Next() % 40 - 2;
    static const WORD kKinds[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT,
                                  DISPATCH_METHOD | DISPATCH_PROPERTYGET, 0};
    const WORD kind = kKinds[in.Next() % 5];
    const int count = in.Next() % 6;
    std::vector<CComVariant> args;
    for (int a = 0; a < count; ++a)
      args.push_back(Argument(in, dispatch, &history));
    std::vector<VARIANT> raw(args.begin(), args.end());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{raw.empty() ? nullptr : raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
    if (kind == DISPATCH_PROPERTYPUT && !raw.empty()) {
      params.rgdispidNamedArgs = &put;
      params.cNamedArgs = 1;
    }
    CComVariant result;
    EXCEPINFO exception{};
    UINT argErr = 0;
    dispatch->Invoke(id, IID_NULL, 0, kind, &params, &result, &exception, &argErr);
    ClearExcepInfo(&exception);
    if (result.vt == VT_DISPATCH)
      history = result;
    // A long history or a huge control would only slow the run down.
    if (ctrl->Board().GetLogicalPos() > 400 || ctrl->Board().StoneList().Count() > 2000)
      ctrl->Init();
    int cx = 0, cy = 0;
    ctrl->GetControlSize(&cx, &cy);
    if (cx > 600 || cy > 600)
      ctrl->SetSizeControl(200, 200);
  }
  // Whatever happened, the board paints and its history walks to the start and back (marks the
  // container wrote may hold any cell word, so the cells themselves are not judged).
  CDC target;
  target.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  int cx = 0, cy = 0;
  ctrl->GetControlSize(&cx, &cy);
  if (cx > 0 && cy > 0 && bitmap.CreateBitmap(cx, cy, 1, 32, nullptr)) {
    CBitmap* old = target.SelectObject(&bitmap);
    const CRect bounds(0, 0, cx, cy);
    ctrl->OnDraw(&target, bounds, bounds);
    target.SelectObject(old);
  }
  CStolvexBoard& board = ctrl->Board();
  while (board.GetLogicalPos() > 0 && board.StoneList().At(board.GetLogicalPos()))
    board.GoPrev(1);
  while (board.GetMovedBackCount() > 0 && board.StoneList().At(board.GetLogicalPos() + 1))
    board.GoNext(1);
  return 0;
}
