// The frame's community: the memo box and the messages between users, the sibling programs, the
// forced upgrade, web pages and mail.

#include <algorithm>
#include <cstdlib>

#include <platform/msgbox.h>
#include <platform/process.h>
#include <platform/shell.h>

#include "orvanta/app/CommandLineText.h"
#include "orvanta/app/FrameReviewHost.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/ContinuePlayDlg.h"
#include "orvanta/lobby/InvitationDlg.h"
#include "orvanta/lobby/OptionsDlg.h"
#include "orvanta/lobby/RankSelectDlg.h"
#include "orvanta/lobby/SearchGiboDlg.h"
#include "orvanta/lobby/SearchRoomDlg.h"
#include "orvanta/lobby/SearchUserDlg.h"
#include "orvanta/lobby/UserInfoListDlg.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/lobby/MemoBoxDlg.h"
#include "orvanta/lobby/ReceivedMessageDlg.h"
#include "orvanta/lobby/SendMemoDlg.h"
#include "orvanta/lobby/SendMessageDlg.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/lobby/TirvoMListView.h"
#include "orvanta/lobby/TirvoRankView.h"
#include "orvanta/lobby/UserRecordDlg.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/GameReviewDlg.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/room/GiboRecord.h"

namespace {

const char kNotFound[] = " Unable to find execution file.\nReinstall.";
const char kNotFoundService[] = " Unable to find execution file.\nReinstall";
const char kManagerAddress[] = "manager@pellomar.example";

// A received text as an edit box shows it: no ESC or TAB, every LF as CR LF.
CString ShownMessageText(const CString& text) {
  CString shown;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char ch = text[i];
    if (ch == 27 || ch == 9)
      continue;
    if (ch == '\n')
      shown += '\r';
    shown += ch;
  }
  return shown;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Memo box

void CMainFrame::CreateMemoBox() {
  if (m_pMemoBox) {
    m_pMemoBox->SaveMemos();
    if (m_pMemoBox->m_hWnd)
      m_pMemoBox->DestroyWindow();
    m_pMemoBox.reset();
  }
  auto box = std::make_unique<CMemoBoxDlg>(this);
  if (!box->CreateHidden(this))
    return;
  box->SetMemoSender([this](const CString& receiver, const CString& text) { SendMemo(receiver, text); });
  m_pMemoBox = std::move(box);
}

void CMainFrame::SaveMemoBox() {
  if (m_pMemoBox)
    m_pMemoBox->SaveMemos();
}

void CMainFrame::OnMemoCount(CFieldTokenizer& payload) { OnMemoList(payload); }

void CMainFrame::OnMemoList(CFieldTokenizer& payload) {
  // The box a person opened stays open through the list it asked for, new memos or none.
  const BOOL wasShown = m_pMemoBox && m_pMemoBox->m_hWnd && m_pMemoBox->IsWindowVisible();
  CreateMemoBox();
  if (!m_pMemoBox)
    return;
  // A count, then date, id, name and contents of every memo; the count never reaches past the
  // fields present.
  const int present = (payload.GetCount() - 1) / 4;
  const int count = std::min(std::max(0, std::atoi(payload.NextField())), std::max(0, present));
  for (int i = 0; i < count; ++i) {
    const CString date = payload.NextField();
    const CString id = payload.NextField();
    const CString name = payload.NextField();
    const CString contents = payload.NextField();
    m_pMemoBox->AddMemo(date, id, name, contents);
  }
  m_pMemoBox->SelectNewest();
  CString question;
  question.Format("You have %d memos. \n\tDo you wish to check?", count);
  if (Ask(question, "Confirm", MB_YESNO) == IDYES || wasShown) {
    m_pMemoBox->ShowWindow(SW_SHOW);
    m_pMemoBox->BringWindowToTop();
  }
}

void CMainFrame::OnMemoBox() {
  if (!m_pMemoBox)
    CreateMemoBox();
  RequestMemoList();
  if (m_pMemoBox) {
    m_pMemoBox->ShowWindow(SW_SHOW);
    m_pMemoBox->BringWindowToTop();
  }
}

void CMainFrame::OnSendMemo() {
  CSendMessageDlg dialog(this);
  if (dialog.DoModal() == IDOK)
    SendMemo(dialog.m_strReceiver, dialog.m_strText);
}

void CMainFrame::OnUserMessage(CFieldTokenizer& payload) {
  if (payload.GetCount() < 1)
    return;
  const CString number = payload.GetField(0);
  const CString sender = payload.GetField(1);
  CReceivedMessageDlg dialog(this, sender + Cp949("님이 보낸 메시지"), ShownMessageText(payload.GetField(4)));
  if (dialog.DoModal() != IDOK)
    return;
  SendUserMessage(number, sender, RemoveSeparators(dialog.m_strAnswer));
  FlushRequests();
}

BOOL CMainFrame::RunSendMemoDialog(const CString& number, const CString& id, CString& recipient, CString& text) {
  CSendMemoDlg dialog(number, id, this);
  const int own = m_pLoginRecord ? std::atoi(m_pLoginRecord->m_strRole) : -1;
  dialog.SetWaitingRooms(&m_waitingRooms, own);
  if (dialog.DoModal() != IDOK)
    return FALSE;
  recipient = dialog.m_strUserId;
  text = dialog.m_strMessage;
  return TRUE;
}

void CMainFrame::OnSendMessage() {
  CString recipient;
  CString text;
  CSendMemoDlg dialog(CString(), CString(), this);
  const int own = m_pLoginRecord ? std::atoi(m_pLoginRecord->m_strRole) : -1;
  dialog.SetWaitingRooms(&m_waitingRooms, own);
  if (dialog.DoModal() != IDOK)
    return;
  SendUserMessage(dialog.m_strNumber, RemoveSeparators(dialog.m_strUserId), RemoveSeparators(dialog.m_strMessage));
  FlushRequests();
}

// ---------------------------------------------------------------------------------------------
// Sibling programs, the upgrade, pages and mail

BOOL CMainFrame::StartProgram(const CString& line) {
  STARTUPINFO startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  CString command = line;
  if (!::CreateProcess(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return FALSE;
  ::CloseHandle(info.hProcess);
  return TRUE;
}

void CMainFrame::StartSibling(const char* className, const char* title, const char* commandLine,
                              const char* failure) {
  if (HWND running = ::FindWindow(className, title)) {
    ::BringWindowToTop(running);
  } else if (!StartProgram(commandLine)) {
    Ask(failure, "", MB_OK);
    return;
  }
  ShowWindow(SW_MINIMIZE);
}

void CMainFrame::OnLiveRelay() { StartSibling("Vornel", nullptr, "./Vornel.exe", kNotFound); }

void CMainFrame::OnService() { StartSibling("Kelvra", nullptr, "./Kelvra.exe", kNotFoundService); }

void CMainFrame::OnRegister() {
  StartSibling(nullptr, Cp949("이용자 등록 및 갱신"), "./User.exe", kNotFound);
}

void CMainFrame::StartUpgrade(CFieldTokenizer& payload) {
  // The forced upgrade closes the program without its question.
  m_bQuietClose = TRUE;
  CString fields;
  fields.Format("|%s|%s|", payload.GetField(1).GetString(), payload.GetField(2).GetString());
  // The server's text reaches the downloader as one argument, however many blanks it holds.
  RunCommandLine("DownLoad.exe -s " + QuoteArgument(fields));
  PostMessage(WM_CLOSE);
}

void CMainFrame::OnHelpFinder() { OpenWebPage("/help/ds/index.htm"); }

void CMainFrame::OnNewcomer() { OpenWebPage("/help/ds/intro.htm"); }

void CMainFrame::OnHomePage() { OpenWebPage(""); }

void CMainFrame::OpenMail(const CString& address) { OpenWithDesktop("mailto:" + address, TRUE); }

void CMainFrame::OpenWithDesktop(const CString& address, BOOL mail) {
  if (mail) {
    ::ShellExecute(nullptr, "Open", address, nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.hwnd = m_hWnd;
  info.lpVerb = "Open";
  info.lpFile = address;
  info.lpParameters = "";
  info.lpDirectory = "";
  info.nShow = SW_SHOWNORMAL;
  ::ShellExecuteEx(&info);
}

void CMainFrame::OnMailToManager() { OpenMail(kManagerAddress); }

void CMainFrame::OnMailTo(CFieldTokenizer& payload) { OpenMail(payload.GetField(0)); }

void CMainFrame::OnHelp() { Ask("The function is not available.", "", MB_OK); }

// ---------------------------------------------------------------------------------------------
// The record list

CTirvoGiboView* CMainFrame::GetRecordListView() const {
  return m_nActiveViewId == kRecordListView ? dynamic_cast<CTirvoGiboView*>(GetContentView()) : nullptr;
}

void CMainFrame::RequestRecordList(const CString& key, const CString& query) {
  const BOOL queued = query.IsEmpty() ? QueueRequest(6, 1, "|" + key + "|50|", "1")
                                      : QueueRequest(6, 2, "|" + key + "|50" + query, "1");
  if (queued)
    FlushRequests();
}

void CMainFrame::RequestRecordPage(const CString& number) {
  if (!QueueRequest(6, 3, "|" + number + "|", "1"))
    return;
  BeginWaitCapture();
  FlushRequests();
}

void CMainFrame::SearchRecords(const CString& query) {
  SwitchView(kRecordListView);
  if (CTirvoGiboView* view = GetRecordListView())
    view->StartSearch(query);
}

void CMainFrame::ShowRecordForReview(const CGiboRecord& record) {
  CGameReviewDlg dialog(record, this);
  CFrameReviewHost host(*this);
  dialog.SetHost(&host);
  dialog.DoModal();
}

void CMainFrame::OnRecordListPage(CFieldTokenizer& payload) {
  // The record list is a screen of its own: a forum left for it is left for good.
  ForgetForum();
  SwitchView(kRecordListView);
  SetWindowText("record review room");
  CTirvoGiboView* view = GetRecordListView();
  if (std::atoi(payload.GetField(0)) == 0) {
    if (view)
      view->ClearRequestPending();
    EndWaitCapture();
    Ask("It is last.", "", MB_OK);
    return;
  }
  if (view)
    view->OnRecordListPage(payload.GetText());
  EndWaitCapture();
}

void CMainFrame::OnRecordSearchResult(CFieldTokenizer& payload) {
  if (IsGameRoomActive()) {
    if (CGameRoom* room = ShownRoom())
      room->ChooseStoredGame(payload.GetText());
  } else if (CTirvoGiboView* view = GetRecordListView())
    view->OnRecordSearchResult(payload.GetText());
  EndWaitCapture();
}

void CMainFrame::OnRecordText(CFieldTokenizer& payload) {
  if (CTirvoGiboView* view = GetRecordListView())
    view->OpenReceivedRecord(payload.GetText());
  EndWaitCapture();
}

// ---------------------------------------------------------------------------------------------
// The ranking and the pro-room list

CTirvoRankView* CMainFrame::GetRankView() const {
  return m_nActiveViewId == kRankView ? dynamic_cast<CTirvoRankView*>(GetContentView()) : nullptr;
}

CTirvoMListView* CMainFrame::GetProRoomListView() const {
  return m_nActiveViewId == kTeachingListView ? dynamic_cast<CTirvoMListView*>(GetContentView()) : nullptr;
}

void CMainFrame::RequestRankPage(const CString& key, const CString& query) {
  const BOOL queued = query.IsEmpty() ? QueueRequest(10, 1, "|" + key + "|50" + m_strRankFilter, "1")
                                      : QueueRequest(10, 2, "|" + key + "|50" + m_strRankFilter + query, "1");
  if (!queued)
    return;
  BeginWaitCapture();
  FlushRequests();
}

void CMainFrame::SendRankQuery(const CString& payload) {
  if (QueueRequest(10, 4, payload, "1"))
    FlushRequests();
}

void CMainFrame::OnRankList(CFieldTokenizer& payload) {
  if (std::atoi(payload.GetField(0)) == 0) {
    // An empty next page must not leave the ranking waiting for it: paging would stop for good.
    if (CTirvoRankView* view = GetRankView())
      view->ClearRequestPending();
    EndWaitCapture();
    Ask("No information found.", "", MB_OK);
    return;
  }
  if (m_nActiveViewId == kWaitingRoomView) {
    SendWaitRoomLeave();
    FlushRequests();
  }
  ForgetForum();
  SwitchView(kRankView);
  if (CTirvoRankView* view = GetRankView())
    view->AddRankRowsKind1(payload.GetText());
  SetWindowText("Rank display");
  EndWaitCapture();
}

void CMainFrame::OnRankPage(CFieldTokenizer& payload) {
  if (CTirvoRankView* view = GetRankView())
    view->AddRankRowsKind2(payload.GetText());
  EndWaitCapture();
}

void CMainFrame::OnRankPage2(CFieldTokenizer& payload) {
  if (!GetRankView()) {
    if (m_nActiveViewId == kWaitingRoomView) {
      SendWaitRoomLeave();
      FlushRequests();
    }
    ForgetForum();
    SwitchView(kRankView);
  }
  if (CTirvoRankView* view = GetRankView())
    view->AddRankRowsKind2(payload.GetText());
  EndWaitCapture();
}

// ---------------------------------------------------------------------------------------------
// Forums

CAssociationView* CMainFrame::GetForumView() const {
  return m_nActiveViewId == kForumView ? dynamic_cast<CAssociationView*>(GetContentView()) : nullptr;
}

void CMainFrame::SendForumRequest1() {
  if (QueueRequest(7, 1, "", "1"))
    FlushRequests();
}

void CMainFrame::SendForumRequest2(const CString& payload) {
  if (QueueRequest(7, 2, payload, "1"))
    FlushRequests();
}

void CMainFrame::SendForumRequest10(const CString& payload) {
  if (QueueRequest(7, 10, payload, "1"))
    FlushRequests();
}

void CMainFrame::SendForumMembership(int minor, const CString& payload) {
  if (GetForumView() && QueueRequest(7, static_cast<short>(minor), payload, "1"))
    FlushRequests();
}

void CMainFrame::OpenForumBoard(const CString& id, const CString& code, const CString& target, const CString& name,
                                BOOL joined) {
  m_bForumBoardOpen = TRUE;
  m_strForumId = id;
  m_strForumCode = code;
  m_strForumTarget = target;
  m_strForumName = name;
  m_bForumJoined = joined;
}

void CMainFrame::ForgetForum() {
  m_bForumBoardOpen = FALSE;
  m_bForumRoom = FALSE;
  m_bForumJoined = FALSE;
  m_strForumId.Empty();
  m_strForumCode.Empty();
  m_strForumTarget.Empty();
  m_strForumName.Empty();
}

void CMainFrame::OnSelectForum() {
  // From a forum's board or a waiting room the forum list comes back; its arrival leaves the
  // waiting room.
  if (m_nActiveViewId == kBulletinBoardView || m_nActiveViewId == kWaitingRoomView)
    SendForumRequest1();
}

void CMainFrame::EnterForumWaitingRoom(const CString& target) {
  // Only the forum's waiting room is named by the forum's target; its board never is.
  m_bForumRoom = TRUE;
  m_strCurrentRoomTitle = target;
  SendWaitRoomEnter();
  FlushRequests();
}

void CMainFrame::OnForumList(CFieldTokenizer& payload) {
  if (m_nActiveViewId == kWaitingRoomView) {
    SendWaitRoomLeave();
    FlushRequests();
  }
  SwitchView(kForumView);
  if (CAssociationView* view = GetForumView())
    view->OnForumList(payload.GetText());
  // Back from a forum's board: its menu comes again.
  m_bForumRoom = FALSE;
  if (m_bForumBoardOpen) {
    m_bForumBoardOpen = FALSE;
    SendForumRequest2("|" + m_strForumId + "|");
  }
  EndWaitCapture();
}

void CMainFrame::OnForumMenu(CFieldTokenizer& payload) {
  if (CAssociationView* view = GetForumView())
    view->BuildForumMenu(payload.GetText());
}

void CMainFrame::OnForumJoined(CFieldTokenizer& payload) {
  if (CAssociationView* view = GetForumView())
    view->OnJoinForum(payload.GetText());
}

void CMainFrame::OnForumSeceded(CFieldTokenizer& payload) {
  if (CAssociationView* view = GetForumView())
    view->OnSecedeForum(payload.GetText());
}

// ---------------------------------------------------------------------------------------------
// The bulletin board

CPlacardView* CMainFrame::GetBoardView() const {
  return m_nActiveViewId == kBulletinBoardView ? dynamic_cast<CPlacardView*>(GetContentView()) : nullptr;
}

void CMainFrame::SendForumRequest(int minor, const CString& payload) {
  if (QueueRequest(7, static_cast<short>(minor), payload, "1"))
    FlushRequests();
}

void CMainFrame::OnBoardPostList(CFieldTokenizer& payload) {
  SwitchView(kBulletinBoardView);
  if (CPlacardView* view = GetBoardView())
    view->OnPostList(payload.GetText());
  EndWaitCapture();
}

void CMainFrame::KeepBoardDraft(const CBoardDraft& draft) { m_boardDrafts[CBoardDraft::KeyOf(draft.forumId, draft.boardCode)] = draft; }

std::optional<CBoardDraft> CMainFrame::TakeBoardDraft(const CString& forumId, const CString& boardCode) {
  const auto kept = m_boardDrafts.find(CBoardDraft::KeyOf(forumId, boardCode));
  if (kept == m_boardDrafts.end())
    return std::nullopt;
  CBoardDraft draft = kept->second;
  m_boardDrafts.erase(kept);
  return draft;
}

void CMainFrame::OnBoardPost(CFieldTokenizer& payload) {
  if (CPlacardView* view = GetBoardView())
    view->OnPostText(payload.GetText());
}

void CMainFrame::OnPostAdded(CFieldTokenizer&) {
  if (CPlacardView* view = GetBoardView())
    view->OnPostAdded();
}

void CMainFrame::OnPostDeleted(CFieldTokenizer&) {
  if (CPlacardView* view = GetBoardView())
    view->OnPostDeleted();
}

void CMainFrame::OnReadCount(CFieldTokenizer& payload) {
  if (CPlacardView* view = GetBoardView())
    view->OnReadCount(payload.GetText());
}

// ---------------------------------------------------------------------------------------------
// User information

void CMainFrame::OnUserRecord(CFieldTokenizer& payload) {
  EndWaitCapture();
  CUserRecordDlg dialog(payload.GetText(), this);
  if (IsGameRoomActive())
    dialog.ShowRecordsButton(0);
  const INT_PTR result = dialog.DoModal();
  if (result != CUserRecordDlg::kRecordsResult || IsGameRoomActive())
    return;
  const CString user = payload.GetField(3);
  if (m_nActiveViewId == kWaitingRoomView) {
    SendWaitRoomLeave();
    FlushRequests();
  }
  SearchRecords("|LI|" + user + "|");
}

// ---------------------------------------------------------------------------------------------
// Options

BOOL CMainFrame::RunOptionsDialog(BOOL& manToMan, BOOL& invite, BOOL& alarm, BOOL& nego) {
  COptionsDlg dialog;
  dialog.m_nInvite = invite;
  dialog.m_nManToMan = manToMan;
  dialog.m_nAlarm = alarm;
  dialog.m_nNego = nego;
  if (dialog.DoModal() != IDOK)
    return FALSE;
  invite = dialog.m_nInvite != 0;
  manToMan = dialog.m_nManToMan != 0;
  alarm = dialog.m_nAlarm != 0;
  nego = dialog.m_nNego != 0;
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Invitations

void CMainFrame::SendInvite(const CString& number, const CString& id, const CString& message,
                            const CString& roomField) {
  // An invitation names the room the user is in: from a room left there is none to invite to.
  if (m_bRoomLeft) return;
  QueueRequest(1, 12, GetRoomPrefix() + RemoveSeparators(roomField) + "|" + RemoveSeparators(number) + "|" +
                         RemoveSeparators(id) + "|" + RemoveSeparators(message) + "|",
               "1");
}

void CMainFrame::OnInviteUser() {
  if (m_nActiveViewId != kWaitingRoomView && m_nActiveViewId != kGameRoomView) {
    Ask("You can only invite user within the game room.", "", MB_OK);
    return;
  }
  // A game room on the way out has nobody to invite into it.
  if (m_nActiveViewId == kGameRoomView && !MaySendRoomRequest()) return;
  // From a game room no waiting room is shown: the users asked for are those of the waiting room
  // the room was joined from, which its requests name.
  if (m_nActiveViewId == kGameRoomView && !GetCurrentWaitingRoomRec() && !m_bForumRoom) {
    if (QueueRequest(3, 3, "|" + m_strWaitRoomKey + "|5|", "1")) FlushRequests();
    return;
  }
  // The waiting room's users come back as a user list, which the invite dialog shows.
  SendWaitRoomQuery("5");
}

void CMainFrame::OnInvitation(CFieldTokenizer& payload) {
  if (m_nActiveViewId == kGameRoomView || m_nActiveViewId == kBulletinBoardView || m_nActiveViewId == kForumView ||
      m_bRoomEntry)
    return;
  m_bRoomEntry = TRUE;
  const CString inviter = payload.GetField(4) + "(" + payload.GetField(5) + ":" + payload.GetField(6) + ")";
  const CString room = payload.GetField(1);
  const CString password = payload.GetField(2);
  CInvitationDlg dialog(inviter, ShownMessageText(payload.GetField(7)), this);
  const INT_PTR result = dialog.DoModal();
  if (result == IDCANCEL) {
    if (QueueRequest(1, 18, "|" + payload.GetField(3) + "|" + payload.GetField(4) + "|1|", "1"))
      FlushRequests();
  }
  if (result != IDOK) {
    m_bRoomEntry = FALSE;
    return;
  }
  if (m_pWaitingRoomView) {
    // The room must still be open: listed under its number with the inviter at a seat. A seat's
    // cell reads "id(grade)": only the ID before the bracket names the inviter.
    CListCtrl& rooms = m_pWaitingRoomView->GetRoomList();
    const CString inviterId = payload.GetField(4);
    auto seatId = [&](int row, int column) {
      const CString cell = rooms.GetItemText(row, column);
      const int bracket = cell.Find('(');
      return bracket >= 0 ? cell.Left(bracket) : cell;
    };
    BOOL found = FALSE;
    for (int row = 0; row < rooms.GetItemCount() && !found; ++row)
      found = rooms.GetItemText(row, 1) == room && (seatId(row, 4) == inviterId || seatId(row, 0) == inviterId);
    if (!found) {
      Ask("The game room is already closed.", "", MB_OK);
      m_bRoomEntry = FALSE;
      return;
    }
    SendWaitRoomLeave();
    FlushRequests();
  } else {
    const int number = std::atoi(payload.GetField(0));
    if (!FindRoomRecord(number))
      KeepRoomRecord(number, CString(), CString(), CString());
    m_nCurrentWaitRoom = number;
  }
  if (m_pLoginRecord) {
    m_pLoginRecord->m_nRoomNumber = std::atoi(room);
    m_pLoginRecord->SetEntry(room + Cp949("번방"), password, "3", "");
  }
  SendJoinRoom(room, password);
  FlushRequests();
}

void CMainFrame::OnInvitationRefused(CFieldTokenizer& payload) {
  CString text;
  text.Format(Cp949("%s(%s)님이 초대를 거절 했습니다."), payload.GetField(1).GetString(), payload.GetField(3).GetString());
  Ask(text, "", MB_OK);
}

// ---------------------------------------------------------------------------------------------
// User search

BOOL CMainFrame::RunSearchUserDialog(const CString& caption, CString& id) {
  CSearchUserDlg dialog(caption, this);
  if (dialog.DoModal() != IDOK)
    return FALSE;
  id = dialog.m_strText;
  return TRUE;
}

void CMainFrame::OnSearchUser() {
  if (!m_bConnected) {
    Ask("You must connect.", "", MB_OK);
    return;
  }
  CSearchUserDlg dialog(CSearchUserDlg::kSearchCaption, this);
  if (dialog.DoModal() != IDOK)
    return;
  if (dialog.m_strText.IsEmpty()) {
    Ask("You did not enter User ID.", "", MB_OK);
    return;
  }
  SendUserSearch(dialog.m_strKind, RemoveSeparators(dialog.m_strText));
  FlushRequests();
}

void CMainFrame::OnUserSearchResult(CFieldTokenizer& payload) {
  EndWaitCapture();
  int count = 0;
  for (int i = 0; i < 4; ++i) {
    const CString field = payload.NextField();
    if (i == 3)
      count = std::atoi(field);
  }
  if (count == 0) {
    Ask("The searching user is not found.", "", MB_OK);
    return;
  }
  // The users' fields after the first four, eight a user.
  CString users = "|";
  const int rest = std::max(0, payload.GetCount() - 4);
  for (int i = 0; i < rest - rest % 8; ++i) users += payload.NextField() + "|";
  CUserInfoListDlg dialog(this);
  dialog.SetResultText(users);
  CUserInfoListDlg::Place place;
  place.ownId = m_strUserId;
  place.currentKey = GetWaitingRoomKey();
  place.currentRoom = m_pLoginRecord ? m_pLoginRecord->m_strRoomText5 : CString();
  place.gameRoomShown = IsGameRoomActive();
  place.roomOpener = m_bRoomOwner;
  CGameRoom* room = ShownRoom();
  if (auto* view = place.gameRoomShown ? dynamic_cast<CDagukRoomView*>(GetContentView()) : nullptr)
    place.playing = (view->GetGameMode() & 1024) != 0;
  if (room) {
    place.noColour = (room->GetBoard().GetUserColor() & 1) != 0;
    place.blackId = room->GetPaneText(CGameRoom::kBlackName);
    place.whiteId = room->GetPaneText(CGameRoom::kWhiteName);
  }
  dialog.SetPlace(place);
  const INT_PTR result = dialog.DoModal();
  const CUserInfoListDlg::UserSearchRecord& user = dialog.m_selected;
  if (result == CUserInfoListDlg::kInviteResult) {
    if (IsGameRoomActive())
      SendInvite(user.key, user.id, CString(), m_pLoginRecord ? m_pLoginRecord->m_strRoomText1 : CString());
    FlushRequests();
    return;
  }
  if (result != CUserInfoListDlg::kJoinResult)
    return;
  if (m_nActiveViewId == kWaitingRoomView) {
    SendWaitRoomLeave();
    FlushRequests();
  } else if (IsGameRoomActive()) {
    // The user goes from this room straight to the found one: the server's word that the user
    // left must not send a waiting-room entry, and the next entry is a first one.
    if (m_pGameRoom) m_pGameRoom->ResetRoom();
    m_bStayInRoomList = TRUE;
    SendLeaveRoom();
    FlushRequests();
    ResetRoomGame();
    m_wRoomState = 1;
  }
  m_bInRoom = FALSE;
  if (!m_pLoginRecord)
    return;
  m_pLoginRecord->m_strRoomText1.Empty();
  m_pLoginRecord->m_nRoomNumber = std::atoi(user.room);
  m_pLoginRecord->SetEntry(Cp949("친구방"), CString(), "1", "Play");
  SendJoinRoom(user.room, m_pLoginRecord->m_strRoomText1);
  FlushRequests();
}

// ---------------------------------------------------------------------------------------------
// Continuing a paused game, the record search and the rank selection

void CMainFrame::OnContinuePausedPlay() {
  CContinuePlayDlg dialog(this);
  if (dialog.DoModal() != IDOK)
    return;
  if (dialog.m_nChoice != CContinuePlayDlg::kFromPlayRecord) {
    ContinueFromSavedFile();
    return;
  }
  CGameRoom* room = ShownRoom();
  const BOOL alone = !room || room->GetObservers().size() < 2;
  const CString opponent =
      room ? room->GetPaneText(room->GetMyColour() == 2 ? CGameRoom::kWhiteName : CGameRoom::kBlackName) : CString();
  if (alone && opponent.IsEmpty()) {
    Ask("Your opponent is not in the game room.", "", MB_OK);
    return;
  }
  if (QueueRequest(6, 2, "|-1|50|LI|" + m_strUserId + "|", "1"))
    FlushRequests();
}

void CMainFrame::ContinueFromSavedFile() {
  CGameRoom* room = ShownRoom();
  if (!room || room->GetObservers().size() < 2) {
    Ask("Your opponent is not in the game room.", "", MB_OK);
    return;
  }
  OnOpenLocalRecord();
}

void CMainFrame::OnSearchRecords() {
  CTirvoGiboView* view = GetRecordListView();
  if (!view)
    return;
  CSearchGiboDlg dialog(this);
  dialog.m_strQuery = view->GetQuery();
  if (dialog.DoModal() != IDOK)
    return;
  view->StartSearch(dialog.m_strQuery);
}

void CMainFrame::ShowRankList() {
  CRankSelectDlg dialog(this);
  if (dialog.DoModal() != IDOK)
    return;
  CString filter;
  if (dialog.m_nKind <= CRankSelectDlg::kGradeKiwon)
    filter.Format("|%d|%s", dialog.m_nKind + 1, dialog.m_strGradeNumber.IsEmpty() ? "" : (dialog.m_strGradeNumber + "|").GetString());
  else
    filter.Format("|%d|100|", dialog.m_nKind - CRankSelectDlg::kMaxPlayer + 1);
  if (CTirvoRankView* view = GetRankView())
    view->GetList().DeleteAllItems();
  m_strRankFilter = filter;
  RequestRankPage("-1", "");
}

void CMainFrame::OnSearchRoom() {
  CSearchRoomDlg dialog(this);
  dialog.SetWaitingRoom(m_pWaitingRoomView ? &m_pWaitingRoomView->GetRoomList() : nullptr, this);
  dialog.DoModal();
}

BOOL CMainFrame::OnCommunityMenuButton(UINT id) {
  switch (id) {
    case 1194: ShowRankList(); return TRUE;
    case 1197: OnSearchRoom(); return TRUE;
    case 1199: OnSearchUser(); return TRUE;
    case 1201: OnInviteUser(); return TRUE;
    case 1210: OnContinuePausedPlay(); return TRUE;
    case 1211: ContinueFromSavedFile(); return TRUE;
    case 1216: OnSearchRecords(); return TRUE;
    default: return FALSE;
  }
}
