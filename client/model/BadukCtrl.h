#pragma once
// CBadukCtrl: the viewer's Go board window ("BADUKCTRL"). It holds the cells and the game shown
// (through CBadukBoard), takes clicks according to its edit mode, and tells its parent window what
// happened with the WM_BADUK_* messages. The board is drawn into two cached pictures: a clean one
// (texture, grid, star points) and one with the stones; painting copies the second. A change at one
// point only marks that point: its square is redrawn when the window paints or the picture is
// asked for, so a burst of relayed moves costs one drawing of each point it touched.

#include <array>
#include <cstdint>

#include "client/model/BadukBoard.h"
#include "client/model/MaskedPicture.h"
#include "client/model/StonePictureCache.h"
#include "platform/gdi.h"
#include "platform/windows.h"

class CNodeArray;

// Messages a board window sends to its parent (always sent, never posted).
constexpr UINT WM_BADUK_STONEPLACED = 0x41F;  // wParam: a CStoneNode* valid during the send
constexpr UINT WM_BADUK_CAPTURES = 0x420;     // wParam captured black, lParam captured white
constexpr UINT WM_BADUK_CHANGED = 0x421;      // see OnPositionChanged
constexpr UINT WM_BADUK_ERROR = 0x422;        // wParam 1103 or 1104
constexpr UINT WM_BADUK_CLICK = 0x423;        // wParam x, lParam y (mode 9)
constexpr UINT WM_BADUK_POINTCLICK = 0x424;   // wParam key flags, lParam client x | y << 16 (modes 10, 20)
constexpr UINT WM_BADUK_RBUTTON = 0x425;      // wParam key flags, lParam client x | y << 16
constexpr UINT WM_BADUK_CONTEXTMENU = 0x426;  // wParam the window named, lParam screen x | y << 16

class CBadukCtrl : public CWnd, public CBadukBoard {
public:
  static constexpr const char* kClassName = "BADUKCTRL";
  static constexpr UINT kCursorId = 202;
  static constexpr UINT kStoneSoundId = 315;  // WAVE resource
  static constexpr UINT kTextureId = 132;
  static constexpr UINT kLastMoveMarkId = 237;
  static constexpr COLORREF kTransparent = RGB(0, 255, 0);

  // Edit modes: what a left click on a point does.
  static constexpr int kModeAlternate = 2;  // 2, 3 and 7 place alternating colours
  static constexpr int kModeBlack = 4;
  static constexpr int kModeWhite = 5;
  static constexpr int kModeClick = 9;       // WM_BADUK_CLICK
  static constexpr int kModePointClick = 10;  // 10 and 20: WM_BADUK_POINTCLICK

  CBadukCtrl();
  ~CBadukCtrl() override;
  CBadukCtrl(const CBadukCtrl&) = delete;
  CBadukCtrl& operator=(const CBadukCtrl&) = delete;

  // Registers the window class (once) and sets the defaults of a fresh board.
  void Init();
  static BOOL RegisterWindowClass();
  using CWnd::Create;
  // A visible child of parent (control id 0) at rect; nonzero on success.
  BOOL Create(const RECT& rect, CWnd* parent);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  // The first WM_BADUK_CHANGED of the program's run is held back (whichever board sends it);
  // tests set the flag again so that they do not depend on their order.
  static void HoldFirstChange(BOOL hold) { s_holdFirstChange = hold; }
  static BOOL IsFirstChangeHeld() { return s_holdFirstChange; }

  // ---- the game (placing stones: CBadukBoard::PlaceStone) ----
  // Removes the last move (taking it back when it is shown); 0.
  int UndoMove();
  // While browsing, drops the moves after the shown one.
  void Truncate();
  // Empties the game: numbering base 1, no moves, no captures, black to play; 0.
  int ResetBoard();
  // One move forward; 1 when it moved.
  int GoToNext();
  // One move back, never below the numbering base (0 then); else 1 when the board arrived at
  // the move before, or stayed at move 0.
  int GoToPrevious();
  // Shows move index (clamped to 0..last); returns the index shown.
  int GoToMove(int index);
  // Shows the position before the numbering base's move; returns the index shown.
  int GoToFirst();
  // Shows the last move; returns the index shown.
  int GoToLast();
  BOOL IsBrowsing() const { return GetPosition().IsBrowsing(); }
  int GetCurrentMove() const { return GetPosition().GetCurrentIndex(); }
  int GetLastMove() const { return GetPosition().GetLastIndex(); }
  // Appends copies of moves 1..current to out; 1.
  int CopyMoves(CNodeArray* out) const { return GetPosition().CopyMoves(out); }

  void SetEditMode(int mode) { m_editMode = mode; }
  int GetEditMode() const { return m_editMode; }
  // Colour of the next stone a click places: 2 in mode 4, 1 in mode 5, else alternating.
  int GetColourToPlay() const;
  // The move shown as number 1; re-renders the picture when it changes.
  void SetBaseMove(int base);
  int GetBaseMove() const { return m_baseMove; }
  // Move numbers on the stones on or off.
  void SetSequenceMode(BOOL show);
  BOOL GetSequenceMode() const { return m_showNumbers; }
  void SetSound(BOOL sound) { m_sound = sound; }
  BOOL GetSound() const { return m_sound; }

  // Copies cell (a, b) when b != 0 (both 1..19), else move a (1..last); 0, or 1105 out of range.
  int GetNode(CStoneNode& node, int a, int b) const;
  // Point and State of move index: 0, 1105 outside 1..last, 101 when there is no node.
  int GetMoveAt(int index, int& x, int& y, DWORD& state) const;

