#pragma once
// CServerDispatcher: the main frame's reader of server groups. It cuts a group into records and
// handles each in order: its code's actions for a normal record, the failure handling for a
// failure reply (a flag that is not 1). Every record of the group is handled, whatever its code,
// unless an action closed the link the group came on.

#include <platform/strings.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/connection/FrameActions.h"

class CServerDispatcher {
public:
  explicit CServerDispatcher(CFrameActions& frame) : m_frame(frame) {}

  // Handles the records of a group in order; what their actions queued leaves at the end (and
  // at once after the records whose answer must not wait). Stops after a record whose action
  // closed the link, and at a record without its end.
  void DispatchServerFrames(const CString& text);
  // Handles one failure reply: its code and payload.
  void OnFailedReply(CFieldTokenizer* payload, int* code);

  // The "|"-list without its field 2 (the answer word): |a|b|0|c| gives |a|b|c|, no field gives |.
  static CString DropAnswerField(const CString& list);
  // The notice shown when the other side refuses a request of this code; "" for other codes.
  static CString GetRefusalText(int code);

private:
  // After a record: go on, or send what is queued first and then go on.
  enum class Outcome { Continue, FlushNow };

  // One normal record: its actions and the buttons update the table gives it.
  Outcome DispatchRecord(int code, CFieldTokenizer& payload);
  // Codes whose actions are more than one call on the payload.
  bool DispatchSpecial(int code, CFieldTokenizer& payload, Outcome& outcome);
  // Codes whose field 2 is the other side's answer.
  bool DispatchAnswer(int code, CFieldTokenizer& payload, Outcome& outcome);
  // The room's side of a refusal; flags of the frame are cleared whatever view is shown.
  void ApplyRefusal(int code);
  void QueueLoginRecord();
  void UpdateButtons(int code, CFieldTokenizer& payload);

  // Failure replies of the login and of room requests. OnLoginFailed: false when the link was
  // closed and nothing more may be sent.
  bool OnLoginFailed(CFieldTokenizer& payload);
  void OnRoomJoinFailed(CFieldTokenizer& payload);
  void OnEnterFailed(CFieldTokenizer& payload);
  // Shows text with the frame's caption "Inform" and returns the button pressed.
  int AskInform(const CString& text, UINT type);

  CFrameActions& m_frame;
};
