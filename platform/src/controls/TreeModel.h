#pragma once
// Tree views: items with text, data, images and children; one selected item, announced to the
// parent before returning (TVN_SELCHANGING / TVN_SELCHANGED).

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
  Node* NodeAt(POINT point);

  Node m_root;
  std::vector<Node*> m_all;  // every live node, to check handles
  Node* m_selected{nullptr};
  HIMAGELIST m_images{nullptr};
  int m_rowHeight{17};
};

}  // namespace platform::detail
