#pragma once
// CClientView: the viewer's one view, a form that fills the main frame. It owns the relay
// connection, the board window with the game's comments and reference diagrams, the delay queue
// between the relay and the board, the players' photographs and every control of the form.
//
// Sources by duty: ClientView.cpp (building, layout, connection, panes), ClientViewRelay.cpp (the
// relay's lines), ClientViewCommands.cpp (navigation, autoview, toggles, dialogs, enabling, the
// timer), ClientViewFiles.cpp (record files, help, configuration), ClientViewDraw.cpp (painting,
// colours, printing).

#include <cstdint>
#include <memory>

#include "client/widgets/BackBuffer.h"
#include "client/widgets/BitmapStatic.h"
#include "client/relay/BoardFeed.h"
#include "client/relay/DelayOwner.h"
#include "client/relay/DelayQueue.h"
#include "client/widgets/HoverButton.h"
#include "client/images/Image.h"
#include "client/widgets/LogEdit.h"
#include "client/widgets/PaneStatic.h"
#include "client/app/PhotoFile.h"
#include "client/relay/RelaySocket.h"
#include "client/model/BadukCtrl.h"
#include "client/model/CommentMap.h"
#include "client/model/GameInfo.h"
#include "client/model/NodeArray.h"
#include "client/model/RefDiagramMap.h"
#include "platform/formview.h"
#include "platform/shell.h"

class CClientDoc;
class CDelayTimeDlg;
class CDiagramPrinter;
class CGameDiagramDlg;
class CUserMoveDlg;
class CMainFrame;

class CClientView : public CFormView, public CDelayOwner {
  DECLARE_DYNCREATE(CClientView)
public:
  // State flags.
  static constexpr int kLoggedIn = 1;
  static constexpr int kHistoryComplete = 2;
  static constexpr int kRecordOpen = 4;
  static constexpr int kNoMedia = 8;
  static constexpr UINT_PTR kTimerId = 12;
  static constexpr UINT kTimerMs = 400;
  static constexpr int kMaxQuestion = 230;
  // The comment pane is given at most this much of a move's commentary: many screens of text, yet
  // a record or a relay with megabytes of it keeps the pane quick to lay out.
  static constexpr int kMaxCommentShown = 64 * 1024;
  // What the relay can make the view keep of one game, far beyond any real one, so that a server
  // flooding moves or commentary cannot use up the memory: moves and take-backs, and the bytes of
  // commentary and diagram lines. Lines past either are dropped.
  static constexpr int kMaxRelayEvents = 10000;
  static constexpr std::int64_t kMaxRelayTextBytes = 16 * 1024 * 1024;
  static constexpr int kPhotoWidth = 100;
  static constexpr int kPhotoHeight = 110;
  static constexpr COLORREF kPaneColour = RGB(242, 238, 223);
  // Photographs larger than this are refused without being read.
  static constexpr std::int64_t kMaxPhotoBytes = 16 * 1024 * 1024;
  static constexpr const char* kDisconnectedText = "It is disconnected. Retry connection.";
  static constexpr const char* kDefaultHelpUrl = "http://www.ondrivo.example/help/index.htm";

  CClientView();
  ~CClientView() override;

  // ---- building and layout ----
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void OnInitialUpdate() override;
  // The screen is at least 800 x 600 and the view's pictures load; false (after a message for a
  // small screen) otherwise.
  bool CheckScreenSize();
  void InitControls();
  // Places the board, the panel and the button bar for the client size.
  void LayoutControls();
  // Places the buttons under the board; returns the strip's height (0 while the bar is hidden).
  int LayoutButtonBar();
  void SetFrameMinSize(bool fixHeight);
  // The frame takes the size that gives the view the form's size (shrinkOnly: only if smaller).
  void SizeFrameToForm(bool shrinkOnly);
  // The narrowest client width that shows the board with its margins and the whole panel.
  int GetMinClientWidth() const;

  // ---- connection ----
  // Logs in and connects to the configured relay; nothing while connected.
  void OnConnect();
  // Closes the connection; the game, comments and queue stay, and every move the delay still
  // held back goes on the board behind the position shown, for the person to step to.
  void Disconnect();
  BOOL IsConnected() const { return m_socket.IsOpen(); }
  CRelaySocket& GetSocket() { return m_socket; }

