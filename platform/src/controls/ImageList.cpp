#include "platform/controls_imagelist.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ImageListStore.h"

namespace {

struct Image {
  std::vector<COLORREF> pixels;
  std::vector<bool> transparent;
};

struct ImageListData {
  int cx{0};
  int cy{0};
  bool masked{false};
  COLORREF background{CLR_NONE};
  std::vector<Image> images;
};

std::unordered_map<HIMAGELIST, std::unique_ptr<ImageListData>>& Lists() {
  static std::unordered_map<HIMAGELIST, std::unique_ptr<ImageListData>> lists;
  return lists;
}

ImageListData* Find(HIMAGELIST list) {
  auto it = Lists().find(list);
  return it == Lists().end() ? nullptr : it->second.get();
}

// Reads every pixel of a bitmap through a memory context; empty on failure.
std::vector<COLORREF> ReadPixels(HBITMAP bitmap, int& width, int& height) {
  BITMAP info{};
  CBitmap* wrapper = bitmap ? CBitmap::FromHandle(bitmap) : nullptr;
  if (!wrapper || !wrapper->GetBitmap(&info)) return {};
  CDC memory;
  if (!memory.CreateCompatibleDC(nullptr)) return {};
  CBitmap* old = memory.SelectObject(wrapper);
  width = info.bmWidth;
  height = info.bmHeight;
  std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels[static_cast<std::size_t>(y) * width + x] = memory.GetPixel(x, y);
  }
  memory.SelectObject(old);
  return pixels;
}

// Cuts a strip into images; isTransparent(x, y, colour) decides the mask.
template <class Transparent>
int AddStrip(ImageListData& data, HBITMAP strip, Transparent isTransparent) {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels = ReadPixels(strip, width, height);
  if (pixels.empty() || width < data.cx) return -1;
  int first = static_cast<int>(data.images.size());
  for (int left = 0; left + data.cx <= width; left += data.cx) {
    Image image;
    for (int y = 0; y < data.cy; ++y) {
      for (int x = 0; x < data.cx; ++x) {
        bool inside = y < height;
        COLORREF c = inside ? pixels[static_cast<std::size_t>(y) * width + left + x] : RGB(0, 0, 0);
        image.pixels.push_back(c);
        image.transparent.push_back(data.masked && (!inside || isTransparent(left + x, y, c)));
      }
    }
    data.images.push_back(std::move(image));
  }
  return first;
}

COLORREF Blend(COLORREF a, COLORREF b) {
  return RGB(static_cast<BYTE>((GetRValue(a) + GetRValue(b)) / 2), static_cast<BYTE>((GetGValue(a) + GetGValue(b)) / 2),
             static_cast<BYTE>((GetBValue(a) + GetBValue(b)) / 2));
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return nullptr;
  auto data = std::make_unique<ImageListData>();
  data->cx = cx;
  data->cy = cy;
  data->masked = (flags & ILC_MASK) != 0;
  auto handle = reinterpret_cast<HIMAGELIST>(data.get());
  Lists()[handle] = std::move(data);
  return handle;
}

BOOL ImageList_Destroy(HIMAGELIST list) { return Lists().erase(list) ? TRUE : FALSE; }

