#include "orvanta/lobby/NegotiationTerms.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/LobbyText.h"

const char* BlackColourText() { return Cp949("흑"); }
const char* WhiteColourText() { return Cp949("백"); }

CString CNegotiationConditions::BuildPayload() const {
  CString komiText;
  komiText.Format("%.1f", static_cast<double>(komi));
  CString seconds;
  seconds.Format("%d", TimeLimitSeconds(timeLimitText));
  CString interval;
  interval.Format("%d", LeadingNumber(intervalText));
  const CString fields[] = {room,     answer,   opponentNumber, opponentId,    colourCode,
                            handicap, komiText, seconds,        interval,      countDownText,
                            applyRanking ? "1" : "0", title,    hint ? "1" : "0", password};
  CString payload = "|";
  for (const CString& field : fields) payload += RemoveSeparators(field) + "|";
  return payload;
}

CString BuildFreshProposal(const CString& room, const CNegotiationPlayer& black, const CNegotiationPlayer& white) {
  return "|" + room + "|3|" + black.number + "|" + black.id + "||" + black.grade + "|" + white.number + "|" +
         white.id + "||" + white.grade + "|";
}

void ReadProposalPlayers(const CString& text, CNegotiationPlayer& black, CNegotiationPlayer& white) {
  CFieldTokenizer fields(text);
  black.number = fields.GetField(2);
  black.id = fields.GetField(3);
  black.spare = fields.GetField(4);
  black.grade = fields.GetField(5);
  white.number = fields.GetField(6);
  white.id = fields.GetField(7);
  white.spare = fields.GetField(8);
  white.grade = fields.GetField(9);
}

int TimeLimitSeconds(const CString& text) {
  const bool minutes = text.Find(Cp949("분")) >= 0 || text.Find("Min") >= 0;
  const long long seconds = static_cast<long long>(LeadingNumber(text)) * (minutes ? 60 : 3600);
  return static_cast<int>(std::clamp<long long>(seconds, INT_MIN, INT_MAX));
}

CString FormatTimeLimit(int seconds) {
  CString text;
  if (seconds >= 3600)
    text.Format(Cp949("%d시간"), seconds / 3600);
  else
    text.Format(Cp949("%d분"), seconds / 60);
  return text;
}

void ReadHandicapAndKomi(const CString& handicap, const CString& komi, CNegotiationTerms& terms) {
  terms.handicap = handicap;
  if (std::atoi(handicap) != 0) {
    terms.condition = kConditionHandicap;
  } else if (std::atoi(komi) == 0) {
    terms.condition = kConditionBlack;
  } else {
    terms.condition = kConditionEven;
    terms.komi = static_cast<float>(std::atof(komi));
  }
}

namespace {

// A whole number of seconds from a server's decimal text; out-of-range texts are held at the ends
// of int instead of overflowing the conversion.
int SecondsFromDecimalText(const CString& text) {
  const double seconds = std::atof(text);
  if (!(seconds > INT_MIN)) return seconds != seconds ? 0 : INT_MIN;  // NaN counts as 0
  if (seconds >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(seconds);
}

}  // namespace

CNegotiationTerms ReadCounterProposal(const CString& text) {
  CFieldTokenizer fields(text);
  CNegotiationTerms terms;
  terms.colourCode = fields.GetField(10);
  ReadHandicapAndKomi(fields.GetField(11), fields.GetField(12), terms);
  terms.timeLimitText = FormatTimeLimit(SecondsFromDecimalText(fields.GetField(13)));
  terms.intervalText = fields.GetField(14) + Cp949("초");
  terms.countDownText = fields.GetField(15);
  terms.applyRanking = fields.GetField(16) == "1";
  terms.title = fields.GetField(17);
  terms.password = fields.GetField(19);
  return terms;
}

CNegotiationTerms ReadIncomingProposal(const CString& text) {
  CFieldTokenizer fields(text);
  CNegotiationTerms terms;
  ReadHandicapAndKomi(fields.GetField(10), fields.GetField(11), terms);
  terms.timeLimitText = FormatTimeLimit(SecondsFromDecimalText(fields.GetField(12)));
  terms.intervalText = fields.GetField(13) + Cp949("초");
  terms.countDownText = fields.GetField(14);
  const CString colour = fields.GetField(15);
  terms.colourCode = colour == "1" || colour == "2" ? colour : CString("3");
  terms.applyRanking = fields.GetField(16) == "1";
  return terms;
}

CAutomaticTerms ChooseAutomaticTerms(int blackNumber, int whiteNumber) {
  CAutomaticTerms terms;
  if (blackNumber == whiteNumber) {
    terms.autoSelectColour = TRUE;
    return terms;
  }
  const int difference = blackNumber > whiteNumber ? blackNumber - whiteNumber : whiteNumber - blackNumber;
  terms.komi = 0.0f;
  terms.swapColours = blackNumber > whiteNumber;
  if (difference == 1) {
    terms.condition = kConditionBlack;
    return terms;
  }
  terms.condition = kConditionHandicap;
  if (blackNumber > whiteNumber) {
    terms.handicap = "2";
  } else {
    terms.handicap.Format("%d", difference > 13 ? 13 : difference);
  }
  return terms;
}
