#include "orvanta/connection/SessionRecord.h"

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/app/ScreenFlags.h"

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

bool CSessionRecord::OffersResume(const CString& payload) { return CFieldTokenizer(payload).GetCount() > 2; }

CString CSessionRecord::TakeLoginReply(const CString& payload, bool resume) {
  CFieldTokenizer fields(payload);
  m_strRole = fields.GetField(0);
  CString notice = fields.GetField(1);
  if (resume) {
    m_strRoomText7 = fields.GetField(2);
    m_strRoomText6 = fields.GetField(3);
    m_strRoomText4 = fields.GetField(4);
    m_strRoomText1 = fields.GetField(5);
  }
  // The notice is shown as text: the record's framing bytes must not reach the screen.
  notice.Remove('\x1b');
  notice.Remove('\t');
  return notice;
}
