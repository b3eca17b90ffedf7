#include "client/model/GameRecordFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <new>
#include <vector>

#include "client/relay/FieldSplitter.h"
#include "client/model/RecordValue.h"

namespace {

constexpr int kMaxTagLength = 100;
constexpr std::uint64_t kTwoGiB = std::uint64_t{1} << 31;  // the read buffer is indexed with int

bool IsSeparator(char ch) { return ch == '\t' || ch == '\r' || ch == '\n' || ch == ' '; }
// Letters are ASCII only: code page 949 bytes (0x80 and up) never start a name.
bool IsLetter(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
char UpperCase(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }
char LowerCase(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

// Stored ranks are dan numbers 1..9; the file keeps 20 - rank (11..19) and 0 for none.
int RankToCode(int rank) {
  if (rank < 1) return 0;
  return 20 - std::min(rank, 9);
}
int CodeToRank(int code) { return code >= 11 && code <= 19 ? 20 - code : 0; }

int PackMove(int x, int y, int colour) { return (colour == 2 ? 1 : 0) | x << 1 | y << 6; }

void AppendText(CString& out, const char* opening, const CString& value) {
  out += opening;
  out += CRecordValue::Escape(value);
  out += "]";
}

// Splits value at separator into exactly count integers; false for any other number of fields.
bool SplitNumbers(const CString& value, char separator, int count, int* numbers) {
  CFieldSplitter splitter;
  if (splitter.Split(value, separator) != count) return false;
  for (int i = 0; i < count; ++i) numbers[i] = CRecordValue::ParseInt(splitter.GetField(i));
  return true;
}

}  // namespace

// ---- operations

BOOL CGameRecordFile::Write(const char* fileName, CNodeArray* moves, CCommentMap* comments,
                            CRefDiagramMap* diagrams, CGameInfo* info) {
  Begin(fileName, kWriting, moves, comments, diagrams, info);
  // The record is put together first and replaces the file in one step: a full disk or a kill
  // halfway leaves the old record whole.
  CString text;
  WriteOpening(text);
  WriteBody(text);
  WriteClosing(text);
  errno = 0;
  const BOOL ok = platform::ReplaceFileContents(m_fileName, text.str());
  if (!ok) m_error = platform::IsWriteFailure(errno) ? kWriteFailed : kOpenFailed;
  Reset();
  return ok;
}

BOOL CGameRecordFile::Read(const char* fileName, CNodeArray* moves, CCommentMap* comments,
                           CRefDiagramMap* diagrams, CGameInfo* info) {
  Begin(fileName, kReading, moves, comments, diagrams, info);
  BOOL ok = LoadFile() && ReadHeader();
  if (ok) {
    ScanMainLine();
    ok = ReadBody();
    if (!ok) DropOpenGroup();
  }
  Reset();
  return ok;
}

BOOL CGameRecordFile::WriteHeader(CString& out) const {
  out.Empty();
  if (!m_info) return TRUE;
  const CGameInfo& info = *m_info;
  CString numbers;
  AppendText(out, "\r\nTE[", info.m_title);
  AppendText(out, "\r\nSU[", Cp949("생중계"));
  numbers.Format("\r\nRD[%04d-%02d-%02d]\r\n", info.m_year, info.m_month, info.m_day);
  out += numbers;
  AppendText(out, "\r\nPC[", info.m_place);
  numbers.Format("\r\nBT[%d:%d]", info.m_blackHours, info.m_blackMinutes);
  out += numbers;
  AppendText(out, "\r\nPB[", info.m_blackName);
  numbers.Format("\r\nBR[%d]", RankToCode(info.m_blackRank));
  out += numbers;
  AppendText(out, "\r\nBC[", info.m_blackAffiliation);
  numbers.Format("\r\nBD[%d]\r\nWT[%d:%d]", info.m_blackBD, info.m_whiteHours, info.m_whiteMinutes);
  out += numbers;
  AppendText(out, "\r\n\r\nPW[", info.m_whiteName);
  numbers.Format("\r\nWR[%d]", RankToCode(info.m_whiteRank));
  out += numbers;
  AppendText(out, "\r\nWC[", info.m_whiteAffiliation);
  numbers.Format("\r\nWD[%d]", info.m_whiteWD);
  out += numbers;
  AppendText(out, "\r\nRE[", info.m_result);
  return TRUE;
}

void CGameRecordFile::Begin(const char* fileName, Mode mode, CNodeArray* moves,
                            CCommentMap* comments, CRefDiagramMap* diagrams, CGameInfo* info) {
  m_fileName = fileName;
  m_mode = mode;
  m_moves = moves;
  m_comments = comments;
  m_diagrams = diagrams;
  m_info = info;
  m_mainCount = 0;
}

void CGameRecordFile::Reset() {
  m_mode = kIdle;
  m_mainCount = 0;
  m_inGroup = false;
  m_takeBackState = 0;
  m_moves = nullptr;
  m_comments = nullptr;
  m_diagrams = nullptr;
  m_info = nullptr;
  m_buffer.reset();
  m_length = m_pos = m_end = 0;
  m_line.clear();
  m_fullLine.clear();
}

// ---- writing

void CGameRecordFile::WriteOpening(CString& out) const {
  CString header;
  WriteHeader(header);
  out += "(";
  out += header;
}

void CGameRecordFile::WriteBody(CString& out) const {
  if (!m_moves) return;
  MainLine line;
  BuildMainLine(line);
  AppendOpeningNotes(out, line);
  for (INT_PTR i = 0; i < m_moves->GetSize(); ++i) AppendMove(out, static_cast<int>(i + 1), line);
}

void CGameRecordFile::WriteClosing(CString& out) const { out += ")"; }

void CGameRecordFile::BuildMainLine(MainLine& line) const {
  line.ends.reserve(static_cast<std::size_t>(m_moves->GetSize()) + 1);
  line.ends.push_back(0);
  CString move;
  for (INT_PTR i = 0; i < m_moves->GetSize(); ++i) {
    if (const CStoneNode* node = m_moves->GetNode(i)) {
      node->FormatMove(move);
      line.text += ";";
      line.text += move;
    }
    line.ends.push_back(line.text.GetLength());
  }
}

void CGameRecordFile::AppendMove(CString& out, int index, const MainLine& line) const {
  // The node of move index is the main line's text between the ends of moves index - 1 and index.
  const int begin = line.ends[static_cast<std::size_t>(index - 1)];
  const int end = line.ends[static_cast<std::size_t>(index)];
  if (begin == end) return;
  out += line.text.Mid(begin, end - begin);
  AppendNotes(out, index, line);
}

void CGameRecordFile::AppendOpeningNotes(CString& out, const MainLine& line) const {
  // Commentary and diagrams given before the first move go into a node of their own ahead of
  // it, where a reader files them under move 0; a game without them keeps its bytes as before.
  CString text;
  const bool hasComment = m_comments && m_comments->GetRawText(0, text) > 0;
  const bool hasDiagrams = m_diagrams && m_diagrams->GetDiagramCount(0) > 0;
  if (!hasComment && !hasDiagrams) return;
  out += ";";
  AppendNotes(out, 0, line);
}

void CGameRecordFile::AppendNotes(CString& out, int index, const MainLine& line) const {
  CString text;
  if (m_comments && m_comments->GetRawText(index, text) > 0) AppendText(out, "C[", text);
  if (!m_diagrams) return;
  const int moveCount = static_cast<int>(m_moves->GetSize());
  for (int j = 0; j < m_diagrams->GetDiagramCount(index); ++j) {
    // The prefix repeats the main line in front of the diagram's own stones; a reader skips
    // only leading stones that repeat the main line, so a prefix cut short at the end of the
    // main line (a diagram branching beyond it) still reads back whole.
    const int prefixLength = static_cast<int>(
        std::clamp<long long>(static_cast<long long>(m_diagrams->GetDiagramBase(index, j)) - 1, 0, moveCount));
    const CString prefix =
        prefixLength >= 1 ? line.text.Left(line.ends[static_cast<std::size_t>(prefixLength)]) : CString();
    m_diagrams->WriteDiagram(index, j, prefix, text);
    out += text;
  }
}

// ---- reading

BOOL CGameRecordFile::LoadFile() {
  CFileException error;
  if (!m_file.Open(m_fileName, CFile::modeRead | CFile::typeBinary, &error)) {
    m_error = kOpenFailed;
    return FALSE;
  }
  BOOL ok = FALSE;
  try {
    const std::uint64_t length = m_file.GetLength();
    if (length >= kTwoGiB) {
      m_error = kNoMemory;
    } else if (!(m_buffer.reset(new (std::nothrow) char[length + 1]), m_buffer)) {
      m_error = kNoMemory;
    } else if (ReadFully(m_buffer.get(), static_cast<UINT>(length)) != length) {
      m_error = kShortRead;
      m_buffer.reset();
    } else {
      m_length = static_cast<int>(length);
      m_buffer[m_length] = '\0';
      m_pos = 0;
      m_end = m_length;
      ok = TRUE;
    }
  } catch (CFileException* e) {
    e->Delete();
    m_error = kShortRead;
    m_buffer.reset();
  }
  m_file.Abort();
  return ok;
}

UINT CGameRecordFile::ReadFully(char* buffer, UINT count) {
  // A single read may stop short of a large file's end without being at it.
  UINT total = 0;
  while (total < count) {
    const UINT got = m_file.Read(buffer + total, count - total);
    if (got == 0) break;
    total += got;
  }
  return total;
}

BOOL CGameRecordFile::ReadHeader() {
  m_error = kBadHeader;
  const int open = FindChar('(', 0, m_end);
  if (open < 0) return FALSE;
  m_pos = open + 1;
  SkipSeparators(m_end);
  const int semicolon = FindHeaderEnd(m_pos);
  if (semicolon < 0) return FALSE;
  const char* data = m_buffer.get();
  for (;;) {
    SkipSeparators(semicolon);
    const int bracket = FindChar('[', m_pos, semicolon);
    if (bracket < 0) break;
    const int valueStart = [&] {
      int p = bracket + 1;
      while (p < semicolon && IsSeparator(data[p])) ++p;
      return p;
    }();
    const int valueEnd = FindValueEnd(valueStart, semicolon);
    if (valueEnd < 0) break;
    int tagEnd = bracket;
    while (tagEnd > m_pos && IsSeparator(data[tagEnd - 1])) --tagEnd;
    if (tagEnd - m_pos >= kMaxTagLength) return FALSE;
    CString tag(data + m_pos, tagEnd - m_pos);
    ApplyHeaderTag(tag.MakeUpper(), CRecordValue::Unescape(data + valueStart, valueEnd - valueStart));
    m_pos = valueEnd + 1;
  }
  m_pos = semicolon + 1;
  m_error = 0;
  return TRUE;
}

void CGameRecordFile::ApplyHeaderTag(const CString& tag, const CString& value) {
  if (!m_info || value.IsEmpty()) return;
  CGameInfo& info = *m_info;
  int numbers[3] = {};
  if (tag == "TE") {
    info.m_title = value;
  } else if (tag == "RD") {
    if (SplitNumbers(value, '-', 3, numbers)) {
      info.m_year = numbers[0];
      info.m_month = numbers[1];
      info.m_day = numbers[2];
    }
  } else if (tag == "PC") {
    info.m_place = value;
  } else if (tag == "BT") {
    if (SplitNumbers(value, ':', 2, numbers)) {
      info.m_blackHours = numbers[0];
      info.m_blackMinutes = numbers[1];
    }
  } else if (tag == "WT") {
    if (SplitNumbers(value, ':', 2, numbers)) {
      info.m_whiteHours = numbers[0];
      info.m_whiteMinutes = numbers[1];
    }
  } else if (tag == "BD") {
    info.m_blackBD = CRecordValue::ParseInt(value);
  } else if (tag == "WD") {
    info.m_whiteWD = CRecordValue::ParseInt(value);
  } else if (tag == "PB") {
    info.m_blackName = value;
  } else if (tag == "BR") {
    info.m_blackRank = CodeToRank(CRecordValue::ParseInt(value));
  } else if (tag == "BC") {
    info.m_blackAffiliation = value;
  } else if (tag == "PW") {
    info.m_whiteName = value;
  } else if (tag == "WR") {
    info.m_whiteRank = CodeToRank(CRecordValue::ParseInt(value));
  } else if (tag == "WC") {
    info.m_whiteAffiliation = value;
  } else if (tag == "RE") {
    info.m_result = value;
  }
}

void CGameRecordFile::ScanMainLine() {
  const int start = m_pos;
  CNodeArray* moves = m_moves;
  CCommentMap* comments = m_comments;
  CRefDiagramMap* diagrams = m_diagrams;
  m_moves = nullptr;
  m_comments = nullptr;
  m_diagrams = nullptr;
  ReadBody();  // a failing body fails again, with the targets, when it is read for real
  m_fullLine.swap(m_line);
  m_line.clear();
  m_moves = moves;
  m_comments = comments;
  m_diagrams = diagrams;
  m_pos = start;
  m_mainCount = 0;
  m_inGroup = false;
  m_takeBackState = 0;
}

BOOL CGameRecordFile::ReadBody() {
  const char* data = m_buffer.get();
  for (;;) {
    SkipSeparators(m_end);
    // A file that ends inside a diagram group is cut short.
    if (m_pos >= m_end) return !m_inGroup;
    const char ch = data[m_pos];
    if (IsLetter(ch)) {
      const int nameStart = m_pos;
      while (m_pos < m_end && (IsLetter(data[m_pos]) || IsDigit(data[m_pos]))) ++m_pos;
      const int nameLength = m_pos - nameStart;
      SkipSeparators(m_end);
      if (m_pos >= m_end || data[m_pos] != '[') return FALSE;
      const int valueStart = m_pos + 1;
      const int valueEnd = FindValueEnd(valueStart, m_end);
      if (valueEnd < 0) return FALSE;
      if (!ApplyProperty(data + nameStart, nameLength, data + valueStart, valueEnd - valueStart))
        return FALSE;
      m_pos = valueEnd + 1;
    } else if (ch == '(') {
      if (m_inGroup) return FALSE;  // diagram groups do not nest
      OpenGroup();
      ++m_pos;
    } else if (ch == ')') {
      if (!m_inGroup) return TRUE;  // the end of the game: nothing behind it is read
      CloseGroup();
      ++m_pos;
    } else {
      ++m_pos;
    }
  }
}

void CGameRecordFile::OpenGroup() {
  m_inGroup = true;
  m_groupCount = 0;
  m_groupBase = 0;
  m_groupHasBase = false;
  m_groupSkipped = 0;
  m_groupSkipping = true;
  m_diagramWasOpen = m_diagrams && m_diagrams->GetOpenDiagram();
  m_takeBackState = 0;
}

void CGameRecordFile::DropOpenGroup() {
  if (m_inGroup && m_diagrams && !m_diagramWasOpen) m_diagrams->DiscardOpenDiagram();
}

bool CGameRecordFile::RepeatsMainLine(int k, int x, int y, int colour) const {
  const auto index = static_cast<std::size_t>(k - 1);
  const std::vector<int>& line = index < m_line.size() ? m_line : m_fullLine;
  return index < line.size() && line[index] == PackMove(x, y, colour);
}

void CGameRecordFile::CloseGroup() {
  // A PT is kept as written (0 included); a group without one branches at the current move.
  if (!m_groupHasBase && m_groupBase < 1) m_groupBase = m_mainCount;
  m_inGroup = false;
  if (m_diagrams) m_diagrams->CloseDiagram(m_mainCount, m_groupBase);
}

BOOL CGameRecordFile::ApplyProperty(const char* name, int nameLength, const char* value, int length) {
  // Every name this reader knows has one or two letters; longer ones are read and ignored.
  if (nameLength > 2) return TRUE;
  const char first = UpperCase(name[0]);
  const char second = nameLength == 2 ? UpperCase(name[1]) : '\0';
  if (first == 'P' && second == 'T') {
    m_groupBase = CRecordValue::ParseInt(value);
    m_groupHasBase = m_inGroup;
    return TRUE;
  }
  if (second != '\0') return TRUE;  // RN and unknown names
  switch (first) {
    case 'B': return ApplyMove(value, length, 2);
    case 'W': return ApplyMove(value, length, 1);
    case 'K': return ApplyMark(value, length, CStoneNode::kMarkK);
    case 'E': return ApplyMark(value, length, CStoneNode::kMarkE);
    case 'U': return ApplyTakeBack(value);
    case 'C': {
      const CString text = CRecordValue::Unescape(value, length);
      if (!m_inGroup && m_comments) m_comments->AddComment(m_mainCount, text);
      if (m_inGroup && m_diagrams) m_diagrams->AddDiagramText(m_mainCount, text);
      return TRUE;
    }
    case 'T':
      if (m_mainCount < 0) return FALSE;
      ApplyTimeStamp(value);
      return TRUE;
    default: return TRUE;
  }
}

bool CGameRecordFile::ParsePoint(const char* value, int length, int& x, int& y) {
  // An escape in the first two bytes makes them a backslash or a bracket: refused either way,
  // so the stored bytes are judged as they stand.
  if (length < 2) return false;
  x = static_cast<unsigned char>(LowerCase(value[0])) - 0x60;
  y = static_cast<unsigned char>(LowerCase(value[1])) - 0x60;
  return x >= 1 && x <= 19 && y >= 1 && y <= 19;
}

BOOL CGameRecordFile::ApplyMark(const char* value, int length, DWORD kind) {
  int x = 0, y = 0;
  if (!ParsePoint(value, length, x, y)) return FALSE;
  // Marks belong to diagrams only; one on the main line means nothing and is passed over.
  if (!m_inGroup || !m_diagrams) return TRUE;
  AddGroupStone(x, y, kind);
  return TRUE;
}

BOOL CGameRecordFile::ApplyMove(const char* value, int length, int colour) {
  int x = 0, y = 0;
  if (!ParsePoint(value, length, x, y)) return FALSE;
  if (!m_inGroup) {
    ++m_mainCount;
    m_line.push_back(PackMove(x, y, colour));
    if (m_moves) m_moves->Add(new CStoneNode(x, y, static_cast<DWORD>(colour), m_mainCount, 0));
    m_takeBackState = 1;
    return TRUE;
  }
  if (!m_diagrams) return TRUE;
  AddGroupStone(x, y, static_cast<DWORD>(colour));
  return TRUE;
}

void CGameRecordFile::AddGroupStone(int x, int y, DWORD state) {
  ++m_groupCount;
  long long number = 0;
  if (m_groupHasBase) {
    // The writer puts up to base - 1 main-line moves in front of a diagram's own stones, fewer
    // when the main line is shorter and none in older files where it was; only stones that
    // repeat the main line are that prefix.
    const bool stone = state == 1 || state == 2;  // a mark never repeats the main line
    if (m_groupSkipping && stone && m_groupCount <= static_cast<long long>(m_groupBase) - 1 &&
        RepeatsMainLine(m_groupCount, x, y, static_cast<int>(state))) {
      ++m_groupSkipped;
      return;
    }
    m_groupSkipping = false;
    number = static_cast<long long>(m_groupCount) - m_groupSkipped;
  } else {
    // Without a PT the stones are numbered as the record files always have: the first gets 2.
    number = static_cast<long long>(m_groupCount) - m_groupBase + 1;
    if (number < 1) return;
  }
  m_diagrams->AddDiagramMove(m_mainCount, x, y, state,
                             static_cast<int>(std::min<long long>(number, INT_MAX)));
}

BOOL CGameRecordFile::ApplyTakeBack(const char* value) {
  // A take-back inside a diagram group belongs to the diagram, never to the main line.
  if (m_inGroup) return TRUE;
  const int n = CRecordValue::ParseInt(value);
  if (m_mainCount < 1 || n != m_mainCount) return FALSE;
  if (m_moves && m_moves->GetSize() > 0) {
    const INT_PTR last = m_moves->GetUpperBound();
    delete m_moves->GetNode(last);
    m_moves->RemoveAt(last);
  }
  if (!m_line.empty()) m_line.pop_back();
  --m_mainCount;
  m_takeBackState = 3;
  return TRUE;
}

void CGameRecordFile::ApplyTimeStamp(const char* value) {
  // Only a stamp right behind a main-line move belongs to it: after a take-back it is the
  // take-back's own, inside or after a group it belongs to no main-line move.
  if (m_takeBackState != 1 || m_inGroup || !m_moves) return;
  CStoneNode* last = m_moves->GetNode(m_moves->GetUpperBound());
  if (!last) return;
  last->Set(last->GetX(), last->GetY(), last->GetState(), last->GetSeq(), CRecordValue::ParseInt(value));
}

void CGameRecordFile::SkipSeparators(int limit) {
  while (m_pos < limit && IsSeparator(m_buffer[m_pos])) ++m_pos;
}

int CGameRecordFile::FindChar(char ch, int from, int limit) const {
  for (int i = from; i < limit; ++i)
    if (m_buffer[i] == ch) return i;
  return -1;
}

int CGameRecordFile::FindHeaderEnd(int from) const {
  // A ";" inside a value (a title may hold one) does not end the header.
  for (int i = from; i < m_end; ++i) {
    if (m_buffer[i] == ';') return i;
    if (m_buffer[i] != '[') continue;
    i = FindValueEnd(i + 1, m_end);
    if (i < 0) return -1;
  }
  return -1;
}

int CGameRecordFile::FindValueEnd(int from, int limit) const {
  for (int i = from; i < limit; ++i)
    if (m_buffer[i] == ']' && CRecordValue::IsClosingBracket(m_buffer.get(), from, i)) return i;
  return -1;
}
