#pragma once
// CCommentMap: the commentary of a game by move number (0 holds what came before the first
// move). The relay adds to it, the comment pane shows it, the record file stores it.

#include <climits>

#include "client/model/CommentTable.h"
#include "platform/strings.h"

class CCommentMap : public CObject {
public:
  CCommentMap() = default;
  ~CCommentMap() override { RemoveAll(); }
  CCommentMap(const CCommentMap&) = delete;
  CCommentMap& operator=(const CCommentMap&) = delete;

  // Appends text to the texts of move; returns 1.
  int AddComment(int move, const CString& text);
  BOOL HasComments(int move) const { return GetCount(move) > 0; }
  // Number of texts of move (0 when none).
  int GetCount(int move) const;
  // The texts of move, or null when it has none.
  const CStringArray* GetList(int move) const { return m_table.Find(Key(move)); }
  // out = the index-th text of move, or empty when there is none.
  void GetAt(CString& out, int move, int index) const;
  // out = one display line "[%03d] text\r\n" per text of move; empty when none. At most about
  // maxBytes: the newest lines that fit, or the start of the newest text alone when even it does
  // not, cut before a whole character and marked "...".
  void GetCommentText(int move, CString& out, int maxBytes = INT_MAX) const;
  // out = every text of move followed by "\r\n"; returns the number of texts.
  int GetRawText(int move, CString& out) const;
  // Deletes every text array and empties the map.
  void RemoveAll();

private:
  static WORD Key(int move) { return static_cast<WORD>(move); }

  CCommentTable m_table;
};
