// The tool bar: command buttons made from a tool bar resource or a list of ids.
#include "platform/controlbars.h"

#include <cstring>

#include "platform/app.h"

namespace {

// Lets an update handler enable or check a button.
class CToolCmdUI : public CCmdUI {
public:
  explicit CToolCmdUI(CToolBarCtrl& ctrl) : m_ctrl(ctrl) {}
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    m_ctrl.EnableButton(static_cast<int>(m_nID), on);
  }
  void SetCheck(int check) override { m_ctrl.CheckButton(static_cast<int>(m_nID), check != 0); }
  void SetText(LPCTSTR) override {}

private:
  CToolBarCtrl& m_ctrl;
};

constexpr UINT_PTR kPointerTimer = 0x7B02;

// Prompts of the standard commands, for programs whose resources have none ("prompt\ntip").
const char* StandardPrompt(UINT command) {
  switch (command) {
    case ID_FILE_NEW: return "Start a new document\nNew";
    case ID_FILE_OPEN: return "Open a file\nOpen";
    case ID_FILE_SAVE: return "Save the document\nSave";
    case ID_FILE_SAVE_AS: return "Save the document under a new name\nSave As";
    case ID_FILE_PRINT: return "Print the document\nPrint";
    case ID_FILE_PRINT_PREVIEW: return "Show the pages as they will print\nPrint Preview";
    case ID_APP_ABOUT: return "Show the program's information\nAbout";
    case ID_APP_EXIT: return "Leave the program\nExit";
    case 0xE146: return "Show help\nHelp";  // ID_HELP
    default: return nullptr;
  }
}

// The prompt string of a command: its string resource, else the standard one, else empty.
CString PromptOf(UINT command) {
  CString prompt;
  if (AfxLoadStringResource(command, prompt)) return prompt;
  const char* standard = StandardPrompt(command);
  return standard ? CString(standard) : CString();
}

CStatusBar* StatusBarOf(CWnd* bar) {
  CFrameWnd* frame = nullptr;
  for (CWnd* up = bar->GetParent(); up && !frame; up = up->GetParent()) frame = dynamic_cast<CFrameWnd*>(up);
  CWnd* status = frame ? frame->GetControlBar(AFX_IDW_STATUS_BAR) : nullptr;
  return status ? dynamic_cast<CStatusBar*>(CWnd::FromHandlePermanent(status->m_hWnd)) : nullptr;
}

}  // namespace

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) { return CreateEx(parent, 0, style, RECT{0, 0, 0, 0}, id); }

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, const RECT&, UINT id) {
  // The low word holds the bar's own styles, not the window's.
  m_barStyle = style & 0xFFFF;
  if (!CreateBar(parent, style & 0xFFFF0000, id, false)) return FALSE;
  CRect client;
  GetClientRect(&client);
  if (!m_ctrl.Create(WS_CHILD | WS_VISIBLE | ctrlStyle, client, this, 1)) return FALSE;
  m_ctrl.SetButtonSize(m_sizeButton);
  if ((m_barStyle & CBRS_TOOLTIPS) && !m_tips.Create(this)) return FALSE;
  return TRUE;
}

void CToolBar::AddTips() {
  if (!m_tips.GetSafeHwnd()) return;
  for (int i = 0; i < m_tipIds; ++i) m_tips.DelTool(&m_ctrl, static_cast<UINT_PTR>(i + 1));
  m_tipIds = m_ctrl.GetButtonCount();
  for (int i = 0; i < m_tipIds; ++i) {
    UINT command = GetItemID(i);
    if (command == ID_SEPARATOR) continue;
    CString prompt = PromptOf(command);
    int newline = prompt.Find('\n');
    if (newline < 0) continue;
    CRect rect;
    m_ctrl.GetItemRect(i, &rect);
    m_tips.AddTool(&m_ctrl, prompt.Mid(newline + 1), &rect, static_cast<UINT_PTR>(i + 1));
  }
}

BOOL CToolBar::PreTranslateMessage(MSG* msg) {
  if (msg->hwnd == m_ctrl.m_hWnd && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
    if (m_tips.GetSafeHwnd()) m_tips.RelayEvent(msg);
    if (msg->message == WM_MOUSEMOVE) {
      int index = -1;
      POINT point = CPoint(msg->lParam);
      for (int i = 0; i < m_ctrl.GetButtonCount() && index < 0; ++i) {
        CRect rect;
        if (GetItemID(i) != ID_SEPARATOR && m_ctrl.GetItemRect(i, &rect) && rect.PtInRect(point)) index = i;
      }
      if (m_barStyle & CBRS_FLYBY) ShowPrompt(index);
      SetTimer(kPointerTimer, 150, nullptr);
    }
  }
  return CControlBar::PreTranslateMessage(msg);
}

