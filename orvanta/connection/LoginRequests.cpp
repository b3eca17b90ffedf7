#include "orvanta/connection/LoginRequests.h"

#include "orvanta/connection/ServerLink.h"

bool CLoginRequests::CanSend() const { return m_link && m_link->IsConnected(); }

BOOL CLoginRequests::Queue(int sender, int major, int minor, const CString& payload, const CString& flag,
                           bool flush) {
  if (!CanSend())
    return FALSE;
  m_link->QueueFrame(sender, major, minor, payload, flag);
  if (flush)
    m_link->FlushFrames();
  return TRUE;
}

CString CLoginRequests::LoginPayload(const CString& id, const CString& password) {
  return "|" + id + "|" + password + "|";
}

BOOL CLoginRequests::SendHello(int sender) {
  if (!Queue(sender, 0, 1, kProtocolVersion, "1", true))
    return FALSE;
  m_link->AsyncSelect(CWndSocket::kConnectedSelection);
  return TRUE;
}

BOOL CLoginRequests::QueueLogin(const CString& id, const CString& password) {
  return Queue(0, 1, 1, LoginPayload(id, password), "1", false);
}

BOOL CLoginRequests::SendLoginRelease(const CString& id) { return Queue(0, 1, 8, "|" + id + "|", kReleaseFlag, true); }

BOOL CLoginRequests::SendLogout(int sender) { return Queue(sender, 1, 2, "", "1", true); }

BOOL CLoginRequests::RequestAdvertInfo(const CString& stamp) { return Queue(0, 0, 3, "|" + stamp + "|", "1", true); }

BOOL CLoginRequests::RequestWaitRoomList() { return Queue(0, 0, 2, "", "1", false); }

BOOL CLoginRequests::SendPostLoginRequest() { return Queue(0, 3, 6, "", "1", true); }

BOOL CLoginRequests::SendOptions(const CString& payload) { return Queue(0, 1, 11, payload, "1", true); }
