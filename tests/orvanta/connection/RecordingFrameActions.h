#pragma once
// A stand-in for the main frame that records every action the dispatcher calls, in order, as
// "Name" or "Name:payload" (code-taking actions as "Name:code:payload"). Requests it is asked to
// queue are kept in Queued. Used by the dispatcher's tests and its fuzz target.

#include <string>
#include <vector>

#include "orvanta/connection/FrameActions.h"
#include "orvanta/connection/SessionRecord.h"

class CRecordingFrameActions : public CFrameActions {
public:
  struct Request {
    int major;
    int minor;
    std::string payload;
    std::string flag;
  };

  BOOL QueueRequest(int major, int minor, const CString& payload, const CString& flag) override {
    Log("QueueRequest", std::to_string(major) + "," + std::to_string(minor) + ":" + payload.str());
    if (!connected)
      return FALSE;
    queued.push_back({major, minor, payload.str(), flag.str()});
    return TRUE;
  }
  void FlushRequests() override { Log("Flush"); }
  CSessionRecord* GetLoginRecord() override { return loginRecord; }
  HWND GetFrameHandle() const override { return nullptr; }
  BOOL IsDeferringMoves() const override { return deferring; }
  void SetDeferringMoves(BOOL defer) override { deferring = defer; }
  BOOL IsClosing() const override { return closing; }
  BOOL IsLinkOpen() const override { return linkOpen; }
  BOOL IsEntryPending() const override { return entryPending; }
  BOOL IsGameRoomActive() const override { return gameRoomActive; }
  void SetConnected(BOOL value) override {
    connected = value;
    Log("SetConnected", value ? "1" : "0");
  }
  void UpdateButtonsForEvent(int code, const CString& payload) override {
    Log("UpdateButtons", std::to_string(code) + ":" + payload.str());
  }
  void OnLoginReply(const CString& payload) override { Log("OnLoginReply", payload.str()); }
  void ShowRoomNotice(const CString& text) override { Log("ShowRoomNotice", text.str()); }
  void SendWaitRoomQuery(const CString& kind) override { Log("SendWaitRoomQuery", kind.str()); }
  void SendJoinRoom(const CString& room, const CString& password) override {
    Log("SendJoinRoom", room.str() + "|" + password.str());
  }
  void QueueDeferredText(const CString& payload) override { Log("QueueDeferredText", payload.str()); }
  void SetStatusText(const CString& text) override { Log("SetStatusText", text.str()); }
  void SetCurrentWaitRoom(int number) override { Log("SetCurrentWaitRoom", std::to_string(number)); }
  void SetBoardGameMode(long mode) override { Log("SetBoardGameMode", std::to_string(mode)); }
  void OnEnterGameRoom(int code, CFieldTokenizer& p) override { LogCode("OnEnterGameRoom", code, p); }
  void OnRoomEntered(int code, CFieldTokenizer& p) override { LogCode("OnRoomEntered", code, p); }
  void OnMatchMessage(int code, CFieldTokenizer& p, const CString& answer) override {
    LogCode("OnMatchMessage", code, p);
    calls.back() += ":" + answer.str();
  }

#define RECORDED_ACTION(name) \
  void name() override { Log(#name); }
#define RECORDED_PAYLOAD_ACTION(name) \
  void name(CFieldTokenizer& p) override { Log(#name, p.GetText().str()); }

  RECORDED_ACTION(SetLogoutReceived)
  RECORDED_ACTION(SetConnectButton)
  RECORDED_ACTION(RequestAdvertInfo)
  RECORDED_ACTION(RequestWaitRoomList)
  RECORDED_ACTION(SendPostLoginRequest)
  // As the frame's, a logout and a close end the link.
  void OnLogoutReply() override {
    Log("OnLogoutReply");
    linkOpen = FALSE;
  }
  RECORDED_ACTION(OnRelogin)
  RECORDED_ACTION(AskLoginRelease)
  RECORDED_ACTION(SendLogout)
  void CloseLink() override {
    Log("CloseLink");
    linkOpen = FALSE;
  }
  RECORDED_ACTION(SetUpgradeFlag)
  RECORDED_ACTION(UpdateTitle)
  RECORDED_ACTION(SendGameListRequest)
  RECORDED_ACTION(SendWaitRoomLeave)
  RECORDED_ACTION(SendWaitRoomEnter)
  RECORDED_ACTION(CloseNegotiationWindow)
  RECORDED_ACTION(ClearNegotiationPending)
  RECORDED_ACTION(RetryNegotiation)
  RECORDED_ACTION(ClearInvitationPending)
  RECORDED_ACTION(OnInviteUser)
  RECORDED_ACTION(OnOpenRoom)
  RECORDED_ACTION(ClearRoomEntryFlag)
  RECORDED_ACTION(EndWaitCapture)
  RECORDED_ACTION(ClearRoomSubState)
  RECORDED_ACTION(StartRoomClock)
  RECORDED_ACTION(RestartGameTimer)
  RECORDED_ACTION(ClearUndoPending)
  RECORDED_ACTION(ClearDesignationPending)
  RECORDED_ACTION(LeaveDesignationMode)
  RECORDED_ACTION(LeaveCountingMode)
  RECORDED_ACTION(ClearStalemateArea)
  RECORDED_PAYLOAD_ACTION(StartUpgrade)
  RECORDED_PAYLOAD_ACTION(OnAdvertInfo)
  RECORDED_PAYLOAD_ACTION(OnUserSearchResult)
  RECORDED_PAYLOAD_ACTION(OnUserMessage)
  RECORDED_PAYLOAD_ACTION(OnOperatorNotice)
  RECORDED_PAYLOAD_ACTION(OnMailTo)
  RECORDED_PAYLOAD_ACTION(OnPostLoginNotice)
  RECORDED_PAYLOAD_ACTION(OnMemoCount)
  RECORDED_PAYLOAD_ACTION(OnMemoNotice)
  RECORDED_PAYLOAD_ACTION(OnWaitingRoomList)
  RECORDED_PAYLOAD_ACTION(OnWaitRoomUsers)
  RECORDED_PAYLOAD_ACTION(OnWaitRoomChat)
  RECORDED_PAYLOAD_ACTION(OnWaitingRoomUserChange)
  RECORDED_PAYLOAD_ACTION(OnWaitingRoomRoomChange)
  RECORDED_PAYLOAD_ACTION(OnRoomLists)
  RECORDED_PAYLOAD_ACTION(OnNegotiationRefused)
  RECORDED_PAYLOAD_ACTION(OnNegotiationRequest)
  RECORDED_PAYLOAD_ACTION(OnNegotiationAgreed)
  RECORDED_PAYLOAD_ACTION(OnInvitation)
  RECORDED_PAYLOAD_ACTION(OnInvitationRefused)
  // The frame's own action names the opened room (field 0) in the login record.
  void OnRoomOpened(CFieldTokenizer& p) override {
    Log("OnRoomOpened", p.GetText().str());
    if (loginRecord)
      loginRecord->m_strRoomText5 = p.GetField(0);
  }
  RECORDED_PAYLOAD_ACTION(OnLeftGameRoom)
  RECORDED_PAYLOAD_ACTION(OnChatBan)
  RECORDED_PAYLOAD_ACTION(OnRoomChat)
  RECORDED_PAYLOAD_ACTION(OnRoomInformation)
  RECORDED_PAYLOAD_ACTION(OnRoomCode58)
  RECORDED_PAYLOAD_ACTION(OnGameInProgress)
  RECORDED_PAYLOAD_ACTION(OnRoomMoves)
  RECORDED_PAYLOAD_ACTION(OnOpponentMove)
  RECORDED_PAYLOAD_ACTION(OnUndoMessage)
  RECORDED_PAYLOAD_ACTION(OnDesignationMessage)
  RECORDED_PAYLOAD_ACTION(OnDrawMessage)
  RECORDED_PAYLOAD_ACTION(OnFinishMessage)
  RECORDED_PAYLOAD_ACTION(OnPauseMessage)
  RECORDED_PAYLOAD_ACTION(OnContinueMessage)
  RECORDED_PAYLOAD_ACTION(OnReviewMessage)
  RECORDED_PAYLOAD_ACTION(OnReplayStep)
  RECORDED_PAYLOAD_ACTION(OnObserverAdvice)
  RECORDED_PAYLOAD_ACTION(OnReplayDlgMessage)
  RECORDED_PAYLOAD_ACTION(OnTimeOver)
  RECORDED_PAYLOAD_ACTION(OnResumeMessage)
  RECORDED_PAYLOAD_ACTION(OnResignResult)
  RECORDED_PAYLOAD_ACTION(OnCountMessage)
  RECORDED_PAYLOAD_ACTION(OnStalemateAnswer)
  RECORDED_PAYLOAD_ACTION(OnClockStart)
  RECORDED_PAYLOAD_ACTION(OnLeaveCountdown)
  RECORDED_PAYLOAD_ACTION(OnWinWithoutCounting)
  RECORDED_PAYLOAD_ACTION(OnRecordListPage)
  RECORDED_PAYLOAD_ACTION(OnRecordSearchResult)
  RECORDED_PAYLOAD_ACTION(OnRecordText)
  RECORDED_PAYLOAD_ACTION(OnForumList)
  RECORDED_PAYLOAD_ACTION(OnForumMenu)
  RECORDED_PAYLOAD_ACTION(OnForumJoined)
  RECORDED_PAYLOAD_ACTION(OnForumSeceded)
  RECORDED_PAYLOAD_ACTION(OnRankList)
  RECORDED_PAYLOAD_ACTION(OnRankPage)
  RECORDED_PAYLOAD_ACTION(OnUserRecord)
  RECORDED_PAYLOAD_ACTION(OnRankPage2)
  RECORDED_PAYLOAD_ACTION(OnBoardPostList)
  RECORDED_PAYLOAD_ACTION(OnBoardPost)
  RECORDED_PAYLOAD_ACTION(OnPostAdded)
  RECORDED_PAYLOAD_ACTION(OnPostDeleted)
  RECORDED_PAYLOAD_ACTION(OnReadCount)

#undef RECORDED_ACTION
#undef RECORDED_PAYLOAD_ACTION

  // The recorded calls whose name is name.
  std::vector<std::string> CallsNamed(const std::string& name) const {
    std::vector<std::string> found;
    for (const std::string& call : calls)
      if (call == name || call.rfind(name + ":", 0) == 0)
        found.push_back(call);
    return found;
  }

  std::vector<std::string> calls;
  std::vector<Request> queued;
  CSessionRecord* loginRecord{nullptr};
  BOOL connected{TRUE};
  BOOL deferring{FALSE};
  BOOL closing{FALSE};
  BOOL linkOpen{TRUE};
  BOOL entryPending{FALSE};
  BOOL gameRoomActive{FALSE};

private:
  void Log(const std::string& name) { calls.push_back(name); }
  void Log(const std::string& name, const std::string& detail) { calls.push_back(name + ":" + detail); }
  void LogCode(const std::string& name, int code, CFieldTokenizer& p) {
    calls.push_back(name + ":" + std::to_string(code) + ":" + p.GetText().str());
  }
};
