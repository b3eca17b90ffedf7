#pragma once
// What the game review dialog asks of the program around it: whether the client is connected,
// and a player's information from the server. A dialog without a host works offline.

#include <platform/strings.h>
#include <platform/types.h>

class CReviewHost {
public:
  virtual ~CReviewHost() = default;
  virtual BOOL IsConnected() = 0;
  // Asks the server for the information of the player key names (shown as name) and sends it.
  virtual void RequestPlayerInfo(const CString& key, const CString& name) = 0;
};
