#pragma once
// What the review-play dialog asks of the program around it: the room's requests to the server
// and the end of the review. The main frame provides them.

#include <platform/strings.h>
#include <platform/types.h>

class CReviewPlayHost {
public:
  virtual ~CReviewPlayHost() = default;
  // A room request: the room prefix, then extra.
  virtual void SendGameRequest(short minor, const CString& extra) = 0;
  // A try move ("B[pd]").
  virtual void SendRoomCode32(const CString& move) = 0;
  // Go to a move (its number as text).
  virtual void SendRoomCode36(const CString& number) = 0;
  virtual void FlushRequests() = 0;
  // The user leaves the review (and the room).
  virtual void StopReplay() = 0;
  // Asks which participant gets the review control: the chosen row's third and first columns.
  // FALSE when nobody is chosen.
  virtual BOOL ChooseReviewLeader(CString& third, CString& first) = 0;
};
