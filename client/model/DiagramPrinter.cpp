#include "client/model/DiagramPrinter.h"

#include <algorithm>
#include <cmath>

#include "client/widgets/DrawUtilities.h"
#include "client/model/GameInfo.h"

namespace {

constexpr const char* kFontFace = "MS Sans Serif";
constexpr int kStarLines[] = {4, 10, 16};
constexpr int kHeaderHeight = 80;  // the header's height on a tall page (from board left - 100 to - 20)

int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }
int Even(int v) { return v % 2 ? v + 1 : v; }
int Odd(int v) { return v % 2 ? v : v + 1; }

// A printer font of size tenths of a point, owned by the object.
class CPrinterFont : public CFont {
public:
  CPrinterFont(CDC* dc, int size, int style) {
    Attach(reinterpret_cast<HGDIOBJ>(CreateDeviceFont(dc, kFontFace, size, 0, style, false)));
  }
};

}  // namespace

CDiagramPrinter::CDiagramPrinter() = default;

CDiagramPrinter::~CDiagramPrinter() {
  DeleteGroups();
  m_overlaps.DeleteAll();
  m_blackBrush.DeleteObject();
  m_whiteBrush.DeleteObject();
}

void CDiagramPrinter::DeleteGroups() {
  POSITION at = m_groups.GetHeadPosition();
  while (at) delete static_cast<CNodeArray*>(m_groups.GetNext(at));
  m_groups.RemoveAll();
}

CNodeArray* CDiagramPrinter::GroupAt(int index) const {
  POSITION at = m_groups.GetHeadPosition();
  for (int i = 0; at; ++i) {
    CObject* group = m_groups.GetNext(at);
    if (i == index) return static_cast<CNodeArray*>(group);
  }
  return nullptr;
}

const CNodeArray* CDiagramPrinter::FindGroup(int x, int y) const {
  POSITION at = m_groups.GetHeadPosition();
  while (at) {
    const auto* group = static_cast<const CNodeArray*>(m_groups.GetNext(at));
    const CStoneNode* first = group->GetNode(0);
    if (first && first->GetX() == x && first->GetY() == y) return group;
  }
  return nullptr;
}

// ---- layout ----

void CDiagramPrinter::LayoutPage(CDC* dc, CPrintInfo* info, CNodeArray* moves) {
  PlaceMoves(moves);
  m_pageWidth = dc->GetDeviceCaps(HORZRES);
  m_pageHeight = dc->GetDeviceCaps(VERTRES);
  int side = std::min(m_pageWidth, m_pageHeight);
  side -= side / 5;
  m_boardArea = CRect(0, 0, side, side);
  m_boardArea.OffsetRect((m_pageWidth - side) / 2, (m_pageHeight - side) / 2 - 50);
  FitBoard(m_boardArea);

  if (m_pageWidth > m_pageHeight) {
    // A wide page has no room above or below the board (measured from the board's left edge the
    // header would end above where it starts): the header and the notes under it take the
    // column right of the board instead.
    const int left = m_boardRect.right + m_cellWidth;
    const int right = std::max(left, m_pageWidth - m_cellWidth);
    m_headerRect = CRect(left, m_boardRect.top, right, m_boardRect.top + kHeaderHeight);
    m_notesRect = CRect(left, m_headerRect.bottom + 20, right, std::max(m_headerRect.bottom + 20, static_cast<int>(m_boardRect.bottom)));
  } else {
    m_headerRect = CRect(m_boardRect.left + m_cellWidth / 2, m_boardRect.left - 100, m_boardRect.right - m_cellWidth / 2,
                         m_boardRect.top - 20);
    m_notesRect = CRect(m_headerRect.left, m_boardRect.bottom + 20, m_headerRect.right,
                        m_pageHeight - m_boardRect.left + 100);
  }
  m_smallStone = static_cast<int>(m_stoneWidth * 0.63);
  // Every group needs its line: a second page as soon as the first has too few.
  m_pageCount = GetGroupCount() > LinesThatFit(m_notesRect) ? 2 : 1;
  if (info) {
    info->SetMinPage(1);
    info->SetMaxPage(static_cast<UINT>(m_pageCount));
  }
  m_blackBrush.DeleteObject();
  m_whiteBrush.DeleteObject();
  m_blackBrush.CreateSolidBrush(RGB(0, 0, 0));
  m_whiteBrush.CreateSolidBrush(RGB(255, 255, 255));
}

