#pragma once
// Paging of the lobby's long lists (game records, ranking, bulletin board) by their scroll bar:
// the next page is asked for when the user scrolls past the last row.

#include <functional>

#include <platform/controls.h>

// What one vertical scroll of a paged list asks for.
enum class ScrollPaging {
  kNone,
  kByLine,   // the line-down arrow while the last row shows: the next page, and the capture
  kByThumb,  // the thumb dropped with the last row showing: the next page
};

// The paging a scroll of list asks for (code and thumb position as the scroll bar sends them,
// before the list has moved); kNone while a request is pending.
ScrollPaging PagingForScroll(const CListCtrl& list, UINT code, int position, BOOL requestPending);
// After a page is shown: when it was asked for by the line-down arrow, list takes the mouse
// capture back (it lets go at the next button release) and the flag is cleared.
void RetakeCaptureAfterFill(CListCtrl& list, BOOL& captureAfterFill);
// A scroll notice of a paged list: when PagingForScroll asks for the next page, requestNextPage
// runs; for the arrow, captureAfterFill is set and list takes the mouse capture.
void PageOnScroll(CListCtrl& list, UINT code, int position, BOOL requestPending, BOOL& captureAfterFill,
                  const std::function<void()>& requestNextPage);