  // ---- the relay's lines (ClientViewRelay.cpp) ----
  LRESULT OnSocketEvent(WPARAM event, LPARAM success);
  // Dispatches one line by its tag.
  void DoReceive(int length, const char* line);
  void OnRelayMove(int length, const char* line);
  void OnRelayClocks(int length, const char* line);
  void OnRelayMoveText(int length, const char* line);
  void OnRelayNewGame(int length, const char* line);
  void OnRelayAnswer(int length, const char* line);
  void OnRelayDiagramMove(int length, const char* line);
  void OnRelayDiagramText(int length, const char* line);
  void OnRelayDiagramEnd(int length, const char* line);
  void OnRelayUndo(int length, const char* line);
  void OnRelayGameInfo(int length, const char* line);
  void OnRelayStoneImage(int length, const char* line);
  void OnRelayEnd(int length, const char* line);
  void OnRelayTime(int length, const char* line);
  void OnRelayMediaAddress(int length, const char* line);
  void OnRelayResult(int length, const char* line);
  void OnRelayCommentary(int length, const char* line);
  // Enables the buttons that need a login (flag) and, for voice and delay, a complete history
  // with a voice stream.
  void OnLoginAccepted(BOOL accepted);

  // ---- panes ----
  void RefreshPlayerInfo();
  void RefreshCommentPane();
  void UpdateMoveCounter();
  void InvalidateControl(int id);
  // Both clocks as "hh : mm : ss"; each static changes only when its text does.
  void SetClocks(int lh, int lm, int ls, int rh, int rm, int rs);
  // Empties the board, the comments, diagrams, queue, panes, clocks, photographs and the game
  // information.
  void ClearGame();

  // ---- commands (ClientViewCommands.cpp) ----
  void OnMoveFirst();
  void OnMovePrev();
  void OnMoveNext();
  void OnMoveLast();
  // Enter in the move edit: goes to the typed move and shows where it arrived.
  void JumpToTypedMove();
  // Enter in the question edit: sends the question.
  void SendQuestion();
  void OnAutoView();
  void StartAutoView(int interval);
  void StopAutoView();
  void ResetAutoView();
  void OnSequence();
  void ConfirmExit();
  void OnDelaySetup();
  // Toggle the modeless user-move and game-diagram dialogs.
  void OnUserMove();
  void OnGameDiagram();
  // The game information in its modal dialog.
  void OnGameInfo();
  void OnConnectCommand();
  void OnDisconnectCommand();
  // ---- voice commentary (ClientViewVoice.cpp) ----
  // Starts the media player on the stream, or ends the one running.
  void OnVoiceCommentary();
  // 1 when a player of the required version is installed; else a message and 0.
  int CheckRealPlayer();
  // 1 and the player's program from the registry's quoted open command; else 0.
  int FindRealPlayerPath(CString& path);
  // Ends a running player (announce: "Voice off." in the status bar); false when none ran.
  bool StopRealPlayer(bool announce);
  bool IsVoicePlaying() const { return m_playerInfo.hProcess != nullptr; }
  const PROCESS_INFORMATION& GetPlayerInfo() const { return m_playerInfo; }
  // ---- files (ClientViewFiles.cpp) ----
  void OnFileOpen();
  void OnFileSaveAs();
  void OnHelp();
  void OnConfigSetup();
  // Opening and saving with a chosen path (the dialogs' second half); false after the message.
  bool OpenRecordFile(const char* path);
  bool SaveRecordFile(const char* path);

  void SetStateFlag(int flags) { m_stateFlags |= flags; }
  void ClearStateFlag(int flags) { m_stateFlags &= ~flags; }
  int GetStateFlags() const { return m_stateFlags; }

  // CDelayOwner.
  bool IsHistoryComplete() const override { return m_historyComplete != 0; }
  void PlayStoneSound() override;
  void OnQueueChanged() override { WakeTimer(); }

