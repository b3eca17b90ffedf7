// The command bar of a print preview.
#include "platform/preview.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi.h"

namespace {
constexpr int kMinButtonWidth = 56;
constexpr int kButtonHeight = 22;
constexpr int kMargin = 4;
}  // namespace

BEGIN_MESSAGE_MAP(CPreviewBar, CControlBar)
  ON_WM_PAINT()
END_MESSAGE_MAP()

const std::array<CPreviewBar::Command, 7> CPreviewBar::kCommands{{
    {AFX_ID_PREVIEW_PRINT, "&Print..."},
    {AFX_ID_PREVIEW_NEXT, "&Next Page"},
    {AFX_ID_PREVIEW_PREV, "Pre&v Page"},
    {AFX_ID_PREVIEW_NUMPAGE, "&Two Page"},
    {AFX_ID_PREVIEW_ZOOMIN, "Zoom &In"},
    {AFX_ID_PREVIEW_ZOOMOUT, "Zoom &Out"},
    {AFX_ID_PREVIEW_CLOSE, "&Close"},
}};

BOOL CPreviewBar::Create(CFrameWnd* parent) {
  if (!CreateBar(parent, WS_CHILD | WS_VISIBLE, AFX_IDW_PREVIEW_BAR, false)) return FALSE;
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if (!m_buttons[i].Create(kCommands[i].caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 0, 0), this,
                             kCommands[i].id)) {
      return FALSE;
    }
  }
  PlaceButtons();
  return TRUE;
}

void CPreviewBar::PlaceButtons() {
  int left = kMargin;
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    // Measured as the button draws its caption.
    CClientDC dc(&m_buttons[i]);
    CString caption(kCommands[i].caption);
    caption.Remove('&');
    int text = static_cast<int>(dc.GetTextExtent(caption).cx);
    // The page-count button also shows "One Page".
    if (kCommands[i].id == AFX_ID_PREVIEW_NUMPAGE) text = std::max(text, static_cast<int>(dc.GetTextExtent(CString("One Page")).cx));
    int width = std::max(kMinButtonWidth, text + 16);
    m_buttons[i].MoveWindow(left, kMargin, width, kButtonHeight);
    left += width + kMargin;
  }
}

void CPreviewBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
}

CButton* CPreviewBar::GetButton(UINT id) {
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if (kCommands[i].id == id && ::IsWindow(m_buttons[i].m_hWnd)) return &m_buttons[i];
  }
  return nullptr;
}

UINT CPreviewBar::CommandOfLetter(char letter) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    const char* mark = std::strchr(kCommands[i].caption, '&');
    if (!mark || lower(mark[1]) != lower(letter)) continue;
    if (::IsWindow(m_buttons[i].m_hWnd) && m_buttons[i].IsWindowEnabled()) return kCommands[i].id;
  }
  return 0;
}

void CPreviewBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if (!::IsWindow(m_buttons[i].m_hWnd)) continue;
    CCmdUI state;
    state.m_nID = kCommands[i].id;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nIndexMax = static_cast<UINT>(kCommands.size());
    state.m_pOther = &m_buttons[i];
    state.DoUpdate(target, disableIfNoHandler);
  }
}

void CPreviewBar::OnBarResized(int, int) {}

BOOL CPreviewBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam && HIWORD(wParam) == BN_CLICKED) {
    // The command may close the preview, and this bar with it: nothing of it is used afterwards.
    if (CWnd* frame = GetParent()) frame->SendMessage(WM_COMMAND, LOWORD(wParam), 0);
    return TRUE;
  }
  return CControlBar::OnCommand(wParam, lParam);
}
