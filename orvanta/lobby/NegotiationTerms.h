#pragma once
// The texts of play negotiation: the proposal text the waiting room builds for its dialog, the
// conditions payload of request (3,8), the proposals and counter-proposals the server sends, and
// the conversions between the dialogs' time texts and seconds.

#include <platform/strings.h>

// Condition radio values of both negotiation dialogs.
inline constexpr int kConditionEven = 0;
inline constexpr int kConditionBlack = 1;
inline constexpr int kConditionHandicap = 2;

// The colour texts of the dialogs.
const char* BlackColourText();
const char* WhiteColourText();

// One player of a proposal.
struct CNegotiationPlayer {
  CString number;  // the player's waiting room
  CString id;
  CString spare;
  CString grade;
};

// The condition part of a negotiation as the dialogs show it.
struct CNegotiationTerms {
  int condition{kConditionBlack};
  CString handicap{"2"};
  float komi{0.0f};
  CString timeLimitText;
  CString intervalText;
  CString countDownText{"3"};
  BOOL applyRanking{TRUE};
  CString title;
  CString password;
  CString colourCode;  // "1" black, "2" white, "3" automatic
};

// The conditions payload of request (3,8), 14 fields.
struct CNegotiationConditions {
  CString room;
  CString answer;  // "2" proposal, "1" acceptance, "0" refusal
  CString opponentNumber;
  CString opponentId;
  CString colourCode;
  CString handicap;
  float komi{0.0f};
  CString timeLimitText;
  CString intervalText;
  CString countDownText;
  BOOL applyRanking{TRUE};
  CString title;
  BOOL hint{TRUE};
  CString password;

  // "|" f1 "|" ... "|" f14 "|", with "|" and "/" removed from every text.
  CString BuildPayload() const;
};

// The proposal text of a fresh proposal, the black player's block first.
CString BuildFreshProposal(const CString& room, const CNegotiationPlayer& black, const CNegotiationPlayer& white);
// The players of a proposal text (fields 2-5 black, 6-9 white).
void ReadProposalPlayers(const CString& text, CNegotiationPlayer& black, CNegotiationPlayer& white);

// A time-limit text in seconds: the leading number times 60 with a minutes unit, else times 3600.
int TimeLimitSeconds(const CString& text);
// Seconds as a time-limit text: whole hours "%d시간" from an hour up, else whole minutes "%d분".
CString FormatTimeLimit(int seconds);
// Condition, handicap and komi from a handicap and a komi text as the server sends them.
void ReadHandicapAndKomi(const CString& handicap, const CString& komi, CNegotiationTerms& terms);

// The terms of a counter-proposal (the 20-field answer "2" of message 39).
CNegotiationTerms ReadCounterProposal(const CString& text);
// The terms of a proposal to this user (message 513, 17 fields).
CNegotiationTerms ReadIncomingProposal(const CString& text);

// Conditions chosen for a fresh proposal from the two grades: black's and white's grade number.
struct CAutomaticTerms {
  int condition{kConditionEven};
  CString handicap{"0"};
  float komi{6.5f};
  BOOL autoSelectColour{FALSE};
  BOOL swapColours{FALSE};
};
CAutomaticTerms ChooseAutomaticTerms(int blackNumber, int whiteNumber);
