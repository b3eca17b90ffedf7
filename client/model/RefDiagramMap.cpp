#include "client/model/RefDiagramMap.h"

#include "client/model/BadukBoard.h"
#include "client/model/RecordValue.h"

CRefDiagram* CRefDiagramMap::OpenFor(int move) {
  if (!m_open) {
    m_open = new CRefDiagram;
    m_open->Move = move;
  }
  return m_open->Move == move ? m_open : nullptr;
}

int CRefDiagramMap::AddDiagramMove(int move, int x, int y, DWORD state, int seq) {
  // Checked before opening: a dropped stone must leave the map as if it never came.
  if (!CBadukBoard::IsOnBoard(x, y)) return 0;
  CRefDiagram* diagram = OpenFor(move);
  if (!diagram) return 0;
  diagram->Stones.Add(new CStoneNode(x, y, state, seq, 0));
  return 1;
}

int CRefDiagramMap::AddDiagramText(int move, const CString& text) {
  CRefDiagram* diagram = OpenFor(move);
  if (!diagram) return 0;
  diagram->Texts.Add(text);
  return 1;
}

int CRefDiagramMap::CloseDiagram(int move, int base) {
  if (!m_open) return -1;
  CRefDiagramList* list = FindList(move);
  if (!list) {
    list = new CRefDiagramList;
    SetAt(Key(move), list);
  }
  m_open->Base = base;
  const int index = static_cast<int>(list->Add(m_open));
  m_open = nullptr;
  return index;
}

void CRefDiagramMap::DiscardOpenDiagram() {
  delete m_open;
  m_open = nullptr;
}

CRefDiagramList* CRefDiagramMap::FindList(int move) const {
  CObject* list = nullptr;
  return Lookup(Key(move), list) ? static_cast<CRefDiagramList*>(list) : nullptr;
}

CRefDiagram* CRefDiagramMap::FindDiagram(int move, int i) const {
  const CRefDiagramList* list = FindList(move);
  return list ? list->GetDiagram(i) : nullptr;
}

int CRefDiagramMap::GetDiagramCount(int move) const {
  const CRefDiagramList* list = FindList(move);
  return list ? static_cast<int>(list->GetSize()) : 0;
}

CNodeArray* CRefDiagramMap::GetDiagramMoves(int move, int i) const {
  CRefDiagram* diagram = FindDiagram(move, i);
  return diagram ? &diagram->Stones : nullptr;
}

int CRefDiagramMap::GetDiagramBase(int move, int i) const {
  const CRefDiagram* diagram = FindDiagram(move, i);
  return diagram ? diagram->Base : 0;
}

int CRefDiagramMap::GetDiagramText(int move, int i, CString& out) const {
  out.Empty();
  const CRefDiagram* diagram = FindDiagram(move, i);
  if (!diagram) return 0;
  for (INT_PTR t = 0; t < diagram->Texts.GetSize(); ++t) {
    out += diagram->Texts.GetAt(t);
    out += "\r\n";
  }
  return 1;
}

void CRefDiagramMap::RemoveDiagram(int move, int i) {
  CRefDiagramList* list = FindList(move);
  if (!list) return;
  if (list->GetSize() == 1)
    RemoveDiagrams(move);
  else
    list->DeleteAt(i);
}

void CRefDiagramMap::RemoveDiagrams(int move) {
  delete FindList(move);
  RemoveKey(Key(move));
}

void CRefDiagramMap::RemoveAll() {
  POSITION pos = GetStartPosition();
  while (pos) {
    WORD move = 0;
    CObject* list = nullptr;
    GetNextAssoc(pos, move, list);
    delete list;
  }
  CMapWordToOb::RemoveAll();
  delete m_open;
  m_open = nullptr;
}

void CRefDiagramMap::WriteDiagram(int move, int i, const CString& prefix, CString& out) const {
  out.Empty();
  const CRefDiagram* diagram = FindDiagram(move, i);
  if (!diagram) return;
  CString name;
  name.Format(Cp949("%d번 착수의 %d번참고도"), move, i + 1);
  out.Format("\r\n\r\n(RN[%s]PT[%d]", name.GetString(), diagram->Base);
  out += prefix;
  CString stone;
  for (INT_PTR s = 0; s < diagram->Stones.GetSize(); ++s) {
    const CStoneNode* node = diagram->Stones.GetNode(s);
    // A point off the board would make the whole file unreadable, or break its brackets.
    if (node != nullptr && CBadukBoard::IsOnBoard(node->GetX(), node->GetY())) {
      if (node->IsMark()) {
        // A mark is named by its relay letter: a reader that knows it restores the mark, one
        // that does not passes over it; as a move it would come back as a white stone.
        stone.Format("%c[%c%c]", node->GetMarkKind() == 1 ? 'K' : 'E', node->GetX() + 0x60, node->GetY() + 0x60);
      } else {
        node->FormatMove(stone);
      }
      out += ";";
      out += stone;
    }
  }
  CString texts;
  GetDiagramText(move, i, texts);
  if (!texts.IsEmpty()) out += "C[" + CRecordValue::Escape(texts) + "]";
  out += ")";
}
