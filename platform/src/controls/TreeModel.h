#pragma once
// Tree views: items with text, data, images and children; one selected item, announced to the
// parent before returning (TVN_SELCHANGING / TVN_SELCHANGED). With TVS_HASBUTTONS, TVS_HASLINES
// and TVS_LINESATROOT items show +/- buttons and dotted lines; a person opens and closes items by
// their buttons, a double click or the keys.

#include <memory>
#include <string>
#include <vector>

#include "ControlModel.h"

namespace platform::detail {

class TreeModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  struct Node {
    std::string text;
    LPARAM data{0};
    int image{0};
    int selectedImage{0};
    UINT state{0};
    Node* parent{nullptr};
    std::vector<std::unique_ptr<Node>> children;
  };

  HTREEITEM ItemOf(Node* node) const { return reinterpret_cast<HTREEITEM>(node); }
  // The node of a handle that belongs to this tree; null otherwise (stale or foreign handles).
  Node* Find(HTREEITEM item) const;
  HTREEITEM Insert(const TVINSERTSTRUCT& insert);
  bool Delete(HTREEITEM item);
  void Forget(Node& node);
  bool Select(HTREEITEM item, UINT action);
  HTREEITEM Next(HTREEITEM item, UINT relation) const;
  bool SetItem(const TVITEM& item);
  bool GetItem(TVITEM& item) const;
  void FillItem(const Node* node, TVITEM& item) const;
  void Visible(Node& node, std::vector<Node*>& out);
  std::vector<Node*> Rows();
  Node* NodeAt(POINT point);
  // Opens, closes or toggles node (a TVE_* code); byPerson tells the parent before and after.
  bool Expand(Node* node, UINT code, bool byPerson);
  bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void KeyDown(UINT key);
  // Depth counted in indents: root items at 0, or 1 when lines reach the root.
  int Level(const Node* node) const;
  // Left edge of the node's image or text.
  int ItemLeft(const Node* node) const;
  // The +/- box of node, empty when it has none.
  RECT ButtonRect(const Node* node, int row) const;
  // Whether point (client coordinates) is on node's +/- box.
  bool OnButton(const Node* node, POINT point) const;
  void PaintLines(CDC& dc, const Node* node, int top);
  // Scrolls so the selected row shows.
  void EnsureSelectedVisible();
  int VisibleRows() const;

  Node m_root;
  std::vector<Node*> m_all;  // every live node, to check handles
  Node* m_selected{nullptr};
  HIMAGELIST m_images{nullptr};
  int m_rowHeight{17};
  int m_indent{19};
  int m_top{0};  // the first row shown
};

}  // namespace platform::detail
