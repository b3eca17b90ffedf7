// The tool bar: command buttons made from a tool bar resource or a list of ids.
#include "platform/controlbars.h"

#include <cstring>

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

}  // namespace

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
  if (!CreateBar(parent, style, id, false)) return FALSE;
  CRect client;
  GetClientRect(&client);
  if (!m_ctrl.Create(WS_CHILD | WS_VISIBLE, client, this, 1)) return FALSE;
  m_ctrl.SetButtonSize(m_sizeButton);
  return TRUE;
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
  return count == 0 || m_ctrl.AddButtons(count, buttons.data());
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
