#include "client/model/BadukCtrl.h"

#include <algorithm>

#include "client/widgets/DrawUtilities.h"
#include "client/model/NodeArray.h"
#include "platform/resources.h"
#include "platform/sound.h"

BOOL CBadukCtrl::s_holdFirstChange = TRUE;

BEGIN_MESSAGE_MAP(CBadukCtrl, CWnd)
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_CONTEXTMENU()
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_PALETTECHANGED()
  ON_WM_QUERYNEWPALETTE()
END_MESSAGE_MAP()

namespace {

LPARAM PackPoint(CPoint point) {
  return static_cast<LPARAM>((static_cast<DWORD>(point.x) & 0xFFFF) | ((static_cast<DWORD>(point.y) & 0xFFFF) << 16));
}

}  // namespace

CBadukCtrl::CBadukCtrl() { Init(); }

CBadukCtrl::~CBadukCtrl() {
  // The window goes before the pictures and the game it paints from.
  if (m_hWnd) DestroyWindow();
}

void CBadukCtrl::Init() {
  RegisterWindowClass();
  m_sound = FALSE;
  m_editMode = kModeAlternate;
  m_baseMove = 1;
  m_showNumbers = FALSE;
  SetColourToPlay(2);
}

BOOL CBadukCtrl::RegisterWindowClass() {
  WNDCLASS existing{};
  if (::GetClassInfo(AfxGetInstanceHandle(), kClassName, &existing)) return TRUE;
  WNDCLASS wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_GLOBALCLASS;  // byte alignment has no meaning here
  wc.lpfnWndProc = ::DefWindowProc;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(kCursorId));
  wc.lpszClassName = kClassName;
  return AfxRegisterClass(&wc);
}

BOOL CBadukCtrl::Create(const RECT& rect, CWnd* parent) {
  if (!CWnd::Create(kClassName, "", WS_CHILD | WS_VISIBLE, rect, parent, 0)) return FALSE;
  // Only its palette is wanted; the texture itself is loaded again for every rendering.
  CBitmap texture;
  m_creationPalette.DeleteObject();
  LoadSysColorBitmap(kTextureId, texture, m_creationPalette);
  return TRUE;
}

BOOL CBadukCtrl::PreCreateWindow(CREATESTRUCT& cs) {
  cs.lpszClass = kClassName;
  return CWnd::PreCreateWindow(cs);
}

// ---- the game ----

int CBadukCtrl::UndoMove() { return GetPosition().UndoLast(); }

void CBadukCtrl::Truncate() { GetPosition().Truncate(); }

int CBadukCtrl::ResetBoard() {
  m_baseMove = 1;
  GoToFirst();
  Truncate();
  return 0;
}

int CBadukCtrl::GoToNext() {
  const int moved = GetPosition().GoNext();
  UpdateColourToPlay();
  return moved;
}

int CBadukCtrl::GoToPrevious() {
  const int current = GetCurrentMove();
  if (current < m_baseMove) return 0;
  const int target = std::max(current - 1, 0);
  const int reached = GetPosition().GoTo(target);
  UpdateColourToPlay();
  // Arriving is what counts: at move 0 with base 0 the board stays where it is and answers 1.
  return reached == target ? 1 : 0;
}

int CBadukCtrl::GoToMove(int index) {
  const int reached = GetPosition().GoTo(index);
  UpdateColourToPlay();
  return reached;
}

int CBadukCtrl::GoToFirst() { return GoToMove(std::max(m_baseMove - 1, 0)); }

int CBadukCtrl::GoToLast() {
  if (IsBrowsing()) GetPosition().GoTo(GetLastMove());
  UpdateColourToPlay();
  return GetCurrentMove();
}

int CBadukCtrl::GetColourToPlay() const {
  if (m_editMode == kModeBlack) return 2;
  if (m_editMode == kModeWhite) return 1;
  return CBadukBoard::GetColourToPlay();
}

void CBadukCtrl::SetBaseMove(int base) {
  if (base == m_baseMove) return;
  m_baseMove = base;
  if (m_hWnd) {
    RenderBoard();
    Invalidate(FALSE);
  }
}

