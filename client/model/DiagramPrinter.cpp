#include "client/model/DiagramPrinter.h"

#include <algorithm>
#include <cmath>

#include "client/widgets/DrawUtilities.h"
#include "client/model/GameInfo.h"

namespace {

constexpr const char* kFontFace = "MS Sans Serif";
constexpr int kStarLines[] = {4, 10, 16};
// Rows of a wide page's header under its title: date, place, White, Black, result, and the two
// rows of the time used.
constexpr int kWideRows = 7;
constexpr int kLabel = 8;  // index of the "time used" label among the header boxes

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
    // column right of the board instead, one text a row, as tall as the printer's fonts need.
    const int left = m_boardRect.right + m_cellWidth;
    const int right = std::max(left, m_pageWidth - m_cellWidth);
    const int height = TitleRowHeight(dc) + kWideRows * LineRowHeight(dc, m_fontSize * 3 / 2 * 4 / 5);
    m_headerRect = CRect(left, m_boardRect.top, right, m_boardRect.top + height);
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

int CDiagramPrinter::TextHeight(CDC* dc, int size) const {
  CPrinterFont font(dc, size, 0);
  CFont* old = dc->SelectObject(&font);
  const int height = dc->GetTextExtent(Cp949("가Ag")).cy;
  dc->SelectObject(old);
  return height;
}

int CDiagramPrinter::TitleRowHeight(CDC* dc) const { return TextHeight(dc, m_fontSize * 3 / 2) * 2; }

int CDiagramPrinter::LineRowHeight(CDC* dc, int size) const { return TextHeight(dc, size) * 5 / 4; }

void CDiagramPrinter::LayoutHeader(CDC* dc) {
  const CRect& r = m_headerRect;
  const bool wide = m_pageWidth > m_pageHeight;
  // Offsets grow with the page: the same share of the header's width at any resolution.
  const int margin = r.Width() / 18;
  const int middle = r.left + r.Width() / 2;
  const int pageRight = m_pageWidth - std::max(1, m_pageWidth / 60);
  const CString label = Cp949("소비시간");
  m_titleSize = m_fontSize * 3 / 2;
  m_lineSize = m_titleSize * 4 / 5;

  // Each text's column: [left, right) with its row; the time lines start behind the label.
  struct Place {
    int left, right, row;
  };
  Place places[9] = {};
  int titleHeight = 0;
  int rowHeight = 0;
  int rowsTop = 0;
  const auto arrange = [&](int labelWidth) {
    if (wide) {
      titleHeight = TitleRowHeight(dc);
      rowHeight = LineRowHeight(dc, m_lineSize);
      rowsTop = r.top + titleHeight;
      const int left = r.left;
      const int timesLeft = left + labelWidth + margin / 2;
      const int rows[] = {0, 0, 1, 2, 3, 5, 6, 4};  // date, place, White, Black, times, result
      for (int i = 1; i <= 7; ++i) places[i] = {i == 5 || i == 6 ? timesLeft : left, pageRight, rows[i]};
      places[kLabel] = {left, pageRight, 5};
    } else {
      titleHeight = 2 * (r.Height() / 6);
      rowHeight = r.Height() / 6;
      rowsTop = r.top + titleHeight;
      const int left = r.left + margin;
      const int leftEnd = middle - margin;
      const int rightStart = middle + r.Width() / 6;
      const int timesLeft = left + labelWidth + margin / 10;
      places[1] = {left, leftEnd, 0};
      places[2] = {left, leftEnd, 1};
      places[kLabel] = {left, leftEnd, 2};
      places[5] = {timesLeft, leftEnd, 2};
      places[6] = {timesLeft, leftEnd, 3};
      places[3] = {rightStart, pageRight, 0};
      places[4] = {rightStart, pageRight, 1};
      places[7] = {rightStart, pageRight, 2};
    }
    places[0] = {r.left, r.right, -1};
  };

  // A text too wide for its column shrinks every header text alike, so that none runs off the page.
  for (int attempt = 0; attempt < 8; ++attempt) {
    CPrinterFont titleFont(dc, m_titleSize, 0);
    CPrinterFont lineFont(dc, m_lineSize, 0);
    CFont* old = dc->SelectObject(&lineFont);
    arrange(dc->GetTextExtent(label).cx);
    double fit = 1.0;
    for (int i = 0; i <= kLabel; ++i) {
      const CString& text = i == kLabel ? label : m_headerTexts[i];
      dc->SelectObject(i == 0 ? &titleFont : &lineFont);
      const CSize extent = dc->GetTextExtent(text);
      const Place& at = places[i];
      const int room = i == 0 ? std::min(r.Width(), pageRight - r.left) : at.right - at.left;
      if (extent.cx > room && extent.cx > 0) fit = std::min(fit, static_cast<double>(room) / extent.cx);
      const int top = at.row < 0 ? r.top : rowsTop + at.row * rowHeight;
      const int height = at.row < 0 ? titleHeight : rowHeight;
      const int y = top + (height - extent.cy) / 2;
      const int x = i == 0 ? r.left + (r.Width() - extent.cx) / 2 : at.left;
      m_headerBoxes[i] = CRect(x, y, x + extent.cx, y + extent.cy);
    }
    dc->SelectObject(old);
    if (fit >= 1.0) break;
    m_titleSize = std::max(10, static_cast<int>(m_titleSize * fit * 0.97));
    m_lineSize = std::max(10, static_cast<int>(m_lineSize * fit * 0.97));
  }
}

void CDiagramPrinter::DrawHeader(CDC* dc) {
  LayoutHeader(dc);
  CPrinterFont titleFont(dc, m_titleSize, 0);
  CPrinterFont lineFont(dc, m_lineSize, 0);
  const int saved = dc->SaveDC();
  dc->SetBkMode(TRANSPARENT);
  // Each box is the text's own extent: nothing is cut however the font measures.
  constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_LEFT;
  const CString label = Cp949("소비시간");
  for (int i = 0; i <= kLabel; ++i) {
    dc->SelectObject(i == 0 ? &titleFont : &lineFont);
    CRect box = m_headerBoxes[i];
    dc->DrawText(i == kLabel ? label : m_headerTexts[i], &box, kLine);
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
