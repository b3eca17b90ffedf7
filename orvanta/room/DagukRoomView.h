#pragma once
// CDagukRoomView: the game room, a form view on template 134. It hosts the board control
// (control 1119) through CStolvex, answers the game's board calls with it, routes the control's
// events to the game (CGameRoom) and shows the game's pane texts, observers and chat. The main
// frame reaches the game through the view while it is shown.

#include <optional>

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/formview.h>
#include <platform/olehost.h>

#include "orvanta/room/GameRoom.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/RoomBoard.h"
#include "orvanta/room/Stolvex.h"

class CDagukRoomView : public CFormView, public CRoomBoard {
  DECLARE_DYNCREATE(CDagukRoomView)
public:
  static constexpr UINT kTemplateId = 134;
  static constexpr UINT kBoardId = 1119;
  static constexpr UINT kChatInputId = 1067;
  // Width of the side panel right of the board, in pixels.
  static constexpr int kPanelWidth = 275;

  CDagukRoomView();
  ~CDagukRoomView() override;

  // Form 134: the board control named by its class identifier, the panes, lists and chat.
  static platform::DialogTemplate BuildTemplate();

  // The game of this room; null before the first update (or without a frame that hosts rooms).
  CGameRoom* GetRoom() { return m_room ? &*m_room : nullptr; }
  CStolvex& GetBoardControl() { return m_board; }
  // Makes the game on the parent frame's room services and attaches it to the frame.
  void OnInitialUpdate() override;

  // ---- CRoomBoard: the board control ----
  LONG GetGameMode() override { return m_board.GetGameMode(); }
  void SetGameMode(LONG mode) override { m_board.SetGameMode(mode); }
  short GetUserColor() override { return m_board.GetUserColor(); }
  void SetUserColor(short colour) override { m_board.SetUserColor(colour); }
  void SetNumOfAdvatage(short handicap) override { m_board.SetNumOfAdvatage(handicap); }
  void SetDrawStone(short row, short column, short colour, short count) override {
    m_board.SetDrawStone(row, column, colour, count);
  }
  void Redraw(short row, short column) override { m_board.Redraw(row, column); }
  short GetLastColor() override { return m_board.GetLastColor(); }
  void Init() override { m_board.Init(); }
  void RemoveStone(short mask) override { m_board.RemoveStone(mask); }
  void SetStone(short row, short column, short mask) override { m_board.SetStone(row, column, mask); }
  void UnCheckStone(short mask) override { m_board.UnCheckStone(mask); }
  short GetChangedCount() override { return m_board.GetChangedCount(); }
  void SetMyTurn(short flag) override { m_board.SetMyTurn(flag); }
  CString GetBigPos(short mask) override { return m_board.GetBigPos(mask); }
  VARIANT GetStone(short state) override { return m_board.GetStone(state); }
  void SetBigPos(short index, short flag) override { m_board.SetBigPos(index, flag); }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnBoardPosition(SHORT row, SHORT col, SHORT colour, LONG window);
  void OnBoardError(SHORT code, LONG window);
  void OnBoardNumOfEat(SHORT colour, SHORT count, LONG window);
  void OnSize(UINT type, int cx, int cy);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

private:
  static void OnPaneChanged(void* context, int pane);
  void ShowPane(int pane);
  void FillObserverList();
  // Places the board and the side panel's controls for a client area of cx × cy pixels.
  void LayOut(int cx, int cy);

  CStolvex m_board;
  CListCtrl m_observerList;  // control 1065
  CGiboRecord m_record;  // the room's game record when the view has no document
  std::optional<CGameRoom> m_room;
};
