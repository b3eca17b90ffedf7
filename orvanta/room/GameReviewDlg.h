#pragma once
// CGameReviewDlg: the modal dialog (template 212) in which one stored game record is looked at
// move by move on the board control, with a panel of players, captures, clocks, periods, the game
// condition, the move number and the result. It steps, replays on timer 100, shows move numbers,
// opens a study board at the current position, prints the game and saves it as SGF.

#include <array>
#include <map>
#include <utility>
#include <vector>

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>
#include <platform/gdi.h>
#include <platform/olehost.h>

#include "orvanta/room/AutoReplayDlg.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/StepSkinButton.h"
#include "orvanta/room/Stolvex.h"

class CReviewHost;

class CGameReviewDlg : public CAutoReplayDlg {
public:
  static constexpr UINT kTemplateId = 212;
  static constexpr UINT kBoardId = 1132;
  // Buttons.
  static constexpr UINT kLast = 61482, kViewMode = 1145, kSequence = 61476, kSave = 1248, kPrint = 61483,
                        kPrev = 61465, kClose = 1151, kNext = 61479, kGoto = 61480, kFirst = 61481,
                        kBreakPoint = 61478;
  // Panel fields.
  static constexpr UINT kBlackRank = 1223, kWhiteRank = 1222, kCondition = 1219, kWhiteName = 1069,
                        kWhitePeriods = 1179, kWhiteCaptured = 1175, kWhiteClock = 1177, kResultsLabel = 1064,
                        kTotalLabel = 1180, kResult = 1182, kMoveNumber = 1181, kBlackName = 1068,
                        kBlackPeriods = 1178, kBlackCaptured = 1174, kBlackClock = 1176;
  // The message that steps one move forward, as the next-move button does.
  static constexpr UINT kStepMessage = WM_USER + 0x12D;

  CGameReviewDlg(CGiboRecord record, CWnd* parent);
  ~CGameReviewDlg() override;

  static platform::DialogTemplate BuildTemplate();
  // The arrow keys, Home and End step the game.
  BOOL PreTranslateMessage(MSG* msg) override;
  // The text of the result field for a result property ("RE[B+R]" -> "Black  won without counting..").
  static CString ShowResult(const CString& result);

  // Goes to move k (handicap stones count as moves), as the N-th move command does once a number
  // is chosen.
  void GoToMove(int k);
  // Prints the game on the printer the print dialog gives; FALSE when cancelled or failed.
  BOOL PrintRecord();
  // Writes the record as SGF to path; FALSE, after "File can not be made.", when it cannot.
  BOOL SaveRecordTo(const CString& path);

  // The program the dialog runs in; null (the default) for a dialog that works offline.
  void SetHost(CReviewHost* host) { m_pHost = host; }

  CStolvex& GetBoard() { return m_board; }
  const CGiboRecord& GetRecord() const { return m_record; }
  BOOL IsStudyMode() const { return m_bStudyMode; }

protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  // Asks for the move number of the N-th command; FALSE when none is given.
  virtual BOOL ChooseMoveNumber(int& number);
  // Runs the study board on the record built at the break point.
  virtual void RunStudyBoard(const CGiboRecord& study, short startPosition);

  void OnPrevMove();
  void OnNextMove();
  void OnReplayStep() override { OnNextMove(); }
  void OnReplayRunning(BOOL running) override;
  void OnToggleSequence();
  LRESULT OnUserMessage12D(WPARAM, LPARAM);
  void OnClose1151();
  void OnSaveRecord();
  void OnFirstMove();
  void OnLastMove();
  void OnGotoMove();
  void OnPrint();
  void OnSaveAs();
  BOOL OnEraseBkgnd(CDC* dc);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  void OnPaint();
  void OnDestroy();
  void OnBoardPosition(SHORT row, SHORT col, SHORT colour, LONG window);
  void OnBoardError(SHORT code, LONG window);
  void OnBoardNumOfEat(SHORT colour, SHORT count, LONG window);
  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

private:
  void ShowCondition();
  void LoadRecord();
  void LayOut();
  void StepBack();
  void StepForward();
  void UpdateStepInfo(int direction, BOOL repaint);
  // The captured fields show what was taken by the move on the board, counted from the first.
  void ShowCapturedUpTo(int position);
  // At the last move of a game lost on time, the loser's periods show "0 **".
  void ShowTimeOverAtEnd();
  void RepaintField(UINT id);
  int FieldNumber(UINT id) const;
  CString FieldText(UINT id) const;
  void DrawPage(CDC& dc, int page);
  // A double click on a player's name asks the server about him; TRUE when msg was one.
  BOOL OnNameDoubleClick(const MSG& msg);

  CString m_strBlackKey;
  CString m_strWhiteKey;
  int m_nPrintContinuation{-1};  // first listed entry of the second printed page; -1 = none
  int m_nStudyTop{0};            // number of the last stone placed by a board click
  // Stones taken by the move at each board position: (colour of the taker's field, count).
  std::map<int, std::pair<short, short>> m_capturesAt;
  BOOL m_bStudyMode{FALSE};
  int m_nTotalMoves{0};          // handicap stones + move nodes
  CToolTipCtrl m_toolTip;
  CBrush m_panelBrush;
  CBrush m_faceBrush;            // the panel's face behind its other fields
  int m_nCurrentMove{0};         // board position outside study mode
  CFont m_nameFont;
  short m_nMoveNodes{0};
  std::array<CStepSkinButton, 11> m_buttons;
  CStolvex m_board;
  int m_nPeriodSeconds{0};
  int m_nByoyomiTotal{0};
  short m_nHandicap{0};
  CGiboRecord m_record;
  CReviewHost* m_pHost{nullptr};
};
