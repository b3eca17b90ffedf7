#include "orvanta/resources/OrvantaBitmaps.h"

#include <platform/strings.h>

#include "orvanta/resources/LobbyBitmaps.h"

namespace {

const CMenuButtonImage kButtonImages[] = {
    {282, "대기실목록"}, {283, "기보감상"}, {284, "순위보기"}, {285, "대국실"},     {286, "대국실개설"},
    {287, "대국실검색"}, {288, "대국실참여"}, {289, "이용자정보"}, {290, "이용자검색"}, {291, "대국협상"},
    {292, "초대"},       {293, "무승부신청"}, {294, "불계패신청"}, {295, "무르기신청"}, {297, "종료신청"},
    {298, "계가신청"},   {300, "놓아보기"},   {301, "복기"},       {302, "일시중지"},   {303, "기보선택"},
    {305, "나가기"},     {308, "종료취소"},   {309, "다음페이지"}, {311, "검색취소"},   {312, "기보검색"},
    {313, "사석보내기"}, {368, "다시받기"},   {376, "착수포기"},   {392, "수순"},       {396, "대기실"},
    {398, "빅지정"},     {490, "종료"},       {306, "대국재개"},
    {199, "빅보내기"},
};

void VerticalShade(CDC& dc, const CRect& rect, COLORREF top, COLORREF bottom) {
  const int height = rect.Height();
  for (int y = 0; y < height; ++y) {
    auto mix = [&](int shift) {
      const int a = (top >> shift) & 0xFF;
      const int b = (bottom >> shift) & 0xFF;
      return a + (b - a) * y / (height > 1 ? height - 1 : 1);
    };
    dc.FillSolidRect(rect.left, rect.top + y, rect.Width(), 1, RGB(mix(0), mix(8), mix(16)));
  }
}

void Text(CDC& dc, const CRect& rect, const char* utf8, COLORREF colour, int height, int weight, UINT format) {
  CFont font;
  font.CreateFont(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, HANGUL_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Cp949("굴림"));
  CFont* old = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(colour);
  CRect box = rect;
  const CString text = Cp949(utf8);
  dc.DrawText(text, text.GetLength(), &box, format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc.SelectObject(old);
}

// A menu button's strip: its caption on each face.
void AddMenuButtonStrip(platform::ResourceModule& module, const CMenuButtonImage& image) {
  AddButtonStrip(module, image.bitmapId, kMenuButtonImageWidth, kMenuButtonImageHeight,
                 [&](CDC& dc, const CRect& face, COLORREF ink) { Text(dc, face, image.caption, ink, 11, FW_BOLD, DT_CENTER); });
}

// A room button face: released above, pressed below, 181 x 28 each.
void AddRoomFace(platform::ResourceModule& module, UINT id, COLORREF light, COLORREF dark) {
  AddPaintedBitmap(module, id, 181, 56, [&](CDC& dc) {
    for (int half = 0; half < 2; ++half) {
      const CRect face(0, 28 * half, 181, 28 * half + 28);
      VerticalShade(dc, face, half ? dark : light, half ? light : dark);
      dc.Draw3dRect(&face, RGB(0xE8, 0xF0, 0xF8), RGB(0x20, 0x28, 0x38));
      // A stone mark where the caption starts at 40.
      CBrush stone(RGB(0xF8, 0xF8, 0xF8));
      CBrush* oldBrush = dc.SelectObject(&stone);
      dc.Ellipse(14, 28 * half + 7, 28, 28 * half + 21);
      dc.SelectObject(oldBrush);
    }
  });
}

// The tool bar's ten 16-pixel pictures on its transparent colour: open, save, offline plug,
// search, message, memo, environment, help, full screen, online plug.
void PaintToolBarImages(CDC& dc) {
  {
    dc.FillSolidRect(0, 0, 160, 16, kToolBarMask);
    const COLORREF ink = RGB(0x20, 0x28, 0x38);
    auto box = [&](int x, int l, int t, int r, int b, COLORREF fill) {
      dc.FillSolidRect(x + l, t, r - l, b - t, fill);
      dc.Draw3dRect(x + l, t, r - l, b - t, ink, ink);
    };
    auto plug = [&](int x, COLORREF colour) {
      box(x, 2, 5, 9, 11, colour);
      dc.FillSolidRect(x + 9, 6, 5, 1, ink);
      dc.FillSolidRect(x + 9, 9, 5, 1, ink);
      dc.FillSolidRect(x + 0, 7, 2, 2, ink);
    };
    box(0, 1, 5, 15, 14, RGB(0xF0, 0xC8, 0x40));  // a folder
    box(0, 1, 3, 7, 6, RGB(0xF0, 0xC8, 0x40));
    box(16, 2, 2, 14, 14, RGB(0x30, 0x58, 0xA8));  // a disk
    dc.FillSolidRect(16 + 5, 3, 6, 4, RGB(0xF0, 0xF0, 0xF0));
    plug(32, RGB(0xC0, 0x40, 0x30));
    CPen lens(PS_SOLID, 2, ink);
    CPen* oldPen = dc.SelectObject(&lens);
    CBrush glass(RGB(0xC8, 0xE8, 0xFF));
    CBrush* oldBrush = dc.SelectObject(&glass);
    dc.Ellipse(48 + 2, 2, 48 + 11, 11);  // a magnifier
    dc.MoveTo(48 + 10, 10);
    dc.LineTo(48 + 14, 14);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
    box(64, 1, 4, 15, 13, RGB(0xFF, 0xFF, 0xF0));  // an envelope
    dc.MoveTo(64 + 1, 4);
    dc.LineTo(64 + 8, 9);
    dc.LineTo(64 + 15, 4);
    box(80, 3, 1, 13, 15, RGB(0xFF, 0xF4, 0x90));  // a memo
    for (int y : {4, 7, 10})
      dc.FillSolidRect(80 + 5, y, 6, 1, ink);
    CBrush gear(RGB(0x90, 0x98, 0xA8));
    oldBrush = dc.SelectObject(&gear);
    dc.Ellipse(96 + 2, 2, 96 + 14, 14);  // the environment's wheel
    dc.SelectObject(oldBrush);
    dc.FillSolidRect(96 + 6, 6, 4, 4, RGB(192, 192, 192));
    CBrush help(RGB(0x30, 0x70, 0xC8));
    oldBrush = dc.SelectObject(&help);
    dc.Ellipse(112 + 1, 1, 112 + 15, 15);  // help
    dc.SelectObject(oldBrush);
    Text(dc, CRect(112, 0, 128, 16), "?", RGB(0xFF, 0xFF, 0xFF), 12, FW_BOLD, DT_CENTER);
    box(128, 1, 2, 15, 14, RGB(0xE0, 0xE8, 0xF0));  // full screen
    dc.FillSolidRect(128 + 1, 2, 14, 3, RGB(0x30, 0x58, 0xA8));
    plug(144, RGB(0x30, 0xA0, 0x48));
  }
}

void AddToolBarImages(platform::ResourceModule& module) {
  AddPaintedBitmap(module, kToolBarImages, 160, 16, PaintToolBarImages);
  // The pictures of a pressed button: the same, lit up, so the press shows.
  AddPaintedBitmap(module, kToolBarHotImages, 160, 16, [](CDC& dc) {
    PaintToolBarImages(dc);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 160; ++x) {
        const COLORREF c = dc.GetPixel(x, y);
        if (c == kToolBarMask)
          continue;
        dc.SetPixel(x, y, RGB((GetRValue(c) + 255) / 2, (GetGValue(c) + 255) / 2, (GetBValue(c) + 120) / 2));
      }
  });
}

}  // namespace

