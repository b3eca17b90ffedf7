#pragma once
// CFrameReviewHost: the main frame as the review dialog's host.

#include "orvanta/room/ReviewHost.h"

class CMainFrame;

class CFrameReviewHost : public CReviewHost {
public:
  explicit CFrameReviewHost(CMainFrame& frame) : m_frame(frame) {}
  BOOL IsConnected() override;
  void RequestPlayerInfo(const CString& key, const CString& name) override;

private:
  CMainFrame& m_frame;
};