  // ---- what tests and the status bar read ----
  CBadukCtrl& GetBoard() { return m_board; }
  CDelayQueue& GetDelayQueue() { return m_delayQueue; }
  CCommentMap& GetComments() { return m_comments; }
  CRefDiagramMap& GetDiagrams() { return m_refDiagrams; }
  CGameInfo& GetGameInfo();
  int GetExplainMode() const { return m_explainMode; }
  const CString& GetMediaAddress() const { return m_mediaAddress; }
  const CString& GetCommentaryCaption() const { return m_commentaryCaption; }
  bool IsAutoViewRunning() const { return m_autoViewRunning != 0; }
  int GetAutoViewInterval() const { return m_autoViewInterval; }
  bool IsDelayDialogOpen() const { return m_delayDlg != nullptr; }
  CDialog* GetDelayDialog() const;
  bool IsUserMoveDialogOpen() const { return m_userMoveDlg != nullptr; }
  bool IsDiagramDialogOpen() const { return m_diagramDlg != nullptr; }
  CImage& GetWhitePhoto() { return *m_whitePhoto; }
  CImage& GetBlackPhoto() { return *m_blackPhoto; }
  int GetPanelWidth() const { return m_panelWidth; }
  bool AreCoordinatesShown() const { return m_coordinates != 0; }
  bool IsButtonBarShown() const { return m_buttonBar != 0; }

  void OnDraw(CDC* dc) override;
  BOOL PreTranslateMessage(MSG* msg) override;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  // Printing: the board's game on the page.
  BOOL OnPreparePrinting(CPrintInfo* info) override;
  void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
  void OnPrint(CDC* dc, CPrintInfo* info) override;
  void OnEndPrinting(CDC* dc, CPrintInfo* info) override;

  void OnSize(UINT type, int cx, int cy);
  void OnTimer(UINT_PTR id);
  void OnRButtonDown(UINT flags, CPoint point);
  BOOL OnEraseBkgnd(CDC* dc);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  void OnPaletteChanged(CWnd* focusWnd);
  BOOL OnQueryNewPalette();
  LRESULT OnBoardCaptures(WPARAM black, LPARAM white);
  LRESULT OnBoardChanged(WPARAM, LPARAM);
  LRESULT OnBoardIgnored(WPARAM, LPARAM);
  LRESULT OnDialogClosed(WPARAM templateId, LPARAM);
  void OnViewChange();
  void OnViewCoordinate();
  void OnViewButtonBar();
  void OnViewFullScreen();
  void OnFileSave();
  // Enabling of commands and form buttons.
  void OnUpdateMoveBack(CCmdUI* ui);
  void OnUpdateMoveForward(CCmdUI* ui);
  void OnUpdateAutoView(CCmdUI* ui);
  void OnUpdateVoice(CCmdUI* ui);
  void OnUpdateDelaySetup(CCmdUI* ui);
  void OnUpdateGameInfo(CCmdUI* ui);
  void OnUpdateConnect(CCmdUI* ui);
  void OnUpdateDisconnect(CCmdUI* ui);
  void OnUpdateFileOpen(CCmdUI* ui);
  void OnUpdateFileSaveAs(CCmdUI* ui);
  void OnUpdateSequence(CCmdUI* ui);
  void OnUpdateCoordinate(CCmdUI* ui);
  void OnUpdateButtonBar(CCmdUI* ui);
  void OnUpdateUserMove(CCmdUI* ui);
  void OnUpdateGameDiagram(CCmdUI* ui);
  void OnUpdateAlways(CCmdUI* ui);
  LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

private:
  // Each form button's availability as the menu command of the same duty has it.
  void UpdateButtonStates();
  void EnableButton(int id, bool enable);
  CHoverButton* FindButton(int id);
  // Replays due queue entries; the timer's and the relay's common step.
  void AdvanceQueue(bool notify);
  // Timer 12 rests while nothing waits for it (no queued entry still to replay, no autoview), so
  // an idle viewer never wakes; what brings it work wakes it again.
  bool TimerHasWork() const;
  void WakeTimer();
  void StartTimer();
  void StopTimer();
  // The move edit shows the position on the board (empty for a game without moves). Unless
  // asked by the person's own step, a number the person is typing there is left alone.
  void ShowPositionInMoveEdit(bool personStepped);
  // The relay's held-back moves onto the board, which keeps showing the position it showed.
  void ReleaseHeldMoves();
  // Ends the connection, then tells the person why.
  void EndConnection(const char* message);
  // The same after a failed socket step: a server that has gone is said plainly, any other
  // failure by its error.
  void EndConnectionOnError();
  // The comment pane refreshed when the view shows the game's latest move of a complete history.
  void RefreshCommentsIfLive();
  // A commentary or diagram line of length bytes within the game's budget (counted then); false
  // once the budget is spent.
  bool KeepRelayText(int length);
  // Reads a photograph of count bytes from the socket into a temporary file and shows it.
  void ReceivePhotograph(bool black, int count);
  // Loads image from path when it names a file the image does not hold yet; true when loaded.
  static bool LoadPhoto(CImage& image, const CString& path);
  void SetLabel(int id, const CString& text);
  void UpdateClock(int id, const CString& text);
  // Rectangles of the painted pieces, in client coordinates.
  CRect ButtonBarRect() const;
  CRect PanelRect() const;
  void PaintPanel(CDC& dc, const CRect& panel);
  void PaintButtonBar(CDC& dc, const CRect& strip);
  // Copies bitmap index of the five at (x, y), cut to width x height.
  void BlitPiece(CDC& dc, int index, int x, int y, int width, int height, int srcX = 0);
  CSize BitmapSize(int index) const;
  void StepAutoView();
  // Selects and realizes the view's palette and repaints; both palette messages start with it.
  void RealizeOwnPalette();
  // Both photographs empty again, the panes showing nothing.
  void ResetPhotos();

