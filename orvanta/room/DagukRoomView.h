#pragma once
// CDagukRoomView: the game room, a form view on template 134. It hosts the board control
// (control 1119) through CStolvex, answers the game's board calls with it, routes the control's
// events to the game (CGameRoom) and shows the game's pane texts, observers and chat. The main
// frame reaches the game through the view while it is shown.

#include <memory>
#include <optional>

#include <platform/controls.h>
#include <platform/controls_tooltip.h>
#include <platform/gdi_objects.h>
#include <platform/dialog_template.h>
#include <platform/formview.h>
#include <platform/olehost.h>

#include "orvanta/room/GameRoom.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/RoomBoard.h"
#include "orvanta/room/RoomCommands.h"
#include "orvanta/room/StonePrinter.h"
#include "orvanta/room/Stolvex.h"

class CInviteDlg;

class CDagukRoomView : public CFormView, public CRoomBoard {
  DECLARE_DYNCREATE(CDagukRoomView)
public:
  static constexpr UINT kTemplateId = 134;
  static constexpr UINT kBoardId = 1119;
  static constexpr UINT kChatInputId = 1067;
  // Width of the side panel right of the board, in pixels: its panes end 5 pixels short of the
  // view's right edge.
  static constexpr int kPanelWidth = 285;
  // The board's square is centred in the client width less this: it never reaches the panel.
  static constexpr int kBoardMargin = 285;
  // The panel's backdrop starts this far right of the panel's left edge.
  static constexpr int kBackdropInset = 9;
  // The message line's first text.
  static constexpr const char* kGreeting = "Hello!  You have entered Orvanta of Pellomar.";
  // The looks of a byo-yomi seconds pane while it blinks.
  static constexpr COLORREF kBlinkFace = RGB(200, 30, 20);
  static constexpr COLORREF kBlinkText = RGB(255, 255, 255);
  // The panel's backdrop colour and the captured counts' text and face.
  static constexpr COLORREF kBackdrop = RGB(230, 203, 134);
  static constexpr COLORREF kCapturedText = RGB(255, 255, 0);
  static constexpr COLORREF kCapturedFace = RGB(72, 50, 19);

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

