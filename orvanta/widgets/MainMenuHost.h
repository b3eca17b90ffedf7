#pragma once
// CMainMenuHost: what the main menu pane asks of the frame it sits in: which screen is shown,
// the layout of its buttons, the banners, and the game room's start-up requests it sends for the
// frame. The frame implements it; the pane never sees the frame itself.

#include <platform/strings.h>
#include <platform/types.h>

class CGameRoom;
class CView;

class CMainMenuHost {
public:
  // Ids of the views of the upper pane (the first four are also their dialog templates).
  static constexpr UINT kWaitingRoomView = 101;
  static constexpr UINT kGameRoomView = 134;
  static constexpr UINT kForumView = 449;
  static constexpr UINT kBulletinBoardView = 450;
  static constexpr UINT kStartView = 5000;
  static constexpr UINT kRankView = 5001;
  static constexpr UINT kRecordListView = 5002;
  static constexpr UINT kTeachingListView = 5003;

  virtual ~CMainMenuHost() = default;

  // --- The screen shown ---
  virtual UINT GetActiveViewId() const = 0;
  // The view of the upper pane.
  virtual CView* GetContentView() const = 0;
  // The pane's layout mode of the view shown (0 when there is none).
  virtual int GetMenuMode() const = 0;
  // Places the pane's buttons for screen mode 1 to 8.
  virtual void ArrangeMenuButtons(int mode) = 0;
  // Refills the banner slots; FALSE when the banner file is unusable.
  virtual BOOL LoadAdverts() = 0;
  virtual BOOL IsConnected() const = 0;
  // Opens path of the service's web site (a full address as it stands).
  virtual void OpenWebPage(const CString& path) = 0;
  // A button of the pane was pressed.
  virtual void OnMenuButton(UINT id) = 0;

  // --- The game room's start-up, which the pane sends once the room is shown ---
  virtual CGameRoom* GetGameRoom() const = 0;
  virtual WORD GetRoomStateWord() const = 0;
  virtual void SetRoomStateWord(WORD state) = 0;
  // Room-request senders (queued; FlushRequests sends them).
  virtual void RequestRoomData() = 0;
  virtual void SendRoomReady() = 0;
  // While set, server moves wait until the room is in step.
  virtual void SetDeferringMoves(BOOL defer) = 0;
  virtual void FlushRequests() = 0;
};
