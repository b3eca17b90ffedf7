// The main menu pane's buttons after server events and their layout per screen, and the view map.

#include "orvanta/app/MainFrame.h"

#include "orvanta/app/MenuButtonLayout.h"
#include "orvanta/app/ScreenFlags.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/app/ViewTable.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/widgets/MainMenu.h"

CButtonEventSituation CMainFrame::GetButtonEventSituation() const {
  CButtonEventSituation situation;
  situation.activeView = m_nActiveViewId;
  situation.roomState = m_wRoomState;
  situation.screenFlags = GetScreenFlags();
  situation.connected = m_bConnected;
  situation.inRoomFlag = m_bInRoom;
  situation.roomOwner = m_bRoomOwner;
  situation.userId = m_strUserId;
  if (m_pLoginRecord)
    situation.loginRole = m_pLoginRecord->m_strRole;
  if (const CGameRoom* room = ShownRoom()) {
    situation.roomState = room->GetRoomState();
    situation.phase = room->GetSubStatus();
    situation.blackName = room->GetPaneText(CGameRoom::kBlackName);
    situation.whiteName = room->GetPaneText(CGameRoom::kWhiteName);
  }
  return situation;
}

void CMainFrame::UpdateButtonsForEvent(int code, const CString& payload) {
  CMainMenu* menu = GetMainMenu();
  if (!menu)
    return;
  const CButtonEventSituation situation = GetButtonEventSituation();
  const CButtonEventOutcome outcome = CButtonEventRules(*menu, situation).Apply(code, payload);
  if (outcome.relayout)
    menu->ShowButtonsForView(m_nActiveViewId);
  CGameRoom* room = ShownRoom();
  if (!room)
    return;
  if (outcome.phase >= 0)
    room->SetSubStatus(outcome.phase);
  if (outcome.hasStatusLine)
    room->ShowNotice(outcome.statusLine);
}

int CMainFrame::GetMenuMode() const {
  const CViewTableEntry* entry = FindViewEntry(m_nActiveViewId);
  return entry ? entry->m_nMenuMode : 0;
}

void CMainFrame::ArrangeMenuButtons(int mode) {
  if (CMainMenu* menu = GetMainMenu())
    CMenuButtonLayout::Arrange(mode, menu->GetRows(), *menu);
}

void CMainFrame::DisableCommandButtons(BOOL withLeave) {
  CMainMenu* menu = GetMainMenu();
  if (!menu)
    return;
  for (UINT id : {MenuButton::kWaitingRoomList, MenuButton::kRecordView, MenuButton::kRankView, MenuButton::kGameRoom})
    menu->EnableButton(id, FALSE);
  if (withLeave)
    menu->EnableButton(MenuButton::kLeave, FALSE);
}

void CMainFrame::RegisterContentView(UINT viewId) {
  // A view replaced in the pane is destroyed: its entry must not outlive it.
  m_viewMap.clear();
  if (CView* view = GetContentView())
    m_viewMap[viewId] = view;
}

CView* CMainFrame::FindRegisteredView(UINT viewId) const {
  const auto found = m_viewMap.find(viewId);
  return found != m_viewMap.end() ? found->second : nullptr;
}