void CDiagramPrinter::PlaceMoves(const CNodeArray* moves) {
  for (INT_PTR i = 0; moves && i < moves->GetSize(); ++i) {
    const CStoneNode* node = moves->GetNode(i);
    if (node == nullptr || node->GetX() < 1 || node->GetX() > 19 || node->GetY() < 1 || node->GetY() > 19) continue;
    CStoneNode& cell = m_grid[node->GetX()][node->GetY()];
    if (cell.HasStone())
      m_overlaps.Add(new CStoneNode(*node));
    else
      cell.Copy(*node);
  }
  GroupOverlaps();
}

void CDiagramPrinter::GroupOverlaps() {
  for (INT_PTR i = 0; i < m_overlaps.GetSize(); ++i) {
    CStoneNode* node = m_overlaps.GetNode(i);
    auto* group = const_cast<CNodeArray*>(FindGroup(node->GetX(), node->GetY()));
    if (group == nullptr) {
      group = new CNodeArray;
      m_groups.AddTail(group);
    }
    group->Add(node);
  }
}

void CDiagramPrinter::FitBoard(const CRect& area) {
  const int height = Round(area.Height() * 42.0 / 45.0);
  const int boardWidth = std::min(static_cast<int>(area.Width()), height);
  const int boardHeight = Round(boardWidth * 45.0 / 42.0);
  m_cellWidth = Even(boardWidth / 19);
  m_cellHeight = Even(boardHeight / 19);
  m_stoneWidth = m_stoneHeight = Odd(m_cellWidth - m_cellWidth / 15);
  const int w = m_cellWidth * 19;
  const int h = m_cellHeight * 19;
  m_boardRect = CRect(0, 0, w, h);
  m_boardRect.OffsetRect(area.left + (area.Width() - w) / 2, area.top + (area.Height() - h) / 2);
}

int CDiagramPrinter::LinesThatFit(const CRect& rect) const {
  if (m_smallStone <= 0) return 0;
  return std::max(0, static_cast<int>(rect.Height() - 10) / m_smallStone);
}

int CDiagramPrinter::GetLinesOnFirstPage() const { return LinesThatFit(m_notesRect); }

int CDiagramPrinter::GetStarRadius() const { return Even(std::min(m_stoneWidth, m_stoneHeight) / 6); }

CPoint CDiagramPrinter::PointCentre(int x, int y) const {
  return CPoint(m_boardRect.left + m_cellWidth * x - m_cellWidth / 2, m_boardRect.top + m_cellHeight * y - m_cellHeight / 2);
}

void CDiagramPrinter::SetHeader(CGameInfo* info) {
  if (info == nullptr) return;
  m_headerTexts[0] = info->m_title;
  m_headerTexts[1].Format(Cp949("일시 : %04d년 %02d월 %02d일"), info->m_year, info->m_month, info->m_day);
  m_headerTexts[2].Format(Cp949("장소 : %s"), info->m_place.GetString());
  m_headerTexts[3].Format(Cp949("백 : %s"), info->m_whiteName.GetString());
  m_headerTexts[4].Format(Cp949("흑 : %s"), info->m_blackName.GetString());
  m_headerTexts[5].Format(Cp949("백 : %02d시간 %02d분"), info->m_whiteHours, info->m_whiteMinutes);
  m_headerTexts[6].Format(Cp949("흑 : %02d시간 %02d분"), info->m_blackHours, info->m_blackMinutes);
  m_headerTexts[7].Format(Cp949("결과 : %s"), info->m_result.GetString());
}

