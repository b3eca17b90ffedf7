#pragma once
// CCoolMenuManager: gives the frame's pop-up menus the look of its tool bar. It hooks the frame,
// turns each pop-up's items into owner-drawn ones just before the pop-up shows, draws them with
// the tool bar's button images, check frames and the accelerator texts, and turns them back
// into plain string items when the menu closes.

#include <list>
#include <map>
#include <set>
#include <vector>

#include "client/widgets/SubclassWnd.h"
#include "platform/controls_imagelist.h"
#include "platform/frames.h"
#include "platform/gdi.h"
#include "platform/menus.h"

struct CMenuItemRecord;

class CCoolMenuManager : public CSubclassWnd {
  DECLARE_DYNAMIC(CCoolMenuManager)
public:
  // Makes the dot that checked radio items show.
  CCoolMenuManager();
  // Releases resources; the frame's destruction unhooks it.
  ~CCoolMenuManager() override;

  // Hooks frame.
  void AttachToFrame(CFrameWnd* frame);
  // Adds the images of one tool bar resource; FALSE when its bitmap or resource is missing or its
  // image size differs from the tool bars loaded before.
  BOOL AddToolbarImages(UINT toolbarId);
  BOOL AddToolbarImagesMany(const UINT* ids, int count);
  // The command's image index in the image list, or -1.
  int FindImageIndex(UINT id) const;
  CFont* EnsureMenuFont();
  // Items of menu converted to owner-drawn (ownerDraw) or back to plain strings.
  void SetMenuOwnerDraw(HMENU menu, BOOL isSystemMenu, BOOL ownerDraw);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void ReleaseResources();
  virtual void ReloadImages();
  virtual void OnInitMenuPopup(HMENU menu, UINT index, BOOL isSystemMenu);
  virtual BOOL OnMeasureItem(LPMEASUREITEMSTRUCT measure);
  virtual BOOL OnDrawItem(LPDRAWITEMSTRUCT draw);
  virtual LRESULT OnMenuChar(char typed, UINT flags, HMENU menu);
  virtual void OnMenuSelect(UINT item, UINT flags, HMENU menu);

  // The manager's record in an item's data word, or null when the data is someone else's. Only
  // records this manager made are read: another owner's data word may be no pointer at all.
  CMenuItemRecord* RecordOf(ULONG_PTR data) const;
  const std::list<HMENU>& GetConvertedMenus() const { return m_convertedMenus; }
  CSize GetImageSize() const { return m_imageSize; }
  int GetImageCount() const { return m_imageList.GetSafeHandle() ? m_imageList.GetImageCount() : 0; }

  BOOL m_bOwnerDrawMenus{TRUE};
  BOOL m_bAccelText{TRUE};
  BOOL m_bDisabledByDrawState{FALSE};
  BOOL m_bEmbossInColor{FALSE};

private:
  void CopyAccelerators(HACCEL table);
  void FreeAccelerators();
  // Appends id's accelerator keys after a tab; true when it has any.
  bool AddAcceleratorText(CString& text, UINT id) const;
  void DrawItemText(CDC& dc, const CMenuItemRecord& record, CRect rect, UINT format);
  // A disabled image: embossed, or through DrawState when m_bDisabledByDrawState.
  void DrawEmbossed(CDC& dc, int index, CPoint at);
  // The check box of an item without an image: bitmap (the item's own or the radio dot) in a
  // sunken frame, or a drawn tick when bitmap is null.
  void DrawCheckFrame(CDC& dc, CRect box, bool selected, HBITMAP bitmap);
  // The bitmap an item without an image shows in its box (its own checked or unchecked one, or
  // the radio dot); null for the drawn tick.
  HBITMAP CheckBitmapOf(const DRAWITEMSTRUCT& draw, const CMenuItemRecord& record, bool checked);
  // Draws the radio dot bitmap: a black dot on white of the system's check-mark size.
  void MakeRadioDot();

  CFrameWnd* m_pFrameWnd{nullptr};
  std::vector<UINT> m_toolbarIds;
  CImageList m_imageList;
  std::map<WORD, int> m_imageIndexById;
  std::map<WORD, int> m_accelById;  // command -> its last entry in m_pAccelTable
  std::vector<ACCEL> m_accelTable;  // copied table; each entry's cmd holds the distance back
  bool m_hasAccelTable{false};
  std::list<HMENU> m_convertedMenus;
  std::set<const CMenuItemRecord*> m_records;  // records alive in converted items
  CSize m_imageSize{0, 0};
  CSize m_buttonSize{0, 0};
  CFont m_menuFont;
  CBitmap m_radioDot;  // a black dot on white, the mark of a checked radio item
};
