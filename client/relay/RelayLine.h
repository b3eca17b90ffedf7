#pragma once
// The relay server's lines read into plain values: which handler a line goes to, and the fields
// each handler needs, checked for count and form. Nothing here touches a window; the view's
// handlers act on what these readers give back.

#include <cstdint>

#include "platform/strings.h"

class CGameInfo;

// The tag of a line in the order the receiver compares them; the first match decides.
enum class RelayTag {
  None, Move, Clocks, MoveText, NewGame, GameEnd, Answer, TextDiagramMove, TextDiagramText,
  TextDiagramEnd, VoiceDiagramMove, VoiceDiagramText, VoiceDiagramEnd, Undo, GameInfo, Accept,
  BlackPhoto, WhitePhoto, HistoryEnd, ServerTime, Login, MediaAddress, Result, Commentary
};

// The line's tag, its first two bytes compared case-blind; None for a line under 2 bytes or an
// unknown tag.
RelayTag MatchRelayTag(const char* line, int length);

// A number by the leading-digits rule (an optional sign, then digits; anything else reads 0),
// clamped to the 64-bit range instead of overflowing.
std::int64_t ReadRelayNumber(const char* text);
// The same, clamped to int.
int ReadRelayInt(const char* text);

// Both clocks of a line, each "hhmmss".
struct RelayClocks {
  int whiteHours{0}, whiteMinutes{0}, whiteSeconds{0};
  int blackHours{0}, blackMinutes{0}, blackSeconds{0};
};
// True (and clocks set) when both texts are valid clocks.
bool ReadRelayClocks(const char* white, const char* black, RelayClocks& clocks);

// "am|nnn|colour|xy|stamp|clock|clock".
struct RelayMove {
  int moveNumber{0};
  int colour{0};  // 2 black, 1 white
  int x{0};
  int y{0};
  std::int64_t time{0};
  bool hasClocks{false};
  RelayClocks clocks;
};
// False for a wrong field count or a point off the board.
bool ParseRelayMove(const char* line, RelayMove& move);
// "sr|clock|clock": false for a wrong count or an invalid clock.
bool ParseRelayClocks(const char* line, RelayClocks& clocks);

// A move number and a text: "te", "re", "ae".
struct RelayMoveText {
  int moveNumber{0};
  CString text;
};
bool ParseRelayMoveText(const char* line, RelayMoveText& out);
// The one text of "qc" and "e1"; false for a wrong count.
bool ParseRelayText(const char* line, CString& text);

// "ar"/"aa": one stone of a reference diagram.
struct RelayDiagramMove {
  int moveNumber{0};
  int diagram{0};
  int state{0};  // 2 black, 1 white, 16 and 32 the two marks
  int x{0};
  int y{0};
};
bool ParseRelayDiagramMove(const char* line, RelayDiagramMove& out);
// "er"/"ea": the move number and the diagram number.
bool ParseRelayDiagramEnd(const char* line, int& moveNumber, int& diagram);

// "um|nnn|tttttttttt": the move number at byte 3 and the stamp at byte 7 of the raw line; false
// for a wrong count or a line too short to hold both places.
bool ParseRelayUndo(const char* line, int length, int& moveNumber, std::int64_t& time);

// What a "gi" line changed, so that the view repaints the matching label.
enum class RelayInfoLabel { None, BlackName, BlackAffiliation, WhiteName, WhiteAffiliation };
// Applies "gi|key|value" to info; false (info unchanged) for a wrong count or a short "gd".
// label tells which player label shows the changed value.
bool ApplyRelayGameInfo(const char* line, CGameInfo& info, RelayInfoLabel& label);
// Applies "gr|moves|result|bd|wd|white time|black time" to info; false for a wrong count.
bool ApplyRelayResult(const char* line, CGameInfo& info);

// "bp|n" / "wp|n". count is what the line says, unchecked.
struct RelayPhoto {
  bool black{false};
  std::int64_t count{0};
};
bool ParseRelayPhoto(const char* line, RelayPhoto& out);
// "ts|t" and "mu|address": the one field after the tag.
bool ParseRelayServerTime(const char* line, std::int64_t& time);
bool ParseRelayMediaAddress(const char* line, CString& address);
