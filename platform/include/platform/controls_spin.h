#pragma once
// Up-down (spin) controls with a buddy window, and IP address fields.

#include "platform/controls_defs.h"
#include "platform/windows.h"

class CSpinButtonCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetRange(short lower, short upper);
  void SetRange32(int lower, int upper);
  void GetRange32(int& lower, int& upper) const;
  // Kept inside the range; with UDS_SETBUDDYINT the buddy shows it. Returns the previous one.
  int SetPos(int pos);
  // With UDS_SETBUDDYINT, the buddy's number (kept in range) when it holds one.
  int GetPos() const;
  CWnd* SetBuddy(CWnd* buddy);
  CWnd* GetBuddy() const;
};

class CIPAddressCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetAddress(DWORD address);
  void SetAddress(BYTE b1, BYTE b2, BYTE b3, BYTE b4);
  // Number of fields filled (0 when blank, 4 when whole).
  int GetAddress(DWORD& address) const;
  int GetAddress(BYTE& b1, BYTE& b2, BYTE& b3, BYTE& b4) const;
  void ClearAddress();
  BOOL IsBlank() const;
};
