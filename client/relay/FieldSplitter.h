#pragma once
// CFieldSplitter: cuts one text at one separator into fields kept in its own copy of the text.
// Field pointers are valid while the splitter lives and until the next split.

class CFieldSplitter {
public:
  static constexpr int kMaxFields = 100;

  CFieldSplitter() = default;
  ~CFieldSplitter() { Clear(); }
  CFieldSplitter(const CFieldSplitter&) = delete;
  CFieldSplitter& operator=(const CFieldSplitter&) = delete;

  // Frees the copy; count becomes 0.
  void Clear();
  // Splits text (not changed) at separator; a trailing empty field is dropped. Returns the
  // number of fields, or -1 for an empty text. Only the first kMaxFields are stored; a text with
  // more returns its real count (above kMaxFields), which callers reject.
  int Split(const char* text, char separator);
  int GetCount() const { return m_count; }
  // Field index, or null when index is not below the count or beyond the stored fields.
  const char* GetField(int index) const;

private:
  char* m_copy{nullptr};
  char* m_fields[kMaxFields]{};
  int m_count{0};
};
