#pragma once
// CLoginRequests: the requests of the login exchange and of the session around it, written on
// the server link. Each sender first checks that the link exists and is connected; without one
// the request is dropped (FALSE), never written to a link that is gone.

#include <platform/strings.h>
#include <platform/types.h>

class CServerLink;

class CLoginRequests {
public:
  // The client's protocol version, sent in the hello.
  static constexpr const char* kProtocolVersion = "|OB_1.5|";
  // The flag of the login-release request: one byte 0x01, not the text "1" of other requests.
  static constexpr const char* kReleaseFlag = "\x01";

  // link may be null (no connection).
  explicit CLoginRequests(CServerLink* link) : m_link(link) {}

  // Hello (0,1) with the version, from sender; flushed, then events 35 selected.
  BOOL SendHello(int sender);
  // Login (1,1) "|" id "|" password "|"; queued only.
  BOOL QueueLogin(const CString& id, const CString& password);
  // Login release (1,8) "|" id "|" with the 0x01 flag; flushed.
  BOOL SendLoginRelease(const CString& id);
  // Logout (1,2) with an empty payload; flushed.
  BOOL SendLogout(int sender);
  // Advert request (0,3) "|" stamp "|"; flushed.
  BOOL RequestAdvertInfo(const CString& stamp);
  // Waiting-room list request (0,2), empty payload; queued only.
  BOOL RequestWaitRoomList();
  // Post-login request (3,6), empty payload; flushed.
  BOOL SendPostLoginRequest();
  // Options (1,11) with the options payload; flushed.
  BOOL SendOptions(const CString& payload);

  // The payload of the login record.
  static CString LoginPayload(const CString& id, const CString& password);

private:
  bool CanSend() const;
  BOOL Queue(int sender, int major, int minor, const CString& payload, const CString& flag, bool flush);

  CServerLink* m_link{nullptr};
};