  // ---- Chat, observers, the room's commands, the panel and printing ----
  static constexpr UINT kChatOutputId = 1066;
  static constexpr UINT kObserverListId = 1065;
  // Adds text to the chat output (oldest lines go first) and shows its last line.
  void AppendChatLine(const CString& text);
  // The input's list holds the frame's macros that are not empty, F2 to F9.
  void FillChatMacroCombo();
  // Sends one chat line of the room (nothing for an empty line) and flushes.
  void SendChatLine(const CString& text);
  // F2 to F9 send their chat macro (an empty one nothing); TRUE when key is one of them.
  BOOL SendChatMacro(UINT key);
  BOOL IsUserInRoom(const CString& id, const CString& host) const;
  // The room's users but the logged-in one, for the review-play dialog.
  CString BuildRoomUserList();
  // The waiting room's users (code 33) in the room's one invitation window, made on first use
  // and kept; it is shown and centred each time.
  void ShowInviteDlg(const CString& payload);
  // The invitation window; null before the first user list.
  CInviteDlg* GetInviteDlg() const { return m_pInviteDlg.get(); }
  // Closes the room's pop-up windows: the invitation window goes, a shown tip is taken down.
  void ClosePopups();
  // What the command rules see now.
  CRoomCommands::Situation CommandSituation();
  // Runs a command of the room's pop-ups; a command whose rule fails does nothing.
  void RunRoomCommand(UINT id);
  // The pop-ups: the room's at a screen point, the observer list's at its corner.
  void ShowRoomMenu(CPoint screen);
  void ShowObserverMenu();
  void ShowUserInfo();
  void SendMemoToSelected();
  void OnSendMail();
  void OnCommand9923();
  // Places the board and the panel's controls for the client size.
  void RecalcLayout();
  int GetPanelLeft() const { return m_nPanelLeft; }
  // Caption area 1..10 (names, grades, periods, clocks, move number, status line).
  CRect GetCaptionArea(int area) const;
  void SetStatusText(const CString& text);
  // Paints the panel's backdrop under caption area n (1..10) again, so its new text sits on a
  // clean ground; the status line is area 10.
  void RepaintCaptionBackground(int n);
  void RepaintStatusBackground();
  // The tips of the name and captured-stone panes.
  CToolTipCtrl& GetToolTip() { return m_toolTip; }
  // The lamp left of a clock, lit while that side's clock runs.
  void DrawBlackClockLamp(BOOL on);
  void DrawWhiteClockLamp(BOOL on);
  // The side whose lamp is lit (2 black, 4 white), 0 for none.
  short GetLitClockLamp() const { return m_nLitLamp; }
  // The printed sheet's stones: page 1 the diagram, the second part the repeated points.
  void PrintStones(CDC& dc);
  void PrintStonesWithFont(CDC& dc);
  const CStonePrinter& GetStonePrinter() const { return m_printer; }
  CComboBox& GetChatInput() { return m_chatInput; }
  CListCtrl& GetObserverList() { return m_observerList; }
  BOOL OnPreparePrinting(CPrintInfo* info) override;
  void OnPrint(CDC* dc, CPrintInfo* info) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  // ---- end of the chat and commands block ----

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnBoardPosition(SHORT row, SHORT col, SHORT colour, LONG window);
  void OnBoardError(SHORT code, LONG window);
  void OnBoardNumOfEat(SHORT colour, SHORT count, LONG window);
  void OnSize(UINT type, int cx, int cy);
  void OnDestroy();
  // ---- Chat, observers and panel handlers ----
  void OnContextMenu(CWnd* window, CPoint point);
  void OnChatListOpen();
  void OnChatListClosed();
  void OnChatOutputFocus();
  void OnObserverRightClick(NMHDR* header, LRESULT* result);
  void OnObserverDoubleClick(NMHDR* header, LRESULT* result);
  void OnPaint();
  void OnLButtonUp(UINT flags, CPoint point);
  // The view's focus goes on to the chat input.
  void OnSetFocus(CWnd* previous);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type);
  // ---- end ----
  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

private:
  static void OnPaneChanged(void* context, int pane);
  void ShowPane(int pane);
  void FillObserverList();
  // ---- Chat, observers, panel and printing helpers ----
  // The first selected observer row, -1 when none.
  int SelectedObserver() const;
  void PrintSheetHeader(CDC& dc);
  void PrintBoardGrid(CDC& dc);
  // The moves of the room's record, in the board's numbering, into the printer's tables.
  void FillPrintTables();
  void DrawClockLamp(CDC& dc, int area, BOOL on);
  // The desk and the panel's backdrop within rect (client coordinates).
  void PaintBackdrop(CDC& dc, const CRect& rect);
  // Fonts, brushes and the tips of the panes (on the first update).
  void CreateLooks();
  // A double click on a player's name pane asks the server about that player; TRUE when it was one.
  BOOL OnNameDoubleClick(const MSG& msg);
  // Lights the lamp of the side whose clock ticks and puts the other out, when that changed.
  void RefreshClockLamps();
  // ---- end ----

  CStolvex m_board;
  CListCtrl m_observerList;  // control 1065
  CGiboRecord m_record;  // the room's game record when the view has no document
  std::optional<CGameRoom> m_room;
  // ---- Chat, observers and panel state ----
  CStonePrinter m_printer;
  CComboBox m_chatInput;  // control 1067
  CEdit m_chatOutput;     // control 1066
  CRect m_captionAreas[11];
  int m_nPanelLeft{0};
  int m_nRepeatsPrinted{0};  // repeats on the pages printed so far in this job
  BOOL m_bChatListOpen{FALSE};
  short m_nLitLamp{0};
  std::unique_ptr<CInviteDlg> m_pInviteDlg;
  CToolTipCtrl m_toolTip;
  CFont m_nameFont;    // bold Arial 19: the name panes
  CFont m_narrowFont;  // bold Arial 19, 10 wide: the captured counts and the move number
  CBrush m_whiteBrush;
  CBrush m_backdropBrush;
  CBrush m_capturedBrush;
  CBrush m_blinkBrush;
};
