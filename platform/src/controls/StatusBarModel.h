#pragma once
// Status bars: panes given by their right edges (-1: to the end), each with a text.

#include <string>
#include <vector>

#include "ControlModel.h"

namespace platform::detail {

class StatusBarModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  struct Pane {
    int right{-1};
    std::string text;
    UINT kind{0};  // SBT_*
  };

  bool Valid(int pane) const { return pane >= 0 && pane < static_cast<int>(m_panes.size()); }
  RECT PaneRect(int pane) const;
  bool SetParts(int count, const int* rights);

  std::vector<Pane> m_panes{Pane{}};
};

}  // namespace platform::detail
