#include "platform/cmdtarget.h"

#include "platform/menus.h"
#include "platform/windows.h"

namespace {

bool Matches(const AFX_MSGMAP_ENTRY& e, UINT message, int nCode, UINT nID) {
  if (e.pnMessage) return *e.pnMessage == message && message != 0;
  return e.nMessage == message && e.nCode == nCode && nID >= e.nID && nID <= e.nLastID;
}

// Splits an OnCmdMsg code into the map's message and notification code.
void DecodeCommand(int nCode, UINT* message, int* code) {
  if ((static_cast<UINT>(nCode) >> 16) == WM_NOTIFY) {
    *message = WM_NOTIFY;
    *code = static_cast<SHORT>(LOWORD(static_cast<UINT>(nCode)));
  } else {
    *message = WM_COMMAND;
    *code = nCode;
  }
}

}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, int nCode, UINT nID) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (Matches(*e, message, nCode, nID)) return e;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT message = 0;
  int code = 0;
  DecodeCommand(nCode, &message, &code);
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, code, nID);
  if (!entry) return FALSE;
  if (pHandlerInfo) {
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pfn = entry->pfn;
    return TRUE;
  }
  AfxCall call;
  call.message = message;
  call.nID = nID;
  call.nCode = code;
  call.pExtra = pExtra;
  if (nCode == CN_UPDATE_COMMAND_UI) {
    auto* cmdUI = static_cast<CCmdUI*>(pExtra);
    cmdUI->m_bContinueRouting = FALSE;
    entry->pfn(this, call);
    return cmdUI->m_bContinueRouting ? FALSE : TRUE;
  }
  // The handler may destroy this object: only the local call record is read afterwards.
  entry->pfn(this, call);
  return call.handled;
}

void CCmdUI::Enable(BOOL on) {
  if (m_pMenu) m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
  if (m_pOther) m_pOther->EnableWindow(on);
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check) {
  constexpr UINT kButtonSetCheck = 0x00F1;
  if (m_pMenu) m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
  if (m_pOther) m_pOther->SendMessage(kButtonSetCheck, static_cast<WPARAM>(check), 0);
}

void CCmdUI::SetRadio(BOOL on) { SetCheck(on ? 1 : 0); }

void CCmdUI::SetText(LPCTSTR text) {
  if (m_pMenu) {
    UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
  }
  if (!m_pOther) return;
  CString current;
  m_pOther->GetWindowText(current);
  // Setting the same text again would only make the control flicker.
  if (current != CString(text ? text : "")) m_pOther->SetWindowText(text);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
  if (!target || m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators and unset ids
  m_bEnableChanged = FALSE;
  BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (disableIfNoHandler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info;
    if (!target->OnCmdMsg(m_nID, CN_COMMAND, this, &info)) Enable(FALSE);
  }
  return handled;
}

namespace platform {

void CmdUIProbe::Enable(BOOL on) {
  enabled = on != FALSE;
  enableSet = true;
  m_bEnableChanged = TRUE;
}

void CmdUIProbe::SetCheck(int value) {
  check = value;
  checkSet = true;
}

void CmdUIProbe::SetRadio(BOOL on) { SetCheck(on ? 1 : 0); }

void CmdUIProbe::SetText(LPCTSTR value) {
  text = value ? value : "";
  textSet = true;
}

CmdUIProbe QueryCommandState(CCmdTarget* target, UINT id, bool disableIfNoHandler) {
  CmdUIProbe probe(id);
  probe.DoUpdate(target, disableIfNoHandler ? TRUE : FALSE);
  return probe;
}

}  // namespace platform
