// The main frame's lobby side: the waiting room in the frame's pane, the relays that hand it the
// server's messages, and the senders of its requests.

#include <cstdlib>
#include <vector>

#include <platform/msgbox.h>

#include "orvanta/app/MainFrame.h"
#include "orvanta/connection/SendCategory.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/ChatMacroDlg.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/NegotiationDlg.h"
#include "orvanta/lobby/NegotiationReplyDlg.h"
#include "orvanta/lobby/NegotiationTerms.h"
#include "orvanta/lobby/NoticeDlg.h"
#include "orvanta/lobby/OpenRoomDlg.h"
#include "orvanta/lobby/SeparatorFilter.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/lobby/TirvoMListView.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/GameRoom.h"

namespace {

const char kOperatorNoticeCaption[] = "운영자가 보낸 메시지";

// "|" a "|" b "|".
CString TwoFields(const CString& a, const CString& b) { return "|" + a + "|" + b + "|"; }

bool IsBlank(const CString& text) {
  CString trimmed = text;
  return trimmed.Trim().IsEmpty();
}

// The texts of a proposal's conditions, converted from a negotiation dialog's values: the
// colour choice as a rule number, handicap and komi by the condition, the time limit in seconds,
// the interval without its unit, and the colour word.
struct ProposalTexts {
  CString rule;
  CString handicap;
  CString komi;
  CString seconds;
  CString interval;
  CString colourWord;
};

ProposalTexts ConvertProposal(int colour, int condition, const CString& handicap, float komi,
                              const CString& timeLimit, const CString& interval) {
  ProposalTexts texts;
  texts.rule.Format("%d", colour + 1);
  texts.handicap = handicap;
  texts.komi.Format("%f", static_cast<double>(komi));
  if (condition == kConditionEven) {
    texts.handicap = "0";
  } else if (condition == kConditionBlack) {
    texts.handicap = "0";
    texts.komi = "0";
  }
  texts.seconds.Format("%d", TimeLimitSeconds(timeLimit));
  texts.interval.Format("%d", LeadingNumber(interval));
  texts.colourWord = condition != 0 ? "1" : "2";
  return texts;
}

// A seat of the room as the negotiation dialog lists it.
CNegotiationDlg::Seat RoomSeat(const CGameRoom& room, short colour) {
  const bool black = colour == 2;
  return {room.GetPaneText(black ? CGameRoom::kBlackName : CGameRoom::kWhiteName),
          room.GetPaneText(black ? CGameRoom::kBlackSecond : CGameRoom::kWhiteSecond), room.GetPlayerHost(colour),
          room.IsSeatTaken(colour)};
}

// The room's observers as the room view's list shows them.
std::vector<CNegotiationDlg::ObserverRow> RoomObserverRows(const CGameRoom& room) {
  std::vector<CNegotiationDlg::ObserverRow> rows;
  for (const CRoomMessages::Person& person : room.GetObservers())
    rows.push_back({person.id + "-" + person.fourth, person.host, person.id, person.third, person.fourth});
  return rows;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The waiting room and its record


namespace {

// Whether the room map can keep a record under number. -1 (no room) is 65535 to the map, where no
// room is kept; a larger number would wrap onto another room's record.
bool IsRoomRecordNumber(int number) { return number >= 0 && number < 0xFFFF; }

}  // namespace

void CMainFrame::RememberWaitingRoom(int number, const CString& key, const CString& name) {
  CString numberText;
  numberText.Format("%d", number);
  RememberWaitingRoom(number, numberText, key, name);
}

void CMainFrame::RememberWaitingRoom(int number, const CString& kind, const CString& key, const CString& name) {
  KeepRoomRecord(number, kind, key, name);
  m_nCurrentWaitRoom = number;
}

void CMainFrame::KeepRoomRecord(int number, const CString& kind, const CString& key, const CString& name) {
  if (!IsRoomRecordNumber(number))
    return;
  const WORD slot = static_cast<WORD>(number);
  CObject* old = nullptr;
  if (m_pRoomMap->Lookup(slot, old))
    delete old;
  m_pRoomMap->SetAt(slot, new CWaitingRoomRec(kind, key, name));
}

CWaitingRoomRec* CMainFrame::FindRoomRecord(int number) const {
  if (!IsRoomRecordNumber(number))
    return nullptr;
  CObject* found = nullptr;
  return m_pRoomMap->Lookup(static_cast<WORD>(number), found) ? dynamic_cast<CWaitingRoomRec*>(found) : nullptr;
}

int CMainFrame::FindRoomNumberByKey(const CString& key) const {
  POSITION position = m_pRoomMap->GetStartPosition();
  while (position && !key.IsEmpty()) {
    WORD number = 0;
    CObject* found = nullptr;
    m_pRoomMap->GetNextAssoc(position, number, found);
    if (const auto* record = dynamic_cast<const CWaitingRoomRec*>(found); record && record->m_strKey == key)
      return number;
  }
  return -1;
}

void CMainFrame::ClearRoomRecords() { DeleteRoomRecords(*m_pRoomMap); }

void CMainFrame::DeleteRoomRecords(CMapWordToOb& map) {
  POSITION position = map.GetStartPosition();
  while (position) {
    WORD number = 0;
    CObject* record = nullptr;
    map.GetNextAssoc(position, number, record);
    delete record;
  }
  map.RemoveAll();
}

CWaitingRoomRec* CMainFrame::GetCurrentWaitingRoomRec() const { return FindRoomRecord(m_nCurrentWaitRoom); }

CString CMainFrame::GetWaitingRoomKey() const {
  // A forum's own waiting room is named by the forum's target, whatever record the number has.
  if (m_bForumRoom)
    return m_strForumTarget;
  const CWaitingRoomRec* record = GetCurrentWaitingRoomRec();
  return record ? record->m_strKey : CString();
}

std::array<CString, 8> CMainFrame::GetChatPhrases() const {
  std::array<CString, 8> phrases;
  for (std::size_t i = 0; i < phrases.size() && i < m_chatMacros.size(); ++i) phrases[i] = m_chatMacros[i];
  return phrases;
}

void CMainFrame::UpdateTitle() {
  m_bWaitRoomLeft = FALSE;
  // The waiting room the start screen asked for is entered: it gets its record (named to the
  // server by the title the start screen sent) and its screen.
  if (!GetCurrentWaitingRoomRec())
    RememberWaitingRoom(m_nCurrentWaitRoom, CString(), m_strCurrentRoomTitle, m_strCurrentRoomTitle);
  const CWaitingRoomRec* record = GetCurrentWaitingRoomRec();
  // The room's kind picks the category of the room requests made from it; a teaching-room
  // waiting room keeps the kind of the room the user came from, and so does any waiting room
  // looked into while the user still sits in a game room, whose requests go on as it was joined.
  if (record && record->m_strNumber != "3" && !m_bInRoom)
    m_strWaitRoomNumberText = record->m_strNumber;
  SwitchView(kWaitingRoomView);
  if (m_hWnd && record)
    SetWindowText("Orvanta 1.5(" + record->m_strName + ")");
}

void CMainFrame::OnWaitingRoomShown() {
  m_pWaitingRoomView = dynamic_cast<CTirvoDListView*>(GetContentView());
  if (!m_pWaitingRoomView)
    return;
  m_pWaitingRoomView->SetHost(this);
  m_pWaitingRoomView->RecalcLayout();
}

void CMainFrame::OnWaitingRoomLeaving() {
  CTirvoDListView* view = m_pWaitingRoomView;
  m_pWaitingRoomView = nullptr;
  // Whatever became of an opening request, the room it opened is not waited for any more once
  // the waiting room goes: a later open must not be refused as still pending.
  m_bOpeningRoom = FALSE;
  // The view goes with the switch; its column widths stay for the next one.
  if (view)
    view->SaveColumnWidths();
}

// ---------------------------------------------------------------------------------------------
// Relays

void CMainFrame::OnWaitingRoomList(CFieldTokenizer& payload) {
  m_waitingRooms.Load(payload.GetText());
  SetStatusText("Select waiting room.");
}

void CMainFrame::OnWaitRoomUsers(CFieldTokenizer& payload) {
  if (m_pWaitingRoomView)
    m_pWaitingRoomView->OnUserList(payload.GetText());
  // In the game room the list answers the invite command: the room's invitation window shows it.
  else if (CDagukRoomView* room = IsGameRoomActive() ? dynamic_cast<CDagukRoomView*>(GetContentView()) : nullptr)
    room->ShowInviteDlg(payload.GetText());
}

void CMainFrame::OnWaitRoomChat(CFieldTokenizer& payload) {
  if (m_pWaitingRoomView)
    m_pWaitingRoomView->AddChatLine(payload.GetText());
}

void CMainFrame::OnWaitingRoomUserChange(CFieldTokenizer& payload) {
  if (m_pWaitingRoomView)
    m_pWaitingRoomView->OnUserChange(payload.GetText());
}

void CMainFrame::OnWaitingRoomRoomChange(CFieldTokenizer& payload) {
  if (m_pWaitingRoomView)
    m_pWaitingRoomView->OnRoomChange(payload.GetText());
}

void CMainFrame::OnRoomLists(CFieldTokenizer& payload) {
  const CWaitingRoomRec* record = GetCurrentWaitingRoomRec();
  // Waiting rooms of kind 3 and 4 hold teaching rooms, which have their own list screen.
  if (record && (record->m_strNumber == "3" || record->m_strNumber == "4")) {
    if (m_pLoginRecord) {
      m_pLoginRecord->m_strRoomText6 = record->m_strKey;
      m_pLoginRecord->m_strRoomText7 = record->m_strNumber;
    }
    SwitchView(kTeachingListView);
    if (CTirvoMListView* view = GetProRoomListView())
      view->OnRoomList(payload.GetText());
  } else if (m_pWaitingRoomView) {
    m_pWaitingRoomView->OnRoomList(payload.GetText());
  }
  EndWaitCapture();
}

void CMainFrame::OnNegotiationRefused(CFieldTokenizer& payload) {
  if (m_pWaitingRoomView)
    m_pWaitingRoomView->OnNegotiationAnswer(payload.GetText());
}

void CMainFrame::OnNegotiationRequest(CFieldTokenizer& payload) {
  if (m_pWaitingRoomView)
    m_pWaitingRoomView->OpenNegotiation(payload.GetText());
}

void CMainFrame::OnNegotiationAgreed(CFieldTokenizer& payload) {
  if (!m_pWaitingRoomView)
    return;
  m_pWaitingRoomView->OnMatchAgreed(payload.GetText());
  SwitchView(kGameRoomView);
  UpdateButtonsForEvent(310, payload.GetText());
}

void CMainFrame::CloseNegotiationWindow() {
  if (m_pWaitingRoomView)
    m_pWaitingRoomView->CloseNegotiation();
}

void CMainFrame::OnOperatorNotice(CFieldTokenizer& payload) {
  if (payload.GetCount() < 1)
    return;
  CNoticeDlg dialog(this, payload.GetField(4), Cp949(kOperatorNoticeCaption), 0);
  dialog.DoModal();
}

BOOL CMainFrame::RunChatMacroDialog(CSettingFiles::ChatMacros& macros) {
  CChatMacroDlg dialog(this);
  for (std::size_t i = 0; i < dialog.m_macros.size() && i < macros.size(); ++i) dialog.m_macros[i] = macros[i];
  if (dialog.DoModal() != IDOK)
    return FALSE;
  for (std::size_t i = 0; i < dialog.m_macros.size() && i < macros.size(); ++i) macros[i] = dialog.m_macros[i];
  return TRUE;
}

// RunSearchUserDialog: MainFrameCommunity.cpp.

// ---------------------------------------------------------------------------------------------
// Senders

void CMainFrame::SendChatLine(const CString& payload) {
  CFieldTokenizer fields(payload);
  if (IsBlank(fields.GetField(fields.GetCount() - 1)))
    return;
  const CString role = m_pLoginRecord ? m_pLoginRecord->m_strRole : CString();
  if (m_nActiveViewId == kWaitingRoomView && !m_bWaitRoomLeft)
    QueueRequest(GetSendCategory(0, role), 4, payload, "1");
  else if (m_nActiveViewId == kGameRoomView && MaySendRoomRequest())
    QueueRequest(GetSendCategory(1, role), 6, payload, "1");
}

// The role picks the major of a waiting-room request. Without a record of the current waiting
// room the request names the room by the frame's current-room text and takes major 3, as a
// forum's own waiting room always does.
BOOL CMainFrame::QueueWaitRoomRequest(int minor, const CString& extra) {
  const CString role = m_pLoginRecord ? m_pLoginRecord->m_strRole : CString();
  const bool recorded = GetCurrentWaitingRoomRec() != nullptr;
  const int major = recorded && !m_bForumRoom ? GetSendCategory(0, role) : 3;
  return QueueRequest(major, minor, "|" + GetCurrentRoomName() + "|" + extra, "1");
}

CString CMainFrame::GetCurrentRoomName() const {
  return GetCurrentWaitingRoomRec() || m_bForumRoom ? GetWaitingRoomKey() : m_strCurrentRoomTitle;
}

void CMainFrame::SendWaitRoomEnter() { QueueWaitRoomRequest(1, CString()); }

void CMainFrame::SendWaitRoomLeave() {
  QueueWaitRoomRequest(2, CString());
  m_bWaitRoomLeft = TRUE;
}

void CMainFrame::SendGameListRequest() {
  const CString role = m_pLoginRecord ? m_pLoginRecord->m_strRole : CString();
  QueueRequest(GetSendCategory(1, role), 1, "|" + GetCurrentRoomName() + "|50|", "1");
}

void CMainFrame::SendWaitRoomQuery(const CString& kind) {
  if (IsShownWaitingRoomLeft()) return;
  if (QueueWaitRoomRequest(3, RemoveSeparators(kind) + "|"))
    FlushRequests();
}

// The category of a room request follows the waiting room's number text; without a record of
// the current waiting room, the one the last room was joined from still names it.
short CMainFrame::GetWaitRoomCategory() const {
  const CWaitingRoomRec* record = GetCurrentWaitingRoomRec();
  return GetSendCategory(1, record ? record->m_strNumber : m_strWaitRoomNumberText);
}

void CMainFrame::SendJoinRoom(const CString& room, const CString& password) {
  const CWaitingRoomRec* record = GetCurrentWaitingRoomRec();
  const bool current = record || m_bForumRoom;
  const CString key = current ? GetWaitingRoomKey() : m_strWaitRoomKey;
  const CString roomField = RemoveSeparators(room);
  QueueRequest(GetWaitRoomCategory(), 3, "|" + key + "|" + roomField + "|" + RemoveSeparators(password) + "|", "1");
  // The room's own requests name the room joined and the waiting room it was joined from.
  if (current) {
    m_nHomeWaitRoom = m_nCurrentWaitRoom;
    SetWaitingRoomKey(record ? record->m_strNumber : CString(), key);
  }
  if (m_pLoginRecord)
    m_pLoginRecord->m_strRoomText5 = roomField;
}

void CMainFrame::SendOpenRoom(const CString& privateFlag, const CString& title, const CString& password) {
  QueueRequest(GetWaitRoomCategory(), 2,
               "|" + GetWaitingRoomKey() + "|" + privateFlag + "|" + RemoveSeparators(title) + "|" +
                   RemoveSeparators(password) + "|",
               "1");
}

void CMainFrame::OnOpenRoom() {
  if (m_bOpeningRoom) {
    AfxMessageBox("Opening new game room.\n Please wait a moment.");
    return;
  }
  COpenRoomDlg dialog(this);
  const CWaitingRoomRec* waitingRoom = GetCurrentWaitingRoomRec();
  if (dialog.DoModal() != IDOK)
    return;
  // A room is opened in the waiting room the dialog was asked from: one the user was taken out
  // of meanwhile (into a game room, to another screen) opens none.
  if (m_nActiveViewId != kWaitingRoomView || m_bWaitRoomLeft || m_bInRoom || GetCurrentWaitingRoomRec() != waitingRoom)
    return;
  m_bOpeningRoom = TRUE;
  const CString privateFlag = dialog.m_nVisibility == 1 ? "1" : "0";
  const CString title = RemoveSeparators(dialog.m_strTitle);
  const CString password = RemoveSeparators(dialog.m_strPassword);
  if (m_pLoginRecord)
    m_pLoginRecord->SetEntry(title, password, "Wait", privateFlag);
  SendOpenRoom(privateFlag, title, password);
  FlushRequests();
  BeginWaitCapture();
}

void CMainFrame::ClearRoomEntryFlag() {
  m_bRoomEntry = FALSE;
  m_bOpeningRoom = FALSE;
}

void CMainFrame::SendUserSearch(const CString& a, const CString& b) { QueueRequest(1, 4, TwoFields(a, b), "1"); }

void CMainFrame::SendUserMessage(const CString& a, const CString& b, const CString& c) {
  QueueRequest(1, 5, "|" + a + "|" + b + "|" + c + "|", "1");
}

void CMainFrame::RequestUserInfo(const CString& number, const CString& id) {
  QueueRequest(10, 3, TwoFields(number, id), "1");
}

void CMainFrame::SendMail(const CString& number, const CString& id) {
  if (QueueRequest(1, 9, TwoFields(number, id), "1"))
    FlushRequests();
}

void CMainFrame::SendMemo(const CString& receiver, const CString& text) {
  if (QueueRequest(1, 14, TwoFields(RemoveSeparators(receiver), RemoveSeparators(text)), "1"))
    FlushRequests();
}

void CMainFrame::SendWaitingRoomRequest119(const CString& number, const CString& id) {
  if (m_nActiveViewId == kWaitingRoomView && QueueRequest(1, 19, TwoFields(number, id), "1"))
    FlushRequests();
}

void CMainFrame::SendWaitingRoomRequest38(const CString& payload) {
  if (m_nActiveViewId == kWaitingRoomView && QueueRequest(3, 8, payload, "1"))
    FlushRequests();
}

void CMainFrame::SendWaitingRoomRequest57(const CString& payload) {
  if (QueueRequest(5, 7, payload, "1"))
    FlushRequests();
}

// ---------------------------------------------------------------------------------------------
// The answering side of a negotiation

void CMainFrame::OnNegotiationProposal(CFieldTokenizer& payload) {
  CString counterPayload;
  const INT_PTR result = RunNegotiationReplyDialog(payload.GetText(), counterPayload);
  SendNegotiationAnswer(payload.GetText(), result, counterPayload);
}

INT_PTR CMainFrame::RunNegotiationReplyDialog(const CString& proposal, CString& counterPayload) {
  const CString ownNumber = m_pLoginRecord ? m_pLoginRecord->m_strRole : CString();
  const CString ownId = m_pLoginRecord ? m_pLoginRecord->m_strId : CString();
  CNegotiationReplyDlg dialog(proposal, ownNumber, ownId);
  const INT_PTR result = dialog.DoModal();
  if (result != CNegotiationReplyDlg::kRenegoResult)
    return result;
  // The conditions go back in the form of a proposal.
  const ProposalTexts texts = ConvertProposal(dialog.m_nOpponentColour, dialog.m_nCondition, dialog.m_strHandicap,
                                              dialog.m_fKomi, dialog.m_strTimeLimit, dialog.m_strInterval);
  const CString fields[] = {texts.handicap, texts.komi,  texts.seconds,   texts.interval,
                            dialog.m_strCountDown, texts.rule, texts.colourWord};
  for (const CString& field : fields) counterPayload += RemoveSeparators(field) + "|";
  return result;
}

void CMainFrame::SendNegotiationAnswer(const CString& proposal, INT_PTR result, const CString& counterPayload) {
  CFieldTokenizer fields(proposal);
  const CString head = "|" + fields.GetField(0) + "|" + fields.GetField(1) + "|";
  // Like every room request, the answer's category follows the waiting room, not the user's role.
  const short major = GetWaitRoomCategory();
  BOOL queued = FALSE;
  if (result == CNegotiationReplyDlg::kRenegoResult)
    queued = QueueRequest(major, 13, head + "2|" + counterPayload, "1");
  else
    queued = QueueRequest(major, 13, head + (result == IDOK ? "1|" : "0|"), "2");
  if (queued)
    FlushRequests();
}

// ---------------------------------------------------------------------------------------------
// The proposing side: conditions put to an opponent of the game room

void CMainFrame::RetryNegotiation() { OnPlayNegotiation(); }

void CMainFrame::OnPlayNegotiation() {
  CGameRoom* room = ShownRoom();
  if (!room)
    return;
  if (room->GetObservers().size() >= 2) {
    AfxMessageBox("In negotiating");
    return;
  }
  m_bNegotiationPending = FALSE;
  // The opponent sits in the seat that is not the user's, or is the room's one other person.
  CString opponent;
  for (const int pane : {CGameRoom::kBlackName, CGameRoom::kWhiteName}) {
    const CString name = room->GetPaneText(pane);
    if (!name.IsEmpty() && name != m_strUserId)
      opponent = name;
  }
  if (opponent.IsEmpty() && room->GetObservers().size() == 1 && room->GetObservers().front().id != m_strUserId)
    opponent = room->GetObservers().front().id;
  if (opponent.IsEmpty()) {
    AfxMessageBox("No opponent found");
    return;
  }
  // The opponent and the conditions are chosen in the game room's negotiation dialog.
  CNegotiationDlg dialog;
  dialog.SetRoom(RoomSeat(*room, 2), RoomSeat(*room, 4), RoomObserverRows(*room), m_strUserId);
  const std::weak_ptr<int> life = room->Life();
  // Conditions put for a room the user was taken out of meanwhile are put to nobody.
  if (dialog.DoModal() != IDOK || CGameRoom::Gone(life) || ShownRoom() != room)
    return;
  const ProposalTexts texts = ConvertProposal(dialog.m_nColour, dialog.m_nCondition, dialog.m_strHandicap,
                                              dialog.m_fKomi, dialog.m_strTimeLimit, dialog.m_strInterval);
  const CString fields[] = {dialog.m_strOpponentId, dialog.m_strOpponentNumber, texts.rule,
                            texts.handicap,         texts.komi,                  texts.seconds,
                            texts.interval,         dialog.m_strCountDown,       texts.colourWord};
  CString conditions;
  for (const CString& field : fields) conditions += RemoveSeparators(field) + "|";
  SendNegotiationProposal(conditions);
  FlushRequests();
}

void CMainFrame::SendNegotiationProposal(const CString& conditions) {
  if (!MaySendRoomRequest()) return;
  QueueRequest(GetRoomCategory(), 12, GetRoomPrefix() + conditions, "1");
}
