#pragma once
// A static splitter: a fixed grid of panes (rows x columns) separated by bars, each pane
// usually a view. Row heights follow SetRowInfo: each row takes its ideal height in order, the
// last takes what remains.

#include <vector>

#include "platform/frames.h"
#include "platform/runtime_class.h"
#include "platform/windows.h"

class CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)
public:
  CSplitterWnd() = default;
  ~CSplitterWnd() override = default;

  // Creates the grid window as child id of parent (1..16 rows and columns); FALSE otherwise.
  BOOL CreateStatic(CWnd* parent, int rows, int cols, DWORD style = WS_CHILD | WS_VISIBLE,
                    UINT id = AFX_IDW_PANE_FIRST);
  // Creates a view of viewClass in pane (row, col) for context's document, its ideal size taken
  // from initialSize. FALSE when the pane is taken or the view cannot be made.
  virtual BOOL CreateView(int row, int col, CRuntimeClass* viewClass, SIZE initialSize, CCreateContext* context);
  // Destroys the window of pane (row, col) (the frame's active view moves elsewhere first).
  virtual void DeleteView(int row, int col);
  // Puts a new view of viewClass for the old pane's document in place of the old one (which is
  // destroyed), gives it its initial update and, when the old one was active, makes it active.
  // Null when it cannot be made (the pane is then empty).
  CView* ReplaceView(int row, int col, CRuntimeClass* viewClass);

  CWnd* GetPane(int row, int col) const;
  int IdFromRowCol(int row, int col) const;
  int GetRowCount() const { return static_cast<int>(m_rows.size()); }
  int GetColumnCount() const { return static_cast<int>(m_cols.size()); }
  void SetRowInfo(int row, int ideal, int minimum);
  void GetRowInfo(int row, int& current, int& minimum) const;
  void SetColumnInfo(int col, int ideal, int minimum);
  void GetColumnInfo(int col, int& current, int& minimum) const;
  // Sizes and places every pane from the row and column information.
  virtual void RecalcLayout();

  // Width of the bar between two panes.
  static constexpr int kSplitterGap = 7;

protected:
  void OnSize(UINT type, int cx, int cy);
  void OnPaint();
  DECLARE_MESSAGE_MAP()

private:
  struct RowColInfo {
    int ideal{0};
    int minimum{10};
    int current{0};
  };
  bool ValidPane(int row, int col) const;
  // Gives each entry its current size from the space available.
  static void LayoutRowCol(std::vector<RowColInfo>& infos, int space);

  std::vector<RowColInfo> m_rows;
  std::vector<RowColInfo> m_cols;
};