// ---- printing ----

void CDiagramPrinter::PrintPage(CDC* dc, CPrintInfo* info) {
  if (dc == nullptr || info == nullptr) return;
  const int onFirstPage = LinesThatFit(m_notesRect);
  if (info->m_nCurPage == 1) {
    DrawHeader(dc);
    DrawBoard(dc);
    DrawNotes(dc, m_notesRect, 0);
  } else if (info->m_nCurPage == 2) {
    const CRect rest(m_notesRect.left, m_headerRect.top, m_notesRect.right, m_notesRect.bottom);
    DrawNotes(dc, rest, onFirstPage);
  }
}

void CDiagramPrinter::DrawHeader(CDC* dc) {
  const CRect& r = m_headerRect;
  const int h = r.Height() / 6;
  const int titleSize = m_fontSize * 3 / 2;
  CPrinterFont titleFont(dc, titleSize, 0);
  CPrinterFont lineFont(dc, titleSize * 4 / 5, 0);
  const int saved = dc->SaveDC();
  dc->SetBkMode(TRANSPARENT);
  // Long texts run on past their boxes rather than lose their ends.
  constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;

  dc->SelectObject(&titleFont);
  CRect title(r.left, r.top, r.right, r.top + 2 * h);
  dc->DrawText(m_headerTexts[0], &title, kLine | DT_CENTER);

  dc->SelectObject(&lineFont);
  const int middle = r.left + r.Width() / 2;
  auto row = [&](int left, int right, int n) { return CRect(left, r.top + 2 * h + h * (n - 1), right, r.top + 2 * h + h * n); };
  CRect date = row(r.left + 100, middle - 100, 1);
  dc->DrawText(m_headerTexts[1], &date, kLine | DT_LEFT);
  CRect place = row(r.left + 100, middle - 100, 2);
  dc->DrawText(m_headerTexts[2], &place, kLine | DT_LEFT);
  const CString label = Cp949("소비시간");
  CRect used = row(r.left + 100, middle - 100, 3);
  dc->DrawText(label, &used, kLine | DT_LEFT);
  const int timesLeft = used.left + dc->GetTextExtent(label).cx + 10;
  CRect whiteTime = row(timesLeft, middle - 100, 3);
  dc->DrawText(m_headerTexts[5], &whiteTime, kLine | DT_LEFT);
  CRect blackTime = row(timesLeft, middle - 100, 4);
  dc->DrawText(m_headerTexts[6], &blackTime, kLine | DT_LEFT);

  const int rightColumn[] = {3, 4, 7};  // White, Black, result
  for (int n = 1; n <= 3; ++n) {
    CRect right = row(middle + 300, r.right + 300, n);
    dc->DrawText(m_headerTexts[rightColumn[n - 1]], &right, kLine | DT_LEFT);
  }
  dc->RestoreDC(saved);
}

