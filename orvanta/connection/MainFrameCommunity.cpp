// The frame's community: the memo box and the messages between users, the sibling programs, the
// forced upgrade, web pages and mail.

#include <algorithm>
#include <cstdlib>

#include <platform/msgbox.h>
#include <platform/process.h>
#include <platform/shell.h>

#include "orvanta/connection/CommandLineText.h"
#include "orvanta/connection/MainFrame.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/lobby/MemoBoxDlg.h"
#include "orvanta/lobby/ReceivedMessageDlg.h"
#include "orvanta/lobby/SendMemoDlg.h"
#include "orvanta/lobby/SendMessageDlg.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/lobby/TirvoMListView.h"
#include "orvanta/lobby/TirvoRankView.h"
#include "orvanta/lobby/UserRecordDlg.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/room/GiboRecord.h"

namespace {

const char kMemoQuestion[] = "You have received memos.\nDo you wish to see them now?";
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
  if (count > 0 && Ask(kMemoQuestion, "Confirm", MB_YESNO) == IDYES) {
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
  // The review dialog belongs to the game room's screens; until it is here the hand-over is kept.
  CString black[4];
  CString white[4];
  record.GetBlackPlayer(black[0], black[1], black[2], black[3]);
  record.GetWhitePlayer(white[0], white[1], white[2], white[3]);
  CString detail;
  detail.Format("%s:%s:%d", black[0].GetString(), white[0].GetString(), record.GetTotalMoves());
  NotePending("CGameReviewDlg", detail);
}

void CMainFrame::OnRecordListPage(CFieldTokenizer& payload) {
  SwitchView(kRecordListView);
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
  SetWindowText("record review room");
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

void CMainFrame::OnRankList(CFieldTokenizer& payload) {
  if (std::atoi(payload.GetField(0)) == 0) {
    EndWaitCapture();
    Ask("No information found.", "", MB_OK);
    return;
  }
  if (m_nActiveViewId == kWaitingRoomView) {
    SendWaitRoomLeave();
    FlushRequests();
  }
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

void CMainFrame::EnterForumWaitingRoom(const CString& target) {
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
