#pragma once
// The client's proxy for one board control: creates the control by its class identifier and makes
// each property and method the client uses one automation call with a fixed dispatch id and fixed
// argument types. The control's state lives in the control; this window holds none.

#include "platform/olehost.h"
#include "platform/runtime_class.h"

// The board control's class identifier, also named by the dialog templates that host it.
constexpr CLSID CLSID_StolvexControl = GuidFromText("{87C23E88-067C-11D3-A9BF-00A024930AD4}");

// Events of the control, for the hosts' sink maps.
enum StolvexEvent : DISPID {
  STOLVEX_EVENT_NUMOFEAT = 1,    // (I2 colour, I2 count, I4 window)
  STOLVEX_EVENT_ERROR = 2,       // (I2 code, I4 window)
  STOLVEX_EVENT_POSITION = 3,    // (I2 row, I2 col, I2 colour, I4 window)
};

class CStolvex : public CWnd {
  DECLARE_DYNCREATE(CStolvex)

public:
  // Creates the control as a child window; zero when it is not registered or cannot be made.
  using CWnd::Create;
  BOOL Create(LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

  LONG GetGameMode();
  void SetGameMode(LONG mode);
  SHORT GetUserColor();
  void SetUserColor(SHORT colour);
  // Negative for the white player's handicap.
  void SetNumOfAdvatage(SHORT count);
  SHORT GetLogicalPos();
  void SetBreakPoint(SHORT position);
  void GoPrev(SHORT flag);
  void GoNext(SHORT flag);
  void SetDrawStone(SHORT row, SHORT col, SHORT colour, SHORT moveNumber);
  // An array of the move records whose state equals state.
  VARIANT GetStone(SHORT state);
  // The history list object.
  VARIANT GetStoneList();
  // (-1, -1) repaints the whole board.
  void Redraw(SHORT row, SHORT col);
  SHORT GetLastColor();
  void Init();
  void RemoveStone(SHORT mask);
  void SetStone(SHORT row, SHORT col, SHORT mask);
  void UnCheckStone(SHORT mask);
  // Stones removed by the last capture.
  SHORT GetChangedCount();
  void SetMyTurn(SHORT flag);
  // Text of the points that carry the mask ("|ed|fd|"), empty when none does.
  CString GetBigPos(SHORT mask);
  void SetBigPos(SHORT index, SHORT flag);
};
