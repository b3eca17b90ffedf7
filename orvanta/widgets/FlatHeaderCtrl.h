#pragma once
// CFlatHeaderCtrl: the column header of the program's report lists. It paints flat headings in
// its own font and colour, keeps width limits per column (a column may be fixed), a sort state per
// column for the list's owner, and moves columns by drag and drop itself.

#include <vector>

#include <platform/controls_header.h>
#include <platform/gdi_objects.h>

// Extra record of a heading.
struct HDITEMEX {
  enum { kFitContent = 1, kReserveSortSign = 2, kFixed = 4 };
  int nStyle{0};
  int iMinWidth{0};
  int iMaxWidth{-1};
};

class CFHDragWnd;
class CFHDropWnd;

class CFlatHeaderCtrl : public CHeaderCtrl {
public:
  static constexpr COLORREF kTextColour = 0x3F3F3F;
  static constexpr COLORREF kIndicatorColour = 255;
  static constexpr int kSpacing = 6;
  // Half the side of the square the pointer may move in before a press becomes a drag.
  static constexpr int kDragDistance = 4;

  CFlatHeaderCtrl();
  ~CFlatHeaderCtrl() override;

  // Gives headings inserted before the header was subclassed their default records.
  void SyncRecords();
  BOOL SetItemEx(int index, const HDITEMEX& record);
  BOOL GetItemEx(int index, HDITEMEX& record) const;
  // Count sort states, all -1 (never clicked).
  void InitColumnStates(int count);
  // -1 never clicked, then 0 and 1 alternately; -1 for a column without a state.
  int GetColumnState(int column) const;
  int GetRecordCount() const { return static_cast<int>(m_records.size()); }
  BOOL IsDragging() const { return m_bDragging; }
  // The floating windows while a drag runs (null otherwise).
  CFHDragWnd* GetDragImage() const { return m_pDragWnd; }
  CFHDropWnd* GetDropIndicator() const { return m_pDropWnd; }
  // Shows the drop indicator before display position index (0 to the item count); any other index
  // removes it. Returns index.
  int ShowDropIndicator(int index);
  int GetDropIndex() const { return m_nDropIndex; }

  // The state after a press: -1 and 1 become 0, 0 becomes 1.
  static int NextColumnState(int state) { return state == 0 ? 1 : 0; }
  // A drop position equal to the dragged column's own order or the one after it moves nothing.
  static int EffectiveDropIndex(int dropIndex, int draggedOrder);
  // The display order after the column at draggedOrder is dropped before position dropIndex.
  static std::vector<int> MoveInOrder(const std::vector<int>& order, int draggedOrder, int dropIndex);
  // The width a heading needs for its content.
  int ContentWidth(int index, const HDITEMEX& record);
  // Widens every shown heading narrower than its content; hidden (width 0) ones stay hidden.
  void WidenToContent();

  // Draws one heading in rect (already narrowed by the spacing).
  void DrawItem(CDC* dc, CRect rect, const HDITEM& item, BOOL sort, BOOL ascending);
  void DrawItem(LPDRAWITEMSTRUCT) override {}

protected:
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  LRESULT OnInsertItem(WPARAM wParam, LPARAM lParam);
  LRESULT OnDeleteItem(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetImageList(WPARAM wParam, LPARAM lParam);
  // HDM_SETHOTDIVIDER by point (wParam TRUE, lParam the client point) or by display position.
  LRESULT OnSetHotDivider(WPARAM byPoint, LPARAM value);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonDblClk(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnMouseMove(UINT flags, CPoint point);
  void OnSysColorChange();
  DECLARE_MESSAGE_MAP()

private:
  // Holds the cursor where the hit column's width stays within its limits (when it has them).
  void ClipToWidthLimits(CPoint point);
  // Hit-tests point and keeps the result (the item, its flags and whether it may be resized).
  void HitTestAt(CPoint point);
  // The display position a column dropped at point would take (-1 off the headings).
  int DropOrderAt(CPoint point);
  // Notifies the parent of a drag's begin or end; the parent's answer.
  LRESULT NotifyDrag(UINT code, int item);
  void EndDrag(CPoint point);
  // Destroys the floating windows of a drag.
  void DestroyDragWindows();

  COLORREF m_crText{kTextColour};
  int m_nPaintItem{-1};  // the heading being painted
  int m_nLastPressed{-1};
  std::vector<int> m_columnStates;
  CFont m_font;
  int m_nImageWidth{0};
  int m_nImageHeight{0};
  UINT m_nHitFlags{0};
  int m_nHitItem{-1};
  BOOL m_bResizable{FALSE};  // the hit column may be resized
  HDITEM m_pressedItem{};    // the heading last pressed
  char m_pressedText[80]{};
  BOOL m_bPressed{FALSE};
  BOOL m_bResizing{FALSE};
  int m_nDropIndex{-1};
  BOOL m_bDragging{FALSE};
  CFHDropWnd* m_pDropWnd{nullptr};  // deletes itself when destroyed
  CFHDragWnd* m_pDragWnd{nullptr};  // deletes itself when destroyed
  CPoint m_pressPoint;
  std::vector<HDITEMEX> m_records;
  COLORREF m_cr3DHighLight{0};
  COLORREF m_cr3DShadow{0};
  COLORREF m_cr3DFace{0};
  COLORREF m_crBtnText{0};
};