void CBadukCtrl::SetSequenceMode(BOOL show) {
  m_showNumbers = show ? TRUE : FALSE;
  if (m_hWnd) {
    RenderBoard();
    Invalidate(TRUE);
  }
}

int CBadukCtrl::GetNode(CStoneNode& node, int a, int b) const {
  if (b != 0) {
    if (!IsOnBoard(a, b)) return kOutOfRange;
    node.Copy(GetCell(a, b));
    return 0;
  }
  const CStoneNode* move = a >= 1 && a <= GetLastMove() ? GetPosition().GetNode(a) : nullptr;
  if (move == nullptr) return kOutOfRange;
  node.Copy(*move);
  return 0;
}

int CBadukCtrl::GetMoveAt(int index, int& x, int& y, DWORD& state) const {
  if (index < 1 || index > GetLastMove()) return kOutOfRange;
  const CStoneNode* move = GetPosition().GetNode(index);
  if (move == nullptr) return 101;
  x = move->GetX();
  y = move->GetY();
  state = move->GetState();
  return 0;
}

// ---- messages to the parent ----

LRESULT CBadukCtrl::NotifyParent(UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* parent = m_hWnd ? GetParent() : nullptr;
  if (parent == nullptr) return 0;
  return parent->SendMessage(message, wParam, lParam);
}

void CBadukCtrl::OnCapturesChanged(int capturedBlack, int capturedWhite) {
  NotifyParent(WM_BADUK_CAPTURES, static_cast<WPARAM>(capturedBlack), static_cast<LPARAM>(capturedWhite));
}

void CBadukCtrl::OnPositionChanged(WPARAM wParam, LPARAM lParam) {
  CWnd* parent = m_hWnd ? GetParent() : nullptr;
  if (parent == nullptr || s_holdFirstChange) {
    s_holdFirstChange = FALSE;
    return;
  }
  parent->SendMessage(WM_BADUK_CHANGED, wParam, lParam);
}

void CBadukCtrl::OnStonePlaced(const CStoneNode& node) {
  if (m_sound) PlayStoneSound();
  CStoneNode placed(node);
  NotifyParent(WM_BADUK_STONEPLACED, reinterpret_cast<WPARAM>(&placed), 0);
}

void CBadukCtrl::OnMoveRefused(int code) { NotifyParent(WM_BADUK_ERROR, static_cast<WPARAM>(code), 0); }

void CBadukCtrl::PlayStoneSound() {
  ::PlaySound(MAKEINTRESOURCE(kStoneSoundId), AfxGetResourceHandle(), SND_RESOURCE | SND_ASYNC | SND_NOWAIT | SND_NODEFAULT);
}

// ---- input ----

void CBadukCtrl::OnLButtonDown(UINT flags, CPoint point) {
  const CPoint at = HitTest(point);
  if (!IsOnBoard(at.x, at.y)) return;  // the margins right of and below the grid
  switch (m_editMode) {
    case 2:
    case 3:
    case 7:
    case kModeBlack:
    case kModeWhite:
      PlaceStone(at.x, at.y, GetColourToPlay(), 0, TRUE);
      break;
    case kModeClick:
      NotifyParent(WM_BADUK_CLICK, static_cast<WPARAM>(at.x), static_cast<LPARAM>(at.y));
      break;
    case kModePointClick:
    case 20:
      NotifyParent(WM_BADUK_POINTCLICK, static_cast<WPARAM>(flags), PackPoint(point));
      break;
    default:
      break;
  }
  if (m_hWnd) CWnd::OnLButtonDown(flags, point);
}

void CBadukCtrl::OnRButtonDown(UINT flags, CPoint point) {
  NotifyParent(WM_BADUK_RBUTTON, static_cast<WPARAM>(flags), PackPoint(point));
  if (m_hWnd) CWnd::OnRButtonDown(flags, point);
}

void CBadukCtrl::OnContextMenu(CWnd* wnd, CPoint point) {
  NotifyParent(WM_BADUK_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd), PackPoint(point));
  if (m_hWnd) CWnd::OnContextMenu(wnd, point);
}
