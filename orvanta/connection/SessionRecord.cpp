#include "orvanta/connection/SessionRecord.h"

#include "orvanta/connection/ScreenFlags.h"

CSessionRecord::CSessionRecord(const CString& id, const CString& password)
    : m_strRoomText3(NotAvailableText()), m_strPassword(password), m_strId(id) {}

CString CSessionRecord::NotAvailableText() { return CString(Cp949("불가능")); }

void CSessionRecord::SetEntry(const CString& text2, const CString& text1, const CString& text3,
                              const CString& text5) {
  m_strRoomText2 = text2;
  m_strRoomText1 = text1;
  m_strRoomText3 = text3.IsEmpty() ? NotAvailableText() : text3;
  m_strRoomText5 = text5;
}

void CSessionRecord::ClearRoom() {
  m_nRoomNumber = 0;
  m_strRoomText1.Empty();
  m_strRoomText2.Empty();
  m_strRoomText4.Empty();
  m_strRoomText5.Empty();
  m_strRoomText3 = NotAvailableText();
}

void CSessionRecord::ClearRoomTexts() {
  m_strRoomText6.Empty();
  m_strRoomText7.Empty();
}

void CSessionRecord::Reset() {
  *this = CSessionRecord(CString(), CString());
  SetScreenFlag(0);
}