void AddPaintedBitmap(platform::ResourceModule& module, UINT id, int width, int height,
                      const std::function<void(CDC&)>& paint) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  bitmap.CreateBitmap(width, height, 1, 32, nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  paint(dc);
  platform::Surface pixels;
  platform::CopyDCPixels(&dc, pixels);
  dc.SelectObject(old);
  platform::AddBitmapResource(module, id, pixels);
}

void AddButtonStrip(platform::ResourceModule& module, UINT id, int width, int height,
                    const std::function<void(CDC& dc, const CRect& face, COLORREF ink)>& glyph) {
  const int w = width;
  const int h = height;
  AddPaintedBitmap(module, id, w, 3 * h + 2, [&](CDC& dc) {
    dc.FillSolidRect(0, 0, w, 3 * h + 2, RGB(0xC8, 0xD4, 0xE0));
    const int tops[3] = {0, h, 2 * h + 2};
    const COLORREF faces[3][2] = {{RGB(0xFA, 0xFC, 0xFF), RGB(0xC9, 0xD8, 0xEA)},
                                  {RGB(0xFF, 0xF6, 0xD8), RGB(0xF5, 0xC8, 0x6A)},
                                  {RGB(0xEC, 0xEC, 0xEC), RGB(0xD0, 0xD0, 0xD0)}};
    const COLORREF inks[3] = {RGB(0x1A, 0x2A, 0x44), RGB(0x5A, 0x2A, 0x00), RGB(0x9A, 0x9A, 0x9A)};
    for (int s = 0; s < 3; ++s) {
      const CRect face(1, tops[s] + 1, w - 1, tops[s] + h - 1);
      VerticalShade(dc, face, faces[s][0], faces[s][1]);
      dc.Draw3dRect(0, tops[s], w, h, RGB(0x8C, 0xA0, 0xB8), RGB(0x4C, 0x5C, 0x74));
      glyph(dc, face, inks[s]);
    }
  });
}

