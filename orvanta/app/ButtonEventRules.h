#pragma once
// CButtonEventRules: keeps the main menu pane's buttons in step with the conversation with the
// server. After an event (a server message code, or the pane's local codes 71 and 99) it enables
// and disables the buttons and swaps the faces of ask end and pause; for the room's events it
// also says which phase the room view takes and what its status line shows. The situation is
// read, never changed: the frame applies the outcome.

#include <initializer_list>

#include <platform/strings.h>

#include "orvanta/widgets/MenuButtonBank.h"

// What the rules read of the frame and the game room.
struct CButtonEventSituation {
  UINT activeView{0};
  WORD roomState{1};        // the game room's state word
  int phase{0};             // the room view's phase number (0 to 7)
  WORD screenFlags{0};      // the program-wide screen-flag word
  BOOL connected{FALSE};
  BOOL inRoomFlag{FALSE};   // the user was already in the game room
  BOOL roomOwner{FALSE};
  CString loginRole;        // the login record's role
  CString userId;
  CString blackName;        // the room's name panes
  CString whiteName;
};

// What the frame does after the buttons are set.
struct CButtonEventOutcome {
  int phase{-1};             // the room view's new phase; -1 unchanged
  BOOL hasStatusLine{FALSE};
  CString statusLine;        // the room's status line, when hasStatusLine
  BOOL relayout{FALSE};      // the pane shows the buttons of the active view again
};

class CButtonEventRules {
public:
  CButtonEventRules(CMenuButtonBank& bank, const CButtonEventSituation& situation);

  // Sets the bank for event code with its payload; codes without a rule change nothing.
  CButtonEventOutcome Apply(int code, const CString& payload);

  // The button sets of the game room.
  enum class Set { kPlaying, kCounting, kEnded, kObserving, kPaused, kLeftSeat };

private:
  // Enables the set's buttons and disables every other navigation and room button, except those
  // in keep.
  void ApplySet(Set set, std::initializer_list<UINT> keep = {});
  void Enable(std::initializer_list<UINT> ids, BOOL enable);
  void Face(UINT id, UINT bitmap);
  // Ask end 297 and pause 302, both disabled.
  void PlainFacesDisabled();
  void OnUserEntered(const CString& payload, CButtonEventOutcome& outcome);
  // Game room 1195 after a list arrived: enabled only while connected, outside the room and
  // with the game room's screen flag set.
  void GameRoomAfterList();
  bool InRoom() const;
  bool IsPlayer() const;
  bool IsObserver() const;
  bool HasColour() const;

  CMenuButtonBank& m_bank;
  const CButtonEventSituation& m_situation;
};