  // ---- geometry and drawing ----
  // Board pixel size for a window width (or, when width < 1, for a height); each out may be null.
  static CSize CalcBoardSize(int width, int height, int* stone = nullptr, int* cell = nullptr, int* marginX = nullptr,
                             int* marginY = nullptr);
  // The largest stone picture size not above s; 9 below 9.
  static int SnapStoneSize(int s);
  // Lays the board out for size (null: the client size); the picture is rendered when next
  // painted or asked for, so the layouts of one resize draw the board once.
  void Layout(const SIZE* size = nullptr);
  // Client pixel of the intersection of column x and row y (where it is drawn, turned or not).
  CPoint CellCentre(int x, int y) const;
  // The point (x, y) under a client pixel: (0, 0) outside the board rectangle; on the strips right
  // of and below the grid a coordinate outside 1..19 (20, or 0 on the half-turned board).
  CPoint HitTest(CPoint point) const;
  // The board drawn turned 180 degrees: point (x, y) shows where (20 - x, 20 - y) would. Turning
  // lays the board out again and repaints it.
  void SetHalfTurn(BOOL turned);
  BOOL GetHalfTurn() const { return m_halfTurn; }
  // Renders the whole board picture again (size null: the client size).
  void RenderBoard(const SIZE* size = nullptr);
  // Renders the picture of the last layout when that is still to be done.
  void RenderIfDue();
  void Redraw() { RenderBoard(); }
  int GetStoneSize() const { return m_stoneSize; }
  int GetCellWidth() const { return m_cellWidth; }
  double GetCellHeight() const { return m_cellHeight; }
  void GetBoardRect(int& left, int& top, int& right, int& bottom) const;
  CRect GetBoardRect() const { return m_boardRect; }
  // The picture that painting copies, with every pending point drawn (null before the first layout).
  CBitmap* GetBoardPicture();

  // Called by the rules: marks one point for redrawing (mark: the last-move mark) and invalidates
  // the window.
  void DrawCell(int x, int y, BOOL mark) override;

protected:
  // Rules notifications turned into messages to the parent.
  void OnCapturesChanged(int capturedBlack, int capturedWhite) override;
  // wParam: after PlaceStone previous index | new << 16 (lParam 0); after navigation new index |
  // previous << 16 (lParam 1).
  void OnPositionChanged(WPARAM wParam, LPARAM lParam) override;
  void OnStonePlaced(const CStoneNode& node) override;
  void OnMoveRefused(int code) override;

  void OnLButtonDown(UINT flags, CPoint point);
  void OnRButtonDown(UINT flags, CPoint point);
  void OnContextMenu(CWnd* wnd, CPoint point);
  void OnSize(UINT type, int cx, int cy);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnPaletteChanged(CWnd* focusWnd);
  BOOL OnQueryNewPalette();
  DECLARE_MESSAGE_MAP()

private:
  LRESULT NotifyParent(UINT message, WPARAM wParam, LPARAM lParam);
  void PlayStoneSound();
  // Takes the black and white stone pictures of the stone size (loaded the first time) and loads
  // the last-move mark once.
  void LoadStonePictures();
  // Makes the number font for the window's context.
  void MakeNumberFont();
  // The clean board: texture, grid and star points.
  void DrawBoardImage(const SIZE* size);
  // Draws point (x, y) into the board picture held by dc.
  void DrawStone(CDC* dc, int x, int y, BOOL mark);
  // Draws the points marked by DrawCell into the board picture, in the order they were last marked.
  void DrawPendingCells();
  CSize PictureSize(const SIZE* size) const;
  void RealizeBoardPalette();

  static BOOL s_holdFirstChange;  // the first position change of the run is not announced

  BOOL m_sound{FALSE};  // play the stone sound after each placed stone
  int m_editMode{kModeAlternate};
  int m_baseMove{1};  // the move shown as number 1; lower bound of going back
  // Geometry (Layout).
  double m_cellHeight{0.0};  // cell width * 45 / 42
  int m_marginY{0};
  int m_marginX{0};
  short m_stoneSize{9};
  int m_cellWidth{10};  // stone size + 1
  CRect m_boardRect;
  BOOL m_showNumbers{FALSE};
  BOOL m_halfTurn{FALSE};  // drawn turned 180 degrees
  // Points waiting to be drawn, indexed x * 20 + y: the order they were last marked in (0: none)
  // and whether that marking asked for the last-move mark.
  std::array<std::uint64_t, 400> m_pendingOrder{};
  std::array<bool, 400> m_pendingMark{};
  std::uint64_t m_pendingCount{0};  // marks since the last drawing; also the order counter
  // Pictures.
  CSize m_pictureSize;   // size of the two board pictures
  CSize m_laidOutSize;   // the size of the last layout, rendered when the picture is next needed
  bool m_renderDue{false};
  bool m_renderAsked{false};  // a point marked while the render was due has asked for the paint
  short m_loadedStoneSize{0};  // the stone pictures taken (0: none)
  CBitmap m_cleanBoard;  // texture, grid, star points
  CBitmap m_boardPicture;  // the clean board with stones, mark and numbers: what is painted
  CStonePictureCache m_stonePictures;
  CStonePictureCache::Set* m_stones{nullptr};  // those of the stone size (null: none)
  CMaskedPicture m_lastMoveMark;
  CBitmap m_texture;  // the wood tile in the screen's format, loaded with the board palette once
  CPalette m_boardPalette;
  CPalette m_markPalette;
  CPalette m_creationPalette;  // the texture's palette, loaded when the window is created
  CFont m_numberFont;
};
