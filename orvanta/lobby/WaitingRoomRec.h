#pragma once
// CWaitingRoomRec: one waiting room of the server as the program keeps it while the user is in it:
// the name shown in the frame's title, the number as text, and the key by which lobby requests
// name the room to the server.

#include <platform/object.h>
#include <platform/strings.h>

class CWaitingRoomRec : public CObject {
public:
  CWaitingRoomRec(const CString& number, const CString& key, const CString& name)
      : m_strName(name), m_strNumber(number), m_strKey(key) {}

  CString m_strName;
  CString m_strNumber;
  CString m_strKey;
};
