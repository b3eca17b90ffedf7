#pragma once
// CSelfPlayDlg: the modal, resizable board (template 177) on which the user plays both colours:
// a free board, a study from the review dialog's position, or a study over the room's game. The
// game's stones are placed first; the first board click starts a study line recorded in a second
// record whose header comes from the game. The study (or, before any click, the game) can be
// saved as SGF.

#include <array>

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>
#include <platform/gdi.h>
#include <platform/olehost.h>

#include "orvanta/room/AutoReplayDlg.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/StepSkinButton.h"
#include "orvanta/room/Stolvex.h"

class CSelfPlayDlg : public CAutoReplayDlg {
public:
  static constexpr UINT kTemplateId = 177;
  static constexpr UINT kBoardId = 1132;
  static constexpr UINT kAutoReplay = 1145, kReload = 1327, kSave = 1326, kSequence = 61476, kPrev = 61477,
                        kNext = 61479, kGoto = 61480, kFirst = 61481, kClose = 61483, kLast = 61478;

  // startPosition: the board position to rewind to after loading, -1 to stay after the last move.
  CSelfPlayDlg(CGiboRecord record, const CString& title, short userColour, BOOL roomMode, CWnd* parent,
               short startPosition);
  ~CSelfPlayDlg() override;

  static platform::DialogTemplate BuildTemplate();
  // The arrow keys, Home and End step the game.
  BOOL PreTranslateMessage(MSG* msg) override;

  void GoToMove(int k);
  // Writes the study record (in study mode) or the game record to path; FALSE, after "File can
  // not be made.", when it cannot.
  BOOL SaveRecordTo(const CString& path);

  CStolvex& GetBoard() { return m_board; }
  const CGiboRecord& GetStudyRecord() const { return m_studyRecord; }
  const CGiboRecord& GetGameRecord() const { return m_gameRecord; }
  BOOL IsStudyMode() const { return m_bStudyMode; }
  short GetStudyMoves() const { return m_nStudyMoves; }
  int GetCurrentMove() const { return m_nCurrentMove; }

protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  // The number of the N-th move command; FALSE when none is given.
  virtual BOOL ChooseMoveNumber(int& number);
  // The room's game record and its board position, for the reload command; FALSE when no room's
  // game is at hand.
  virtual BOOL FetchRoomRecord(CGiboRecord& record, int& position);

  void OnPrevMove();
  void OnNextMove();
  void OnReplayStep() override { OnNextMove(); }
  void OnReplayRunning(BOOL running) override;
  void OnToggleSequence();
  void OnCommand61483();
  void OnGotoMove();
  void OnCommand61478();
  void OnFirstMove();
  void OnSaveAs();
  void OnRestart();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void OnClose();
  void OnBoardPosition(SHORT row, SHORT col, SHORT colour, LONG window);
  void OnBoardError(SHORT code, LONG window);
  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

private:
  void LayoutControls();
  // Places the handicap stones and moves of the game record with running numbers; returns how many.
  int DrawRecord();
  void ReloadRecord();
  void StepBack();
  void StepForward();
  CStepSkinButton& Button(UINT id);

  short m_nStudyMoves{0};     // stones placed by clicks in the current study line
  short m_nStartPosition{-1};
  int m_nStudyTop{0};         // number given to the last stone placed by a click
  BOOL m_bStudyMode{FALSE};
  BOOL m_bRoomMode{FALSE};
  int m_nCurrentMove{0};      // board position outside study mode
  short m_nTotalMoves{0};     // handicap stones + move nodes placed at loading
  short m_nUserColour{2};
  CGiboRecord m_gameRecord;
  CGiboRecord m_studyRecord;
  CString m_strTitle;
  std::array<CStepSkinButton, 10> m_buttons;
  CStolvex m_board;
  short m_nHandicap{0};
};
