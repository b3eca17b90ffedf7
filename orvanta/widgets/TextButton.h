#pragma once
// CTextButton: a two-image owner-drawn button (upper half released, lower half pressed) with a
// white caption chosen by the room kind it stands for. The start view makes one per waiting room.

#include <platform/controls_basic.h>
#include <platform/gdi_objects.h>

class CTextButton : public CButton {
public:
  CTextButton();
  ~CTextButton() override;

  // Attaches bitmap resource id as the face.
  void LoadBitmap(UINT id);
  void SetText(const CString& text) { m_strText = text; }
  CString GetText() const { return m_strText; }
  void SetValue(const CString& value) { m_strValue = value; }
  CString GetValue() const { return m_strValue; }
  void SetKind(const CString& kind) { m_strKind = kind; }
  CString GetKind() const { return m_strKind; }
  BOOL IsPressed() const { return m_bPressed; }

  // The caption painted for a room kind.
  static CString CaptionForKind(const CString& kind);

  void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
  void OnLButtonDown(UINT flags, CPoint point);
  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnKillFocus(CWnd* newWnd);
  DECLARE_MESSAGE_MAP()

private:
  // Repaints at once when focused, else takes the focus (whose repaint follows).
  void RepaintOrFocus();

  CBitmap m_face;
  BITMAP m_faceInfo{};
  BOOL m_bPressed{FALSE};
  CString m_strText;   // the room's name
  CString m_strValue;  // the room's number
  CString m_strKind;   // the room's kind code
  CFont m_captionFont;
};
