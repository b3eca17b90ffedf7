#include "client/model/StonePictureCache.h"

#include "client/model/StonePictures.h"

CStonePictureCache::Set* CStonePictureCache::Get(int size, COLORREF transparent) {
  auto found = m_sets.find(size);
  if (found != m_sets.end()) return found->second.get();
  for (const StonePictures& entry : kStonePictures) {
    if (entry.size != size) continue;
    auto set = std::make_unique<Set>();
    set->black.Load(entry.black, transparent, set->blackPalette);
    set->white.Load(entry.white, transparent, set->whitePalette);
    return m_sets.emplace(size, std::move(set)).first->second.get();
  }
  return nullptr;
}
