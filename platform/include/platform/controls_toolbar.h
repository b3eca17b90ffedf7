#pragma once
// Tool bar controls: buttons with images from a bitmap strip and command ids.

#include "platform/controls_defs.h"
#include "platform/controls_imagelist.h"
#include "platform/windows.h"

class CToolBarCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetBitmapSize(CSize size);
  void SetButtonSize(CSize size);
  // Adds the images of a strip (grey 192,192,192 is transparent); index of the first, -1 on failure.
  int AddBitmap(int count, CBitmap* bitmap);
  // The images the buttons show (the caller keeps the list); returns the list it replaces.
  HIMAGELIST SetImageList(CImageList* images);
  // The images a button shows while it is pressed (the caller keeps the list); null: the normal ones.
  HIMAGELIST SetHotImageList(CImageList* images);
  // Keeps every button between minWidth and maxWidth pixels wide.
  BOOL SetButtonWidth(int minWidth, int maxWidth);
  BOOL AddButtons(int count, const TBBUTTON* buttons);
  BOOL DeleteButton(int index);
  int GetButtonCount() const;
  BOOL GetButton(int index, TBBUTTON* button) const;
  int CommandToIndex(UINT command) const;
  BOOL GetItemRect(int index, LPRECT rect) const;
  BOOL EnableButton(int command, BOOL enable = TRUE);
  BOOL CheckButton(int command, BOOL check = TRUE);
  BOOL PressButton(int command, BOOL press = TRUE);
  BOOL HideButton(int command, BOOL hide = TRUE);
  BOOL IsButtonEnabled(int command) const;
  BOOL IsButtonChecked(int command) const;
  int GetState(int command) const;
  BOOL SetState(int command, UINT state);
  // The image a button shows: set by the command's button, read back (-1 for no such button).
  BOOL ChangeBitmap(int command, int image);
  int GetBitmap(int command) const;
};
