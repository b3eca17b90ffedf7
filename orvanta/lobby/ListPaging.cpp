#include "orvanta/lobby/ListPaging.h"

ScrollPaging PagingForScroll(const CListCtrl& list, UINT code, int position, BOOL requestPending) {
  if (requestPending || !list.m_hWnd || (code != SB_LINEDOWN && code != SB_THUMBPOSITION))
    return ScrollPaging::kNone;
  // The last row shows: from the top row for an arrow, from where the thumb was dropped for it.
  const int top = code == SB_THUMBPOSITION ? position : list.GetTopIndex();
  if (top + list.GetCountPerPage() < list.GetItemCount())
    return ScrollPaging::kNone;
  return code == SB_LINEDOWN ? ScrollPaging::kByLine : ScrollPaging::kByThumb;
}

void RetakeCaptureAfterFill(CListCtrl& list, BOOL& captureAfterFill) {
  if (!captureAfterFill)
    return;
  captureAfterFill = FALSE;
  if (list.m_hWnd)
    list.SetCapture();
}

void PageOnScroll(CListCtrl& list, UINT code, int position, BOOL requestPending, BOOL& captureAfterFill,
                  const std::function<void()>& requestNextPage) {
  const ScrollPaging paging = PagingForScroll(list, code, position, requestPending);
  if (paging == ScrollPaging::kNone)
    return;
  requestNextPage();
  if (paging == ScrollPaging::kByLine) {
    captureAfterFill = TRUE;
    list.SetCapture();
  }
}
