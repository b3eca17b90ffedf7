#include "client/model/CommentMap.h"

#include <algorithm>
#include <climits>
#include <string_view>

int CCommentMap::AddComment(int move, const CString& text) {
  CStringArray* texts = m_table.Find(Key(move));
  if (!texts) {
    texts = new CStringArray;
    m_table.SetAt(Key(move), texts);
  }
  texts->Add(text);
  return 1;
}

int CCommentMap::GetCount(int move) const {
  const CStringArray* texts = GetList(move);
  return texts ? static_cast<int>(texts->GetSize()) : 0;
}

void CCommentMap::GetAt(CString& out, int move, int index) const {
  const CStringArray* texts = GetList(move);
  out.Empty();
  if (texts && index >= 0 && index < texts->GetSize()) out = texts->GetAt(index);
}

void CCommentMap::GetCommentText(int move, CString& out, int maxBytes) const {
  out.Empty();
  const CStringArray* texts = GetList(move);
  if (!texts || texts->GetSize() == 0) return;
  CString label;
  label.Format("[%03d] ", move);
  const std::size_t frame = static_cast<std::size_t>(label.GetLength()) + 2;
  const std::size_t limit = static_cast<std::size_t>(std::max(maxBytes, 0));
  // From the newest text back, as many whole lines as the limit holds: a text only ever grows
  // the end of the commentary, which is what a person reads first.
  INT_PTR first = texts->GetSize();
  std::size_t total = 0;
  while (first > 0) {
    const std::size_t line = frame + static_cast<std::size_t>(texts->GetAt(first - 1).GetLength());
    if (total + line > limit) break;
    total += line;
    --first;
  }
  if (first == texts->GetSize()) {
    const CString& newest = texts->GetAt(first - 1);
    const std::string_view bytes(newest.GetString(), static_cast<std::size_t>(newest.GetLength()));
    std::size_t cut = 0;
    while (cut < bytes.size()) {
      const std::size_t next = std::min(bytes.size(), cut + static_cast<std::size_t>(Cp949CharLength(bytes, cut)));
      if (frame + next + 3 > limit) break;
      cut = next;
    }
    out = label + CString(bytes.substr(0, cut)) + "...\r\n";
    return;
  }
  for (INT_PTR i = first; i < texts->GetSize(); ++i) {
    out += label;
    out += texts->GetAt(i);  // appended whole: a text may hold any byte
    out += "\r\n";
  }
}

int CCommentMap::GetRawText(int move, CString& out) const {
  out.Empty();
  const CStringArray* texts = GetList(move);
  if (!texts) return 0;
  for (INT_PTR i = 0; i < texts->GetSize(); ++i) {
    out += texts->GetAt(i);
    out += "\r\n";
  }
  return static_cast<int>(texts->GetSize());
}

void CCommentMap::RemoveAll() {
  POSITION pos = m_table.GetStartPosition();
  while (pos) {
    WORD move = 0;
    CObject* texts = nullptr;
    m_table.GetNextAssoc(pos, move, texts);
    delete texts;
  }
  m_table.RemoveAll();
}
