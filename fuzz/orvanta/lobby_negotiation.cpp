// The texts of play negotiation: proposals and counter-proposals from the server, the proposal
// and conditions payloads built back from them, which never carry a stray separator.

#include <cstdint>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/GradeOrder.h"
#include "orvanta/lobby/NegotiationTerms.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
  const CNegotiationTerms counter = ReadCounterProposal(text);
  const CNegotiationTerms incoming = ReadIncomingProposal(text);
  CNegotiationPlayer black;
  CNegotiationPlayer white;
  ReadProposalPlayers(text, black, white);
  ChooseAutomaticTerms(GradeToNumber(black.grade), GradeToNumber(white.grade));
  IsGradeAtLeast(black.grade, white.grade);
  CNegotiationConditions conditions;
  conditions.room = black.id;
  conditions.answer = "2";
  conditions.opponentNumber = white.number;
  conditions.opponentId = white.id;
  conditions.colourCode = counter.colourCode;
  conditions.handicap = counter.handicap;
  conditions.komi = counter.komi;
  conditions.timeLimitText = counter.timeLimitText;
  conditions.intervalText = incoming.intervalText;
  conditions.countDownText = counter.countDownText;
  conditions.title = counter.title;
  conditions.password = text;
  const CString payload = conditions.BuildPayload();
  if (CFieldTokenizer(payload).GetCount() != 14 || payload.Find('/') >= 0)
    std::abort();
  TimeLimitSeconds(text);
  FormatTimeLimit(std::atoi(text));
  return 0;
}
