#pragma once
// The advert banners read from "AD.ini": at most six, each an image file name and a link (the
// link written with "\" where the address has "/").

#include <array>

#include <platform/strings.h>

struct CAdvertSlots {
  static constexpr int kMaxBanners = 6;

  std::array<CString, kMaxBanners> m_images;
  std::array<CString, kMaxBanners> m_links;
  int m_nCount{0};
};
