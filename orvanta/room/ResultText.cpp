#include "orvanta/room/ResultText.h"

#include <cstdlib>

CString CResultText::FormatResult(const CString& result) {
  bool hasBlack = result.Find('B') >= 0;
  bool hasWhite = result.Find('W') >= 0;
  CString winner = hasBlack && !hasWhite ? "B" : hasWhite && !hasBlack ? "W" : "";
  CString after = result.Mid(1);
  CString words;
  if (after.Find('R') >= 0) {
    words = " won by KO";
  } else if (after.Find('T') >= 0) {
    words = " won by time.";
  } else if (after.Find('V') < 0) {
    CString margin = result.Mid(5);
    words = " won by " + margin.Left(margin.GetLength() - 1);
  } else {
    words = "Drawn ";
  }
  return winner.IsEmpty() ? words + "Game" : winner + words;
}

CString CResultText::CountProposal(double blackPoints, double blackStones, double whitePoints, double whiteStones,
                                   double komi, const CString& result) {
  CString text;
  text.Format("Black:%.0fpoints + %.0f(stones) = %.1f points\nWhite:%.0fpoints + %.0f(stones) + %.1f(handy) = "
              "%.1fpoints\n%s",
              blackPoints, blackStones, blackPoints + blackStones, whitePoints, whiteStones, komi,
              whitePoints + whiteStones + komi, static_cast<const char*>(FormatResult(result)));
  return text;
}

CString CResultText::CountChat(double blackPoints, double blackStones, double whitePoints, double whiteStones,
                               double komi, const CString& result) {
  CString text = "*The Game Results:\r\n";
  text.AppendFormat("Black:%.0fpoints + %.0f(stones) = %.1fpoints\r\n", blackPoints, blackStones,
                    blackPoints + blackStones);
  text.AppendFormat("White:%.0fpoints + %.0f(stones) + %.1f(handy) = %.1fpoints\r\n", whitePoints, whiteStones, komi,
                    whitePoints + whiteStones + komi);
  text.AppendFormat("Result:%s\r\n\r\n", static_cast<const char*>(FormatResult(result)));
  return text;
}

CString CResultText::MatchCondition(short handicap, const CString& komi) {
  CString text;
  if (handicap == 0) {
    if (std::atof(komi) == 0.0) return "One Stone";
    text.Format("Even(%s)", static_cast<const char*>(komi));
  } else if (handicap >= 1 && handicap <= 10) {
    text.Format("%dStones", handicap);
  } else {
    text.Format("%d Stones", handicap);
  }
  return text;
}

CString CResultText::LateCondition(short handicap, const CString& komi) {
  CString text;
  if (handicap == 0) {
    if (komi.IsEmpty()) return "Even";
    if (std::atof(komi) == 0.0) return "One Stone";
    text.Format("Even(%s)", static_cast<const char*>(komi));
  } else if (handicap < 10) {
    text.Format("%d Stones", handicap);
  } else {
    text.Format("%dStones", handicap);
  }
  return text;
}