void CToolBar::ShowPrompt(int index) {
  if (index == m_prompted) return;
  CStatusBar* status = StatusBarOf(this);
  if (!status) return;
  CString prompt = index >= 0 ? PromptOf(GetItemID(index)) : CString();
  int newline = prompt.Find('\n');
  if (newline >= 0) prompt = prompt.Left(newline);
  if (index >= 0 && prompt.IsEmpty()) index = -1;
  if (index == m_prompted) return;
  if (m_prompted < 0) m_restText = status->GetPaneText(0);
  status->SetPaneText(0, index >= 0 ? prompt : m_restText);
  m_prompted = index;
}

void CToolBar::CheckPointer() {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  CRect window;
  m_ctrl.GetWindowRect(&window);
  if (window.PtInRect(cursor)) return;
  KillTimer(kPointerTimer);
  if (m_tips.GetSafeHwnd()) m_tips.Pop();
  ShowPrompt(-1);
}

LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kPointerTimer) {
    CheckPointer();
    return 0;
  }
  return CControlBar::WindowProc(message, wParam, lParam);
}

BOOL CToolBar::LoadToolBar(UINT id) {
  platform::ResourceModule* module = platform::CurrentResourceModule();
  const auto* tmpl = module ? module->Find<platform::ToolBarTemplate>(id) : nullptr;
  if (!tmpl || !::IsWindow(m_ctrl.m_hWnd)) return FALSE;
  m_sizeButton = CSize(tmpl->width + 7, tmpl->height + 7);
  m_ctrl.SetBitmapSize(CSize(tmpl->width, tmpl->height));
  m_ctrl.SetButtonSize(m_sizeButton);
  int images = 0;
  for (UINT item : tmpl->items) images += item != ID_SEPARATOR ? 1 : 0;
  // A tool bar without its image strip still gets its buttons.
  m_bitmap.DeleteObject();
  if (m_bitmap.LoadBitmap(id)) m_ctrl.AddBitmap(images, &m_bitmap);
  return SetButtons(tmpl->items.data(), static_cast<int>(tmpl->items.size()));
}

BOOL CToolBar::SetButtons(const UINT* ids, int count) {
  if (count < 0 || !::IsWindow(m_ctrl.m_hWnd)) return FALSE;
  RemoveButtons();
  std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
  int image = 0;
  for (int i = 0; i < count; ++i) {
    TBBUTTON& button = buttons[static_cast<size_t>(i)];
    std::memset(&button, 0, sizeof button);
    UINT command = ids ? ids[i] : ID_SEPARATOR;
    button.idCommand = static_cast<int>(command);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = static_cast<BYTE>(command == ID_SEPARATOR ? TBSTYLE_SEP : TBSTYLE_BUTTON);
    button.iBitmap = command == ID_SEPARATOR ? 0 : image++;
  }
  if (count > 0 && !m_ctrl.AddButtons(count, buttons.data())) return FALSE;
  AddTips();
  return TRUE;
}

UINT CToolBar::GetItemID(int index) const {
  TBBUTTON button{};
  return m_ctrl.GetButton(index, &button) ? static_cast<UINT>(button.idCommand) : ID_SEPARATOR;
}

void CToolBar::GetItemRect(int index, LPRECT rect) const {
  if (!rect) return;
  if (!m_ctrl.GetItemRect(index, rect)) *rect = RECT{0, 0, 0, 0};
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
  CToolCmdUI state(m_ctrl);
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_ctrl.GetButtonCount());
  for (UINT index = 0; index < state.m_nIndexMax; ++index) {
    UINT command = GetItemID(static_cast<int>(index));
    if (command == ID_SEPARATOR) continue;
    state.m_nIndex = index;
    state.m_nID = command;
    state.DoUpdate(target, disableIfNoHandler);
  }
}

void CToolBar::OnBarResized(int cx, int cy) {
  if (::IsWindow(m_ctrl.m_hWnd)) m_ctrl.MoveWindow(0, 0, cx, cy);
}

BOOL CToolBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
    CWnd* owner = GetParent();
    while (owner && !dynamic_cast<CFrameWnd*>(owner)) owner = owner->GetParent();
    // Sent as a menu command would be: a command disabled meanwhile is dropped.
    if (owner) owner->SendMessage(WM_COMMAND, LOWORD(wParam), 0);
    return TRUE;
  }
  return CControlBar::OnCommand(wParam, lParam);
}

void CToolBar::RemoveButtons() {
  while (m_ctrl.GetButtonCount() > 0) m_ctrl.DeleteButton(m_ctrl.GetButtonCount() - 1);
}

namespace platform {

void AddToolBarResource(ResourceModule& module, UINT id, ToolBarTemplate toolBar) {
  module.Add<ToolBarTemplate>(id, std::move(toolBar));
}

}  // namespace platform