void CDiagramPrinter::DrawBoard(CDC* dc) {
  const int saved = dc->SaveDC();
  FitBoard(m_boardArea);
  for (int n = 1; n <= 19; ++n) {
    const CPoint from = PointCentre(1, n);
    const CPoint to = PointCentre(19, n);
    dc->MoveTo(from);
    dc->LineTo(to.x + 1, to.y);
    const CPoint top = PointCentre(n, 1);
    const CPoint bottom = PointCentre(n, 19);
    dc->MoveTo(top);
    dc->LineTo(bottom.x, bottom.y + 1);
  }
  {
    CPen framePen(PS_SOLID, 10, RGB(0, 0, 0));
    CPen* oldPen = dc->SelectObject(&framePen);
    CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
    const CPoint topLeft = PointCentre(1, 1);
    const CPoint bottomRight = PointCentre(19, 19);
    dc->Rectangle(topLeft.x, topLeft.y, bottomRight.x + 1, bottomRight.y + 1);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
  }

  CPen stonePen(PS_SOLID, 2, RGB(0, 0, 0));
  CPrinterFont numberFont(dc, m_fontSize, kFontBold);
  CPen* oldPen = dc->SelectObject(&stonePen);
  CBrush* oldBrush = dc->SelectObject(&m_blackBrush);
  CFont* oldFont = dc->SelectObject(&numberFont);
  dc->SetBkMode(TRANSPARENT);

  const int r = GetStarRadius();
  for (int x : kStarLines) {
    for (int y : kStarLines) {
      const CPoint c = PointCentre(x, y);
      dc->Ellipse(c.x - r, c.y - r, c.x + r, c.y + r);
    }
  }
  for (int y = 1; y <= 19; ++y) {
    for (int x = 1; x <= 19; ++x) {
      const CStoneNode& node = m_grid[x][y];
      if (!node.HasStone()) continue;
      const CPoint c = PointCentre(x, y);
      const CRect circle(c.x - m_stoneWidth / 2, c.y - m_stoneHeight / 2, c.x + m_stoneWidth / 2 + 1,
                         c.y + m_stoneHeight / 2 + 1);
      DrawStoneWithNumber(dc, circle, node, node.GetSeq());
    }
  }
  dc->SelectObject(oldPen);
  dc->SelectObject(oldBrush);
  dc->SelectObject(oldFont);
  dc->RestoreDC(saved);
}

void CDiagramPrinter::DrawStoneWithNumber(CDC* dc, const CRect& circle, const CStoneNode& node, int number) {
  const bool black = node.IsBlack();
  CBrush* oldBrush = dc->SelectObject(black ? &m_blackBrush : &m_whiteBrush);
  dc->Ellipse(&circle);
  dc->SelectObject(oldBrush);
  const COLORREF oldColour = dc->SetTextColor(black ? RGB(255, 255, 255) : RGB(0, 0, 0));
  CString text;
  text.Format("%d", number);
  CRect box(circle);
  dc->DrawText(text, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
  dc->SetTextColor(oldColour);
}

int CDiagramPrinter::DrawNotes(CDC* dc, const CRect& rect, int first) {
  dc->Rectangle(&rect);
  const int saved = dc->SaveDC();
  CPrinterFont font(dc, 50, 0);
  dc->SelectObject(&font);
  dc->SetBkMode(TRANSPARENT);
  const CString ellipsis = Cp949(" … ");
  const int gap = dc->GetTextExtent(ellipsis).cx;
  const int s = m_smallStone;

  int group = first;
  for (int line = 0; group < GetGroupCount() && s > 0; ++line, ++group) {
    const int top = rect.top + 10 + s * line;
    if (top + s > rect.bottom) break;
    const CNodeArray* nodes = GroupAt(group);
    int left = rect.left + 10;
    for (INT_PTR i = 0; i < nodes->GetSize(); ++i, left += s)
      DrawSmallStone(dc, CRect(left, top, left + s, top + s), *nodes->GetNode(i));
    // Three dots in parts 2, 4 and 6 of a row of seven, centred in the gap.
    const int d = gap / 7;
    const int dotsLeft = left + (gap - 7 * d) / 2;
    const int dotTop = top + (s - d) / 2;
    CGdiObject* oldBrush = dc->SelectStockObject(BLACK_BRUSH);
    for (int part : {1, 3, 5}) dc->Ellipse(dotsLeft + part * d, dotTop, dotsLeft + (part + 1) * d, dotTop + d);
    dc->SelectObject(oldBrush);
    left += gap;
    const CStoneNode* standing = nodes->GetNode(0);
    DrawSmallStone(dc, CRect(left, top, left + s, top + s), m_grid[standing->GetX()][standing->GetY()]);
  }
  dc->RestoreDC(saved);
  return group;
}

void CDiagramPrinter::DrawSmallStone(CDC* dc, const CRect& cell, const CStoneNode& node) {
  CRect circle(cell);
  circle.DeflateRect(4, 4);
  DrawStoneWithNumber(dc, circle, node, node.GetSeq());
}
