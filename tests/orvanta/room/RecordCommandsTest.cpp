// The frame's commands on play records with the game-server peer: a record file sent to the room
// to continue from, a file that cannot be read, and the stored-games command by room state.

#include <fstream>

#include "FrameRoomFixture.h"

namespace {

class RecordCommandsTest : public FrameRoomTest {
protected:
  void Enter() {
    Server(52, "|12|");
    Server(53, "|12|hc|carol|Carol|3k|1|3|1|");
    ASSERT_EQ(&*m_room, frame->GetGameRoom());
  }
  // Records (major, minor) the frame sent, oldest first.
  std::vector<std::string> Sent(const std::string& major, const std::string& minor) {
    std::vector<std::string> payloads;
    for (const PeerRecord& r : peer.Records())
      if (r.major == major && r.minor == minor) payloads.push_back(r.payload);
    return payloads;
  }
};

TEST_F(RecordCommandsTest, ARecordFileGoesToTheRoomWholeAndABadOneNowhere) {
  Enter();
  const std::string path = m_folder.Path() + "/kept.sgf";
  {
    std::ofstream out(path, std::ios::binary);
    out << "(;GM[1]SZ[19]PB[carol]PW[lee]KM[6.5];B[pd];W[dd];B[qp])";
  }
  struct Step {
    std::string file;  // "" cancels the dialog
    bool sent;
    bool told;  // the user hears the file cannot be read
  };
  const Step steps[] = {{path, true, false}, {"", false, false}, {m_folder.Path() + "/missing.sgf", false, true}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.file);
    const std::size_t before = Sent("4", "41").size();
    script.shown.clear();
    script.fileAnswer = step.file;
    frame->OnOpenLocalRecord();
    if (step.sent) {
      ASSERT_TRUE(PumpUntil([&] { return Sent("4", "41").size() > before; }));
      const std::string payload = Sent("4", "41").back();
      // The record goes as one SGF text: header, players and root, then every move node.
      EXPECT_NE(payload.find("|(;GM[1]"), std::string::npos) << payload;
      EXPECT_NE(payload.find("PB[carol]PW[lee]"), std::string::npos) << payload;
      EXPECT_NE(payload.find(";B[pd];W[dd];B[qp])|"), std::string::npos) << payload;
      EXPECT_EQ(payload.substr(payload.size() - 2), ")|");
    } else {
      PumpFor(60);
      EXPECT_EQ(Sent("4", "41").size(), before);
    }
    EXPECT_EQ(Shown("The play record cannot be read."), step.told);
  }
}

TEST_F(RecordCommandsTest, StoredGamesContinueInRecessAndListOtherwise) {
  Enter();
  const std::size_t lists = Sent("6", "2").size();
  frame->SetRoomStateWord(0x42);  // a player, playing
  frame->OnStoredGames();
  ASSERT_TRUE(PumpUntil([&] { return Sent("6", "2").size() > lists; }));
  EXPECT_EQ(Sent("6", "2").back(), "|-1|50|LI|carol|");
  const std::size_t choices = Sent("4", "25").size();
  frame->SetRoomStateWord(0x48);  // a player, in recess
  frame->OnStoredGames();
  ASSERT_TRUE(PumpUntil([&] { return Sent("4", "25").size() > choices; }));
  EXPECT_EQ(Sent("4", "25").back(), frame->GetRoomPrefix().str() + "0|");
}

}  // namespace
