#pragma once
// CRoomState: the game room's state word and sub-status. The low bits of the word give the
// phase, the high bits the local user's role; the main frame's command rules read the word.

#include <platform/types.h>

class CRoomState {
public:
  // Phase bits.
  static constexpr WORD kWaiting = 1;
  static constexpr WORD kPlaying = 2;
  static constexpr WORD kCounting = 4;
  static constexpr WORD kRecess = 8;
  static constexpr WORD kEnded = 16;
  static constexpr WORD kWaitingAfterGame = 32;
  static constexpr WORD kReview = 1024;
  // Role bits.
  static constexpr WORD kBlackRole = 64;
  static constexpr WORD kWhiteRole = 128;
  static constexpr WORD kObserverRole = 256;
  static constexpr WORD kOtherRole = 512;

  // Sub-status values.
  static constexpr int kIdle = 0;
  static constexpr int kInPlay = 1;
  static constexpr int kInRecess = 2;
  static constexpr int kDesignating = 3;
  static constexpr int kDeadAgreed = 4;
  static constexpr int kGameEnded = 6;
  static constexpr int kStepReview = 7;

  // Board game modes the room sets.
  static constexpr LONG kModeNone = 1;
  static constexpr LONG kModePlay = 1024;
  static constexpr LONG kModeSequence = 4096;
  static constexpr LONG kModeCheckStone = 8192;
  static constexpr LONG kModeResult = 32768;
  static constexpr LONG kModeTerritory = 0x20000;

  // What a room status from the server means.
  struct StatusChange {
    WORD word{kWaiting};
    LONG gameMode{kModeNone};
    int subStatus{-1};          // -1: unchanged
    const char* text{nullptr};  // the status pane's text; null: unchanged
    bool resultText{false};     // the pane shows the record's result in words, when there is one
    bool counting{false};       // the frame enters its dead-stone mode
  };
  static StatusChange ForStatus(int status);

  // Writes the whole word for status (role bits dropped); the change to carry out on screen.
  StatusChange SetRoomStatus(int status);
  // ORs role into the word; the board colour it gives (2, 4 or 1), 0 for other values.
  short SetRole(int role);
  // The word of a running game for the local colour (2 black, 4 white, else observer).
  void BeginPlaying(short colour);
  // Dead-stone designation after both agreed to finish.
  void BeginCounting(short colour);
  // The game is over: 0x50 / 0x90 / 0x110.
  void EndGame(short colour);
  // A player left: a running game goes into recess; an ended one only changes the sub-status.
  // TRUE when the game clock must stop.
  BOOL OnPlayerLeft();
  // The recess bit comes off (continued play).
  void ClearRecess() { m_word = static_cast<WORD>(m_word & ~kRecess); }
  void Reset();

  WORD GetWord() const { return m_word; }
  void SetWord(WORD word) { m_word = word; }
  int GetSubStatus() const { return m_subStatus; }
  void SetSubStatus(int subStatus) { m_subStatus = subStatus; }
  BOOL HasPhase(WORD bits) const { return (m_word & bits) != 0; }
  // The role bit of a local colour.
  static WORD RoleOf(short colour);

private:
  WORD m_word{kWaiting};
  int m_subStatus{kIdle};
};
