#pragma once
// CServerDispatcher: the main frame's reader of server groups. It cuts a group into records,
// calls the frame's action for each record's code in order, and handles failure replies (records
// whose flag is not 1). Codes that end the group drop the records after them.

#include <platform/strings.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/connection/FrameActions.h"

class CServerDispatcher {
public:
  explicit CServerDispatcher(CFrameActions& frame) : m_frame(frame) {}

  // 1 when the group was dispatched to its end or ended by a code; for a failure reply the
  // number its flag reads as (never 1), with its code and payload stored in the out arguments.
  int DispatchServerFrames(const CString& text, CFieldTokenizer* failedPayload, int* failedCode);
  // Handles a failure reply that DispatchServerFrames reported.
  void OnFailedReply(CFieldTokenizer* payload, int* code);

  // The "|"-list without its field 2 (the answer word): |a|b|0|c| gives |a|b|c|, no field gives |.
  static CString DropAnswerField(const CString& list);
  // The notice shown when the other side refuses a request of this code; "" for other codes.
  static CString GetRefusalText(int code);

private:
  enum class Outcome { Continue, EndGroup, EndWithoutFlush };

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
