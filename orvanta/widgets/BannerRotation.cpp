#include "orvanta/widgets/BannerRotation.h"

#include <algorithm>

void CBannerRotation::Reset(int count) {
  m_nCount = std::clamp(count, 0, kMaxBanners);
  m_nNext = 0;
  m_bLoaded = false;
}

int CBannerRotation::Advance() {
  if (m_nCount == 0)
    return -1;
  if (m_nNext >= m_nCount || m_nNext < 0)
    m_nNext = 0;
  m_bLoaded = true;
  return m_nNext++;
}

int CBannerRotation::Shown() const {
  if (m_nCount == 0 || !m_bLoaded)
    return -1;
  return (m_nNext + m_nCount - 1) % m_nCount;
}
