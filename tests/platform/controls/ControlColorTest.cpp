// Controls ask their parent how to paint (WM_CTLCOLOR*) and paint with what it answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "ControlHost.h"
#include "platform/controls.h"

namespace {

using controls_test::ControlHost;

constexpr COLORREF kParentFace = RGB(10, 120, 40);  // what the parent painted behind its controls

// Answers every colour question with one brush and text colour, remembering what was asked.
class ColourHost : public ControlHost {
public:
  std::optional<COLORREF> brushColour;  // none: the system's answer
  bool nullBrush{false};                // the stock null brush with a transparent background
  COLORREF textColour{RGB(0, 0, 0)};
  UINT asked{0};
  HWND askedBy{nullptr};

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
      asked = message;
      askedBy = reinterpret_cast<HWND>(lParam);
      if (nullBrush || brushColour) {
        auto hdc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(hdc, textColour);
        if (nullBrush) {
          ::SetBkMode(hdc, TRANSPARENT);
          return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        }
        ::SetBkColor(hdc, *brushColour);
        brush.DeleteObject();
        brush.CreateSolidBrush(*brushColour);
        return reinterpret_cast<LRESULT>(brush.GetSafeHandle());
      }
    }
    return ControlHost::WindowProc(message, wParam, lParam);
  }

  CBrush brush;
};

enum class Kind { Static, Edit, ReadOnlyEdit, ListBox, Check, Radio, Push };

struct Case {
  const char* name;
  Kind kind;
  UINT expectedMessage;
  std::optional<COLORREF> brush;  // none: the parent leaves it to the system
  bool nullBrush;
  COLORREF expectedBackground;   // right of any text
  bool textInParentColour;       // some pixel carries the parent's text colour
};

const COLORREF kCream = RGB(242, 237, 223);
const COLORREF kBlue = RGB(0, 0, 255);

// Smoothed glyph edges blend the text colour into the background: blue must dominate.
bool Bluish(COLORREF c) { return GetBValue(c) > std::max(GetRValue(c), GetGValue(c)) + 90; }

bool CreateControl(Kind kind, CWnd& parent, CWnd& control) {
  const CRect r(20, 20, 220, 60);
  switch (kind) {
    case Kind::Static: return static_cast<CStatic&>(control).Create("WWW", WS_CHILD | WS_VISIBLE, r, &parent, 7);
    case Kind::Edit:
    case Kind::ReadOnlyEdit: {
      DWORD style = WS_CHILD | WS_VISIBLE | (kind == Kind::ReadOnlyEdit ? ES_READONLY : 0);
      if (!static_cast<CEdit&>(control).Create(style, r, &parent, 7)) return false;
      control.SetWindowText("WWW");
      return true;
    }
    case Kind::ListBox: {
      auto& list = static_cast<CListBox&>(control);
      if (!list.Create(WS_CHILD | WS_VISIBLE, r, &parent, 7)) return false;
      list.AddString("WWW");
      return true;
    }
    case Kind::Check:
      return static_cast<CButton&>(control).Create("WWW", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, r, &parent, 7);
    case Kind::Radio:
      return static_cast<CButton&>(control).Create("WWW", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, r, &parent, 7);
    case Kind::Push: return static_cast<CButton&>(control).Create("WWW", WS_CHILD | WS_VISIBLE, r, &parent, 7);
  }
  return false;
}

TEST(ControlColorTest, ControlsPaintWithTheBrushAndTextColourTheirParentGives) {
  const Case cases[] = {
      {"static", Kind::Static, WM_CTLCOLORSTATIC, kCream, false, kCream, true},
      {"edit", Kind::Edit, WM_CTLCOLOREDIT, kCream, false, kCream, true},
      {"read-only edit asks as a static", Kind::ReadOnlyEdit, WM_CTLCOLORSTATIC, kCream, false, kCream, true},
      {"list box", Kind::ListBox, WM_CTLCOLORLISTBOX, kCream, false, kCream, true},
      {"check box", Kind::Check, WM_CTLCOLORSTATIC, kCream, false, kCream, true},
      {"radio button", Kind::Radio, WM_CTLCOLORSTATIC, kCream, false, kCream, true},
      {"push button keeps its face", Kind::Push, WM_CTLCOLORBTN, kCream, false, ::GetSysColor(COLOR_BTNFACE), false},
      {"null brush shows the parent", Kind::Static, WM_CTLCOLORSTATIC, std::nullopt, true, kParentFace, true},
      {"edit left to the system", Kind::Edit, WM_CTLCOLOREDIT, std::nullopt, false, ::GetSysColor(COLOR_WINDOW), false},
      {"static left to the system", Kind::Static, WM_CTLCOLORSTATIC, std::nullopt, false, ::GetSysColor(COLOR_BTNFACE),
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ColourHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr));
    host.brushColour = c.brush;
    host.nullBrush = c.nullBrush;
    host.textColour = kBlue;
    CStatic staticControl;
    CEdit edit;
    CListBox list;
    CButton button;
    CWnd& control = c.kind == Kind::Static ? static_cast<CWnd&>(staticControl)
                    : c.kind == Kind::Edit || c.kind == Kind::ReadOnlyEdit ? static_cast<CWnd&>(edit)
                    : c.kind == Kind::ListBox ? static_cast<CWnd&>(list)
                                              : static_cast<CWnd&>(button);
    ASSERT_TRUE(CreateControl(c.kind, host, control));
    {
      CClientDC parent(&host);
      parent.FillSolidRect(0, 0, 300, 100, kParentFace);
    }
    control.Invalidate();
    control.UpdateWindow();
    EXPECT_EQ(host.asked, c.expectedMessage);
    EXPECT_EQ(host.askedBy, control.GetSafeHwnd());

    CClientDC dc(&control);
    EXPECT_EQ(dc.GetPixel(190, 20), c.expectedBackground);
    bool blue = false;
    for (int y = 0; y < 40 && !blue; ++y)
      for (int x = 0; x < 200 && !blue; ++x) blue = Bluish(dc.GetPixel(x, y));
    EXPECT_EQ(blue, c.textInParentColour);
    host.DestroyWindow();
  }
}

}  // namespace
