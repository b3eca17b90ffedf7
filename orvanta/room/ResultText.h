#pragma once
// CResultText: the words the game room shows for results, counts and game conditions.

#include <platform/strings.h>
#include <platform/types.h>

class CResultText {
public:
  // "B won by KO", "W won by time.", "B won by 12.5", "Drawn Game" from a result such as
  // "RE[B+12.5]".
  static CString FormatResult(const CString& result);
  // The question of a counting proposal (code 544), before "Do you agree?".
  static CString CountProposal(double blackPoints, double blackStones, double whitePoints, double whiteStones,
                               double komi, const CString& result);
  // The lines the chat gets when the count is final (code 545).
  static CString CountChat(double blackPoints, double blackStones, double whitePoints, double whiteStones,
                           double komi, const CString& result);
  // The handicap-and-komi pane at the match start.
  static CString MatchCondition(short handicap, const CString& komi);
  // The same pane for a user who enters a running game (spacing and threshold differ).
  static CString LateCondition(short handicap, const CString& komi);
};