void DrawButtonCaption(CDC& dc, const CRect& face, const char* utf8, COLORREF ink) {
  Text(dc, face, utf8, ink, 11, FW_BOLD, DT_CENTER);
}

void RegisterOrvantaBitmaps(platform::ResourceModule& module) {
  RegisterLobbyBitmaps(module);
  // The start view's column: a title, rows of its background, a foot.
  AddPaintedBitmap(module, 422, 181, 49, [](CDC& dc) {
    VerticalShade(dc, CRect(0, 0, 181, 49), RGB(0x1E, 0x3C, 0x64), RGB(0x2C, 0x58, 0x88));
    Text(dc, CRect(0, 4, 181, 28), "오르반타 바둑", RGB(0xFF, 0xFF, 0xFF), 16, FW_BOLD, DT_CENTER);
    Text(dc, CRect(0, 26, 181, 46), "대기실을 선택하세요", RGB(0xD8, 0xE4, 0xF4), 12, FW_NORMAL, DT_CENTER);
  });
  AddPaintedBitmap(module, 425, 181, 14, [](CDC& dc) { dc.FillSolidRect(0, 0, 181, 14, RGB(0x2C, 0x58, 0x88)); });
  AddPaintedBitmap(module, 418, 181, 14, [](CDC& dc) {
    VerticalShade(dc, CRect(0, 0, 181, 14), RGB(0x2C, 0x58, 0x88), RGB(0x14, 0x28, 0x44));
  });
  AddRoomFace(module, 432, RGB(0x6A, 0x7C, 0x94), RGB(0x3A, 0x48, 0x5C));
  AddRoomFace(module, 433, RGB(0x4C, 0x9A, 0x5C), RGB(0x24, 0x5C, 0x30));
  AddRoomFace(module, 434, RGB(0x3C, 0x7C, 0xC4), RGB(0x1C, 0x44, 0x7C));
  AddRoomFace(module, 436, RGB(0x8C, 0x5C, 0xB4), RGB(0x50, 0x30, 0x70));

  // The main menu pane's background.
  AddPaintedBitmap(module, kMenuLeftBitmap, kMenuLeftWidth, kMenuBackgroundHeight, [](CDC& dc) {
    VerticalShade(dc, CRect(0, 0, kMenuLeftWidth, kMenuBackgroundHeight), RGB(0x1E, 0x3C, 0x64),
                  RGB(0x10, 0x24, 0x40));
    Text(dc, CRect(0, 0, kMenuLeftWidth, kMenuBackgroundHeight), "오르반타", RGB(0xFF, 0xFF, 0xFF), 20, FW_BOLD,
         DT_CENTER);
  });
  AddPaintedBitmap(module, kMenuMiddleBitmap, 40, kMenuBackgroundHeight, [](CDC& dc) {
    VerticalShade(dc, CRect(0, 0, 40, kMenuBackgroundHeight), RGB(0xE4, 0xEC, 0xF4), RGB(0xB8, 0xC8, 0xDC));
  });
  AddPaintedBitmap(module, kMenuRightBitmap, 20, kMenuBackgroundHeight, [](CDC& dc) {
    VerticalShade(dc, CRect(0, 0, 20, kMenuBackgroundHeight), RGB(0xB8, 0xC8, 0xDC), RGB(0x8C, 0xA0, 0xB8));
  });
  for (const CMenuButtonImage& image : kButtonImages)
    AddMenuButtonStrip(module, image);
  AddToolBarImages(module);
}