  int m_stateFlags{0};
  CMainFrame* m_pFrame{nullptr};
  CClientDoc* m_pClientDoc{nullptr};
  CGameInfo m_detachedInfo;  // answers for a view that has no document (never in the program)
  CRelaySocket m_socket;
  int m_initialised{0};
  int m_historyComplete{0};
  int m_margins{1};
  int m_autoViewRunning{0};
  bool m_timerRunning{false};  // timer 12 is set
  DWORD m_autoViewStart{0};
  int m_autoViewInterval{0};
  int m_explainMode{0};
  int m_panelWidth{0};
  int m_topImageHeight{0};
  CString m_mediaAddress;
  CString m_commentaryCaption;
  CSize m_buttonBarImageSize{0, 0};
  CBrush m_backgroundBrush;
  // The panel and bar pieces: 303 panel top, 304 panel middle, 186 panel bottom, 164 bar tile,
  // 165 bar left.
  static constexpr int kBitmapCount = 5;
  CBitmap m_bitmaps[kBitmapCount];
  CPalette m_palettes[kBitmapCount];
  // What painting keeps between paints: the off-screen picture and the background tile (162).
  CBackBuffer m_canvas;
  CBitmap m_background;
  CPalette m_backgroundPalette;
  std::unique_ptr<CImage> m_whitePhoto{std::make_unique<CImage>()};
  std::unique_ptr<CImage> m_blackPhoto{std::make_unique<CImage>()};
  CPhotoFile m_whitePhotoFile;  // the files the photographs came from, kept while shown
  CPhotoFile m_blackPhotoFile;
  CBadukCtrl m_board;
  CBoardFeed m_boardFeed{m_board};
  CNodeArray m_moves;
  CRefDiagramMap m_refDiagrams;
  CCommentMap m_comments;
  CDelayQueue m_delayQueue;
  CHoverButton m_buttons[12];
  CLogEdit m_answerPane;
  CLogEdit m_commentPane;
  CBitmapStatic m_blackIcon;
  CBitmapStatic m_whiteIcon;
  CPaneStatic m_blackPhotoPane;
  CPaneStatic m_whitePhotoPane;
  CString m_whiteName;
  CString m_whiteAffiliation;
  CString m_whiteCaptures;
  CString m_blackName;
  CString m_blackAffiliation;
  CString m_blackCaptures;
  CString m_question;
  int m_coordinates{1};
  int m_buttonBar{1};
  // The modeless dialogs delete themselves when their windows go.
  CDelayTimeDlg* m_delayDlg{nullptr};
  CUserMoveDlg* m_userMoveDlg{nullptr};
  CGameDiagramDlg* m_diagramDlg{nullptr};
  std::unique_ptr<CDiagramPrinter> m_printer;  // the print job in progress
  // ---- voice commentary ----
  PROCESS_INFORMATION m_playerInfo{};  // the running media player; all zero while none runs
  // ---- what the relay path last put on screen, so a line that changes nothing costs nothing ----
  CString m_commentShown;           // the comment pane's text as last set
  bool m_commentShownKnown{false};  // false: read the pane once before trusting m_commentShown
  std::int64_t m_relayTextBytes{0};  // commentary and diagram bytes the relay gave this game
  int m_moveEditShown{-1};          // the position the move edit shows, -1 for empty
  int m_clocksShown[6]{};           // the numbers behind the two clocks' texts
  bool m_clocksShownKnown{false};
  CString m_clockTexts[2];          // white's and black's clock texts as last set
  bool m_clockTextsKnown[2]{};
};
