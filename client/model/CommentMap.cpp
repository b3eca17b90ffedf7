#include "client/model/CommentMap.h"

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

void CCommentMap::GetCommentText(int move, CString& out) const {
  out.Empty();
  const CStringArray* texts = GetList(move);
  if (!texts) return;
  for (INT_PTR i = 0; i < texts->GetSize(); ++i) {
    out.AppendFormat("[%03d] ", move);
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