int ImageList_GetImageCount(HIMAGELIST list) {
  ImageListData* data = Find(list);
  return data ? static_cast<int>(data->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  ImageListData* data = Find(list);
  if (!data || !cx || !cy) return FALSE;
  *cx = data->cx;
  *cy = data->cy;
  return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  ImageListData* data = Find(list);
  if (!data) return -1;
  int maskWidth = 0;
  int maskHeight = 0;
  std::vector<COLORREF> maskPixels = mask ? ReadPixels(mask, maskWidth, maskHeight) : std::vector<COLORREF>{};
  return AddStrip(*data, image, [&](int x, int y, COLORREF) {
    if (x >= maskWidth || y >= maskHeight) return false;
    return maskPixels[static_cast<std::size_t>(y) * maskWidth + x] == RGB(255, 255, 255);
  });
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor) {
  ImageListData* data = Find(list);
  if (!data) return -1;
  return AddStrip(*data, image, [&](int, int, COLORREF c) { return c == maskColor; });
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  ImageListData* data = Find(list);
  if (!data) return FALSE;
  if (index == -1) {
    data->images.clear();
    return TRUE;
  }
  if (index < 0 || index >= static_cast<int>(data->images.size())) return FALSE;
  data->images.erase(data->images.begin() + index);
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
  ImageListData* data = Find(list);
  if (!data) return CLR_NONE;
  COLORREF old = data->background;
  data->background = color;
  return old;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style) {
  CDC* dc = hdc ? CDC::FromHandle(hdc) : nullptr;
  return dc && platform::detail::DrawImage(list, index, *dc, x, y, style);
}

namespace {

// Puts one row of pixels (0x00RRGGBB) at (x, y) of dc.
void PutRun(CDC& dc, int x, int y, const std::vector<std::uint32_t>& run) {
  if (run.empty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = static_cast<LONG>(run.size());
  info.bmiHeader.biHeight = -1;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc.GetSafeHdc(), x, y, static_cast<DWORD>(run.size()), 1, 0, 0, 0, 1, run.data(), &info,
                      DIB_RGB_COLORS);
}

}  // namespace

namespace platform::detail {

bool DrawImage(HIMAGELIST list, int index, CDC& dc, int x, int y, UINT style) {
  ImageListData* data = Find(list);
  if (!data || index < 0 || index >= static_cast<int>(data->images.size())) return false;
  const Image& image = data->images[static_cast<std::size_t>(index)];
  bool blend = (style & (ILD_BLEND50 | ILD_BLEND25)) != 0;
  bool transparent = (style & ILD_TRANSPARENT) || data->background == CLR_NONE;
  COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  // The pixels go out a row's run at a time: every drawing call looks for its window's surface,
  // which for one pixel at a time cost a list's paint more than all the rest of it.
  std::vector<std::uint32_t> run;
  run.reserve(static_cast<std::size_t>(data->cx));
  for (int row = 0; row < data->cy; ++row) {
    int runStart = 0;
    run.clear();
    for (int col = 0; col <= data->cx; ++col) {
      std::size_t at = static_cast<std::size_t>(row) * data->cx + col;
      bool skip = col == data->cx || (!(style & ILD_MASK) && image.transparent[at] && transparent);
      if (skip) {
        PutRun(dc, x + runStart, y + row, run);
        run.clear();
        runStart = col + 1;
        continue;
      }
      bool clear = image.transparent[at];
      COLORREF c = (style & ILD_MASK) ? (clear ? RGB(255, 255, 255) : RGB(0, 0, 0))
                                      : blend ? Blend(clear ? data->background : image.pixels[at], highlight)
                                              : (clear ? data->background : image.pixels[at]);
      run.push_back(std::uint32_t{GetRValue(c)} << 16 | std::uint32_t{GetGValue(c)} << 8 | GetBValue(c));
    }
  }
  return true;
}

bool DrawDisabledImage(HIMAGELIST list, int index, CDC& dc, int x, int y) {
  ImageListData* data = Find(list);
  if (!data || index < 0 || index >= static_cast<int>(data->images.size())) return false;
  const Image& image = data->images[static_cast<std::size_t>(index)];
  // The shape is the image's darker pixels; light ones (the glyph's own highlights) fall away.
  auto inShape = [&](std::size_t at) {
    if (image.transparent[at]) return false;
    COLORREF c = image.pixels[at];
    return GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11 < 192 * 100;
  };
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  for (int pass = 0; pass < 2; ++pass) {
    for (int row = 0; row < data->cy; ++row) {
      for (int col = 0; col < data->cx; ++col) {
        if (!inShape(static_cast<std::size_t>(row) * data->cx + col)) continue;
        if (pass == 0) dc.SetPixel(x + col + 1, y + row + 1, light);
        else dc.SetPixel(x + col, y + row, shadow);
      }
    }
  }
  return true;
}

SIZE ImageSize(HIMAGELIST list) {
  ImageListData* data = Find(list);
  return data ? SIZE{data->cx, data->cy} : SIZE{0, 0};
}

}  // namespace platform::detail

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF maskColor) {
  CBitmap strip;
  BITMAP info{};
  if (!strip.LoadBitmap(bitmapId) || !strip.GetBitmap(&info)) return FALSE;
  if (!Create(cx, info.bmHeight, ILC_COLOR32 | ILC_MASK, 0, grow)) return FALSE;
  return ImageList_AddMasked(m_hImageList, strip, maskColor) >= 0 || info.bmWidth < cx;
}

BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  ImageList_Destroy(Detach());
  return TRUE;
}

BOOL CImageList::Attach(HIMAGELIST list) {
  if (m_hImageList || !list) return FALSE;
  m_hImageList = list;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_hImageList;
  m_hImageList = nullptr;
  return list;
}

int CImageList::Add(CBitmap* image, CBitmap* mask) {
  return ImageList_Add(m_hImageList, image ? static_cast<HBITMAP>(*image) : nullptr, mask ? static_cast<HBITMAP>(*mask) : nullptr);
}

int CImageList::Add(CBitmap* image, COLORREF maskColor) {
  return ImageList_AddMasked(m_hImageList, image ? static_cast<HBITMAP>(*image) : nullptr, maskColor);
}

BOOL CImageList::Draw(CDC* dc, int index, POINT point, UINT style) {
  return dc && platform::detail::DrawImage(m_hImageList, index, *dc, point.x, point.y, style);
}
