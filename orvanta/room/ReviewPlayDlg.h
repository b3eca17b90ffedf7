#pragma once
// CReviewPlayDlg: the modeless board (template 175) on which the people of a game room review the
// room's game together, driven by the server. The server moves every board (steps, go to a move,
// try moves of the participant holding the review control, end of a try line) and gives or takes
// the control; the holder's buttons and clicks only send requests, and the board follows when the
// server answers.

#include <array>

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>
#include <platform/olehost.h>

#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/ReviewPlayHost.h"
#include "orvanta/room/StepSkinButton.h"
#include "orvanta/room/Stolvex.h"

class CReviewPlayDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 175;
  static constexpr UINT kBoardId = 1132;
  static constexpr UINT kEndReview = 1255, kReceiveAgain = 1254, kBackToGame = 1252, kSequence = 61476,
                        kPrev = 61465, kNext = 61479, kLast = 61482, kGoto = 61480, kFirst = 61481, kClose = 61483,
                        kControl = 1251;

  CReviewPlayDlg(CGiboRecord record, const CString& title, short userColour, BOOL startAtFirst, BOOL control,
                 CReviewPlayHost& host, CWnd* parent = nullptr);
  ~CReviewPlayDlg() override;

  static platform::DialogTemplate BuildTemplate();
  // The arrow keys, Home and End step the game.
  BOOL PreTranslateMessage(MSG* msg) override;
  // The modeless board over parent, numbers off. The template overloads stay visible; this one
  // is called without a template, so a null parent is written Create().
  using CDialog::Create;
  virtual BOOL Create(CWnd* parent = nullptr);

  // ---- Called by the room for the server's review codes ----
  void SetControl(BOOL control);                // 537
  void SetButtonState(int state);
  void ResetTo(int moves);
  void PositionAt(int flag);
  void SetBoardMode(LONG mode);
  void SetTryCount(int count);
  void LoadTryMoves(const CString& text);
  void StepForward();                           // 529
  void StepBack();                              // 530
  void EndTryLine(const CString& payload);      // 531
  void PlaceTryMove(const CString& payload);    // 532
  void OnReplayCode533(const CString& payload);
  void OnServerReplay(const CString& payload);  // 536

  // ---- The holder's requests ----
  // Asks the server for move k of the game (handicap stones count as moves).
  void RequestMove(int k);
  // Hands the control to the participant whose row has these third and first columns.
  void HandOverControl(const CString& third, const CString& first);

  CStolvex& GetBoard() { return m_board; }
  BOOL HasControl() const { return m_bControl; }
  BOOL IsTryMode() const { return m_bTryMode; }
  int GetTryCount() const { return m_nTryCount; }
  int GetCurrentPosition() const { return m_nCurrentPosition; }
  // The room board's user colour the review was opened with (white: the handicap counts negative).
  short GetUserColour() const { return m_nUserColour; }

protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  void PostNcDestroy() override {}
  // The number of the N-th move command; FALSE when none is given.
  virtual BOOL ChooseMoveNumber(int& number);

  void OnFirstMove();
  void OnLastMove();
  void OnPrevMove();
  void OnNextMove();
  void OnGotoMove();
  void OnToggleSequence();
  void OnHide();
  void OnCommand1255();
  void OnCommand1254();
  void OnCommand1252();
  void OnCommand1251();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnBoardPosition(SHORT row, SHORT col, SHORT colour, LONG window);
  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

private:
  void NumbersOff();
  int DrawRecord();
  void ReloadAll();
  void ReloadToCurrent();
  void Request(short minor);
  CStepSkinButton& Button(UINT id);
  void LayOut();

  BOOL m_bNumbersShown{FALSE};
  BOOL m_bTryMode{FALSE};
  int m_nTryCount{0};              // stones of the try line
  BOOL m_bStartAtFirst{FALSE};     // after loading, go back to the first move
  int m_nCurrentPosition{0};
  short m_nTotalMoves{0};          // handicap stones + move nodes placed
  BOOL m_bControl{FALSE};          // this client holds the review control
  CGiboRecord m_record;
  CString m_strTitle;
  std::array<CStepSkinButton, 11> m_buttons;
  CStolvex m_board;
  short m_nUserColour{2};
  short m_nHandicap{0};
  CReviewPlayHost& m_host;
};
