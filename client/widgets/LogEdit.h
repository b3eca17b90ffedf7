#pragma once
// CLogEdit: the edit that collects the relay's question-and-answer text. It keeps only the last
// 2000 characters and scrolls so that the newest line shows.

#include "platform/controls.h"

class CLogEdit : public CEdit {
public:
  static constexpr int kMaxKept = 2000;

  CLogEdit() = default;
  ~CLogEdit() override = default;

  // Remembers the owner and turns soft line breaks on.
  void Init(CWnd* owner);
  // Appends text after cutting what the edit holds to its last kMaxKept characters.
  void AppendText(const char* text);
  // Appends, then scrolls down so the last line is visible.
  void AppendAndScroll(const char* text);
  void ScrollToEnd();
  void Clear();

private:
  CWnd* m_owner{nullptr};
};
