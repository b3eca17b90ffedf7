#pragma once
// Tool tips: tools (a window, or a rectangle of one) with texts; the owner relays mouse messages
// and the tip shows its text next to the cursor while the mouse rests over a tool.

#include <string>
#include <vector>

#include "ControlModel.h"

namespace platform::detail {

class ToolTipModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  struct Tool {
    UINT flags{0};
    HWND hwnd{nullptr};
    UINT_PTR id{0};
    RECT rect{0, 0, 0, 0};
    std::string text;
  };

  Tool* Find(const TOOLINFO& info);
  // The tool under a relayed mouse message; null when none.
  Tool* ToolAt(const MSG& msg);
  void Relay(const MSG& msg);
  void Pop();

  std::vector<Tool> m_tools;
  bool m_active{true};
  const Tool* m_shown{nullptr};
};

}  // namespace platform::detail
