#include "orvanta/app/FrameReviewHost.h"

#include "orvanta/app/MainFrame.h"

BOOL CFrameReviewHost::IsConnected() { return m_frame.IsConnected(); }

void CFrameReviewHost::RequestPlayerInfo(const CString& key, const CString& name) {
  m_frame.RequestUserInfo(key, name);
  m_frame.Flush();
}
