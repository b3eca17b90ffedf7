#pragma once
// CBannerRotation: which advert banner the main menu pane loads next. The index wraps to the
// first banner at the count, so it never reaches past the slots.

class CBannerRotation {
public:
  static constexpr int kMaxBanners = 6;

  // Sets the count (clamped to 0..kMaxBanners) and starts again from the first banner.
  void Reset(int count);
  // The banner to load now (-1 without banners); the next call gives the one after it.
  int Advance();
  // The banner loaded last (-1 before the first or without banners).
  int Shown() const;
  int GetCount() const { return m_nCount; }
  int GetNext() const { return m_nNext; }

private:
  int m_nCount{0};
  int m_nNext{0};  // the banner to load next
  bool m_bLoaded{false};
};
