#include "orvanta/connection/FrameReviewHost.h"

#include "orvanta/connection/MainFrame.h"

BOOL CFrameReviewHost::IsConnected() { return m_frame.IsConnected(); }

void CFrameReviewHost::RequestPlayerInfo(const CString& key, const CString& name) {
  m_frame.RequestUserInfo(key, name);
  m_frame.Flush();
}
