// The viewer against the relay peer: a text-commentary session and a voice session with the delay
// on the manual clock, a record saved and opened again, and the view's state after each step.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ClientSessionSupport.h"
#include "client/images/Image.h"
#include "client/widgets/ProgressStatusBar.h"
#include "client/model/BadukCtrl.h"
#include "client/model/GameDiagramDlg.h"
#include "client/model/GameInfo.h"
#include "peers/client/RelayScript.h"
#include "platform/files.h"
#include "platform/sound.h"
#include "platform/testinput.h"
#include "support/SaveFaults.h"

namespace {

using clienttest::ClickButton;
using clienttest::Session;

std::string Str(const CString& text) { return std::string(static_cast<const char*>(text)); }

// A text without the spaces and line breaks around it.
std::string Trimmed(const CString& text) {
  const std::string s = Str(text);
  const std::size_t first = s.find_first_not_of(" \r\n");
  return first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(" \r\n") - first + 1);
}

// A small JPEG photograph as the relay sends it.
std::string PhotoBytes(int width = 40, int height = 44) {
  // A folder of its own: tests running side by side each make their picture.
  platform::TempDir folder;
  const std::string path = folder / "photo.jpg";
  CImage image;
  image.Create(width, height, 24, -1);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetRGB(x, y, static_cast<BYTE>(x * 6), 90, static_cast<BYTE>(y * 5));
  image.SaveFile(path.c_str(), kImageJpeg);
  std::ifstream file(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::filesystem::remove(path);
  return bytes;
}

const char* kTextHistory =
    "gi|gn|Ondrivo Cup\n"
    "gi|BN|Kim\n"
    "gi|bg|9\n"
    "gi|bc|Ondrivo Club\n"
    "gi|wn|Lee\n"
    "gi|wg|7\n"
    "gi|wc|Baduk Hall\n"
    "mu|null\n"
    "am|001|b|pd|1999999000|010000|005950\n"
    "AM|002|W|DP|1999999010|005940|005950\n"
    "te|1|Opening on the star point\n"
    "te|2|White answers\n"
    "am|004|b|qq|1999999015|005940|005940\n"
    "am|003|b|dd|1999999020|005940|005930\n"
    "ar|3|1|b|cc|x\n"
    "ar|3|1|w|cd|x\n"
    "re|3|Black could also play here\n"
    "er|3|1\n"
    "eh\n";

TEST(ClientSessionTest, TextCommentarySessionFromLoginToDisconnect) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  ASSERT_TRUE(s.view->IsConnected());
  ASSERT_TRUE(s.peer.WaitForLines(1, 5000));
  EXPECT_EQ(s.peer.Received()[0], "ua|alice|pw1|C");
  EXPECT_EQ(s.view->GetExplainMode(), 2);
  EXPECT_EQ(Str(s.frame->GetStatusBar().GetPaneText(0)), "Connection success.");

  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay(kTextHistory, [&] { return view.IsHistoryComplete(); }));
  // Three moves: the out-of-sequence one was dropped and the upper-case one taken.
  EXPECT_EQ(view.GetDelayQueue().GetMoveCount(), 3);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 3);
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 3);
  EXPECT_TRUE(view.GetBoard().GetCell(4, 16).HasStone());  // "dp"
  EXPECT_FALSE(view.GetBoard().GetCell(17, 17).HasStone());  // the dropped "qq"
  EXPECT_EQ(Str(s.frame->GetStatusBar().GetProgressText()), "progress :   3");
  EXPECT_EQ(s.frame->GetStatusBar().GetNextColor(), 1);
  EXPECT_EQ(Str(s.Text(IDC_WHITE_CLOCK)), "00 : 59 : 40");
  EXPECT_EQ(Str(s.Text(IDC_BLACK_CLOCK)), "00 : 59 : 30");
  EXPECT_EQ(Str(s.Text(IDC_BLACK_NAME)), "Kim 9 dan");
  EXPECT_EQ(Str(s.Text(IDC_WHITE_NAME)), "Lee 7 dan");
  EXPECT_EQ(Str(s.Text(IDC_WHITE_AFFILIATION)), "Baduk Hall");
  EXPECT_EQ(Str(view.GetGameInfo().m_title), "Ondrivo Cup");
  ASSERT_EQ(view.GetDiagrams().GetDiagramCount(3), 1);
  EXPECT_EQ(view.GetDiagrams().GetDiagramMoves(3, 0)->GetSize(), 2);
  CString diagramText;
  view.GetDiagrams().GetDiagramText(3, 0, diagramText);
  EXPECT_EQ(Str(diagramText), "Black could also play here\r\n");

  // Looking back shows each move's comments.
  view.OnMoveFirst();
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 0);
  view.OnMoveNext();
  EXPECT_EQ(Str(s.Text(IDC_COMMENT_PANE)), "[001] Opening on the star point\r\n");
  view.OnMoveFirst();
  view.OnMovePrev();
  EXPECT_EQ(Str(s.frame->GetStatusBar().GetPaneText(0)), "No more moves. it is first move.");
  view.OnMoveLast();
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 3);

  // A take-back of the last move, then the move played again.
  ASSERT_TRUE(s.Relay("um|003|1999999030\n", [&] { return view.GetDelayQueue().GetMoveCount() == 2; }));
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  EXPECT_EQ(Str(s.frame->GetStatusBar().GetProgressText()), "progress :   2");
  EXPECT_EQ(s.frame->GetStatusBar().GetNextColor(), 2);
  ASSERT_TRUE(s.Relay("am|003|b|dc|1999999040|005940|005920\n", [&] { return view.GetBoard().GetLastMove() == 3; }));
  EXPECT_TRUE(view.GetBoard().GetCell(4, 3).HasStone());
  EXPECT_EQ(Str(s.Text(IDC_BLACK_CLOCK)), "00 : 59 : 20");

  // The viewer's question goes out on Enter in the question box.
  CWnd* question = view.GetDlgItem(IDC_QUESTION_EDIT);
  ASSERT_NE(question, nullptr);
  question->SetWindowText("Who is ahead?");
  question->SetFocus();
  platform::input::PressKey(VK_RETURN);
  ASSERT_TRUE(s.peer.WaitForLines(2, 5000));
  EXPECT_EQ(s.peer.Received()[1], "qc|Who is ahead?");
  EXPECT_EQ(Str(s.Text(IDC_QUESTION_EDIT)), "");
  ASSERT_TRUE(s.Relay("qc|Black is ahead by a little\n",
                      [&] { return s.Text(IDC_ANSWER_PANE).Find("Black is ahead") >= 0; }));

  ASSERT_TRUE(s.Relay("gr|003|B+R|2|0|001000|002000\ne1|Live from Seoul\n",
                      [&] { return !view.GetCommentaryCaption().IsEmpty(); }));
  EXPECT_EQ(Str(view.GetGameInfo().m_result), "B+R");
  EXPECT_EQ(view.GetGameInfo().m_whiteMinutes, 10);
  EXPECT_EQ(view.GetGameInfo().m_blackMinutes, 20);
  EXPECT_EQ(Str(s.Text(IDC_COMMENT_CAPTION)), "< Commentary : Live from Seoul >");

  // A new game within the connection empties everything, and the queue's timer runs on.
  ASSERT_TRUE(s.Relay("ng\n", [&] { return view.GetDelayQueue().GetMoveCount() == 0; }));
  EXPECT_EQ(view.GetBoard().GetLastMove(), 0);
  EXPECT_EQ(view.GetComments().GetCount(1), 0);
  EXPECT_EQ(Str(s.Text(IDC_WHITE_CLOCK)), "00 : 00 : 00");
  EXPECT_EQ(Str(s.frame->GetStatusBar().GetProgressText()), "progress :   0");
  EXPECT_NE(view.GetStateFlags() & CClientView::kLoggedIn, 0);
  EXPECT_TRUE(view.KillTimer(CClientView::kTimerId));
  view.SetTimer(CClientView::kTimerId, CClientView::kTimerMs);
  ASSERT_TRUE(s.Relay("am|001|b|qd|1999999050|010000|010000\n", [&] { return view.GetBoard().GetLastMove() == 1; }));

  s.peer.CloseClient();
  ASSERT_TRUE(Session::WaitFor([&] { return !view.IsConnected(); }));
  ASSERT_FALSE(s.script.messages.empty());
  EXPECT_EQ(s.script.messages.back(), "It is disconnected. Retry connection.");
  // The game stays after the connection has gone.
  EXPECT_EQ(view.GetBoard().GetLastMove(), 1);
  EXPECT_EQ(view.GetStateFlags() & CClientView::kLoggedIn, 0);
}

// However the server goes, after a whole line, inside a line or inside a photograph, closing or
// resetting the connection, the person reads the same plain words, and the moves received stay on
// the board.
TEST(ClientSessionTest, AServerThatGoesIsToldPlainlyWhereverItStops) {
  struct Way {
    const char* name;
    const char* last;
    bool reset;
  };
  const Way ways[] = {{"after a whole line", "am|002|w|dp|1999999001|010000|010000\n", false},
                      {"inside a line", "am|002|w|dp|19999", false},
                      {"inside a photograph", "bp|400\n\xff\xd8\xff", false},
                      {"reset inside a line", "am|002|w|dp|19999", true},
                      {"reset inside a photograph", "bp|400\n\xff\xd8\xff", true}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    Session s;
    s.Start();
    ASSERT_NE(s.view, nullptr);
    CClientView& view = *s.view;
    ASSERT_TRUE(s.Relay("am|001|b|pd|1999999000|010000|010000\neh\n", [&] { return view.IsHistoryComplete(); }));
    // The board behind the message already shows the view offline.
    s.script.onMessage = [&] { EXPECT_FALSE(view.IsConnected()); };
    s.peer.Send(way.last);
    s.peer.CloseClient(way.reset);
    // The end comes right behind the last bytes, as from a server that went: on the test's clock
    // a pause between them would read as the server's silence.
    ASSERT_TRUE(s.peer.WaitUntilClosed(10000));
    ASSERT_TRUE(Session::WaitFor([&] { return !view.IsConnected(); }));
    EXPECT_EQ(s.script.messages, (std::vector<std::string>{"It is disconnected. Retry connection."}));
    EXPECT_GE(view.GetBoard().GetLastMove(), 1);
    EXPECT_TRUE(view.GetBoard().GetCell(16, 4).HasStone());
  }
}

// A server that floods commentary or moves fills only what a game can hold: past the budget its
// lines are dropped, while the moves of the game go on reaching the board.
TEST(ClientSessionTest, AFloodingRelayIsKeptWithinTheGamesBudget) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  // Lines of 32 KiB, so that the budget holds a whole number of them: the last that fits fills it
  // to its last byte.
  const std::string text(32768 - 5, 'x');
  const int fit = static_cast<int>(CClientView::kMaxRelayTextBytes / 32768);
  // Sent as the game's history, so that the budget is spent without the pane shown again for each
  // line, which under the sanitizer would make the flood outlast any wait.
  std::string flood = "am|001|b|pd|1999999000|010000|010000\n";
  for (int i = 0; i < fit + 10; ++i) flood += "te|1|" + text + "\n";
  flood += "am|002|w|dp|1999999001|010000|010000\nte|2|" + text + "\neh\n";
  s.peer.Send(flood);
  ASSERT_TRUE(Session::WaitFor([&] { return view.GetBoard().GetLastMove() == 2; }, 60000));
  EXPECT_EQ(view.GetComments().GetCount(1), fit);
  EXPECT_EQ(view.GetComments().GetCount(2), 0);

  // A new game has a budget of its own; moves past the game's limit are dropped.
  std::string moves = "ng\n";
  char line[64];
  for (int k = 1; k <= CClientView::kMaxRelayEvents + 5; ++k) {
    std::snprintf(line, sizeof line, "am|%03d|%c|%c%c|%d|010000|010000\n", k, k % 2 ? 'b' : 'w', 'a' + k % 19,
                  'a' + k / 19 % 19, 1999999000 + k);
    moves += line;
  }
  moves += "te|1|" + text + "\n";  // as long as those the last game had no room left for
  ASSERT_TRUE(s.Relay(moves, [&] { return view.GetComments().GetCount(1) == 1; }));
  EXPECT_EQ(view.GetDelayQueue().GetEventCount(), CClientView::kMaxRelayEvents);
  EXPECT_EQ(view.GetDelayQueue().GetMoveCount(), CClientView::kMaxRelayEvents);

  // Take-backs count too: a server taking back, line after line, a move that never came.
  std::string takeBacks = "ng\n";
  for (int k = 0; k < CClientView::kMaxRelayEvents + 5; ++k) takeBacks += "um|000|1999999000\n";
  takeBacks += "te|1|end\n";
  ASSERT_TRUE(s.Relay(takeBacks, [&] { return view.GetComments().GetCount(1) == 1; }));
  EXPECT_EQ(view.GetDelayQueue().GetEventCount(), CClientView::kMaxRelayEvents);
}

TEST(ClientSessionTest, VoiceSessionHoldsMovesBackByTheDelayAndShowsThePhotograph) {
  Session s;
  s.script.voice = true;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(view.IsConnected());
  EXPECT_EQ(view.GetExplainMode(), 1);

  const std::string photo = PhotoBytes();
  ASSERT_FALSE(photo.empty());
  const std::string history = "mu|rtsp://127.0.0.1/relay.rm\n"
                              "am|001|b|pd|1999999000|010000|005950\n"
                              "ar|1|1|b|cc|x\n"
                              "aa|1|1|b|cc|x\n"
                              "ae|1|In the voice diagram\n"
                              "ea|1|1\n"
                              "bp|" + std::to_string(photo.size()) + "\n" + photo +
                              "eh\n";
  ASSERT_TRUE(s.Relay(history, [&] { return view.IsHistoryComplete(); }));
  EXPECT_EQ(Str(view.GetMediaAddress()), "rtsp://127.0.0.1/relay.rm");
  ASSERT_EQ(view.GetDiagrams().GetDiagramCount(1), 1);
  EXPECT_EQ(view.GetDiagrams().GetDiagramMoves(1, 0)->GetSize(), 1);  // the text-mode stone was not taken
  // The photograph was read and shown.
  EXPECT_EQ(view.GetBlackPhoto().GetWidth(), 40);
  EXPECT_EQ(view.GetBlackPhoto().GetHeight(), 44);
  const std::string kept = Str(view.GetGameInfo().m_blackPhotoPath);
  ASSERT_FALSE(kept.empty());
  // Named by the system in the temporary folder, whatever the line said.
  EXPECT_EQ(std::filesystem::path(kept).parent_path().filename(), std::filesystem::temp_directory_path().filename());
  EXPECT_EQ(std::filesystem::path(kept).filename().string().rfind("$$O", 0), 0u);

  // Thirty seconds of delay on the relay's present time.
  ASSERT_TRUE(s.Relay("ts|2000000000\n", [&] { return view.GetDelayQueue().IsDelayActive(); }));
  view.GetDelayQueue().SetDelay(30);
  ASSERT_TRUE(s.Relay("am|002|w|dp|2000000000|005950|005950\n",
                      [&] { return view.GetDelayQueue().GetMoveCount() == 2; }));
  EXPECT_EQ(view.GetBoard().GetLastMove(), 1);  // held back
  GetClientConfig().SetSound(true);
  platform::ClearSoundCalls();
  EXPECT_EQ(Str(s.frame->GetStatusBar().GetProgressText()), "progress :   2");
  platform::Clock::Advance(29000);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 1);
  EXPECT_TRUE(platform::SoundCalls().empty());
  platform::Clock::Advance(2000);
  ASSERT_TRUE(view.IsConnected()) << (s.script.messages.empty() ? "" : s.script.messages.back());
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  // The move that became due was announced with the stone's sound, once.
  ASSERT_EQ(platform::SoundCalls().size(), 1u);
  EXPECT_EQ(platform::SoundCalls()[0].sound, "#315");
  EXPECT_TRUE(platform::SoundCalls()[0].played);
  EXPECT_TRUE(view.GetBoard().GetCell(4, 16).HasStone());

  // Two more moves held back by the delay, and the server goes: the board stays at move 2 with
  // the held moves behind it, and the person steps to the last one.
  s.frame->ShowWindow(SW_SHOW);
  s.IdleAsTheProgramDoes();
  ASSERT_TRUE(s.Relay("am|003|b|dd|2000000031|005940|005950\nam|004|w|pp|2000000032|005940|005940\n",
                      [&] { return view.GetDelayQueue().GetMoveCount() == 4; }));
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  s.peer.CloseClient();
  ASSERT_TRUE(Session::WaitFor([&] { return !view.IsConnected(); }));
  EXPECT_EQ(s.script.messages.back(), "It is disconnected. Retry connection.");
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 2);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 4);
  platform::PumpMessages();
  EXPECT_TRUE(view.GetDlgItem(IDC_BTN_NEXT)->IsWindowEnabled());
  ClickButton(view, IDC_BTN_NEXT);
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 3);
  ClickButton(view, IDC_BTN_LAST);
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 4);
  EXPECT_TRUE(view.GetBoard().GetCell(16, 16).HasStone());
  EXPECT_EQ(Str(s.Text(IDC_MOVE_EDIT)), "4");
  // Time passing changes nothing more: the delay holds nothing back now.
  platform::Clock::Advance(40000);
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 4);
  EXPECT_FALSE(view.KillTimer(CClientView::kTimerId));
}

// Each photograph goes to a fresh file of its own that only this user can read, named so that no
// one could have planted anything there; the next photograph of the same side is shown too, and
// replaces the file, and the files go with the view.
TEST(ClientSessionTest, PhotographsLiveInPrivateFilesUntilReplacedOrTheViewGoes) {
  namespace fs = std::filesystem;
  const std::string first = PhotoBytes(40, 44);
  const std::string second = PhotoBytes(60, 30);
  std::string blackFile, whiteFile;
  {
    Session s;
    s.script.voice = true;
    s.Start();
    ASSERT_NE(s.view, nullptr);
    CClientView& view = *s.view;
    const std::string history = "bp|" + std::to_string(first.size()) + "\n" + first +
                                "wp|" + std::to_string(first.size()) + "\n" + first + "eh\n";
    ASSERT_TRUE(s.Relay(history, [&] { return view.IsHistoryComplete(); }));
    blackFile = Str(view.GetGameInfo().m_blackPhotoPath);
    whiteFile = Str(view.GetGameInfo().m_whitePhotoPath);
    ASSERT_FALSE(blackFile.empty());
    EXPECT_NE(blackFile, whiteFile);
    for (const std::string& path : {blackFile, whiteFile}) {
      SCOPED_TRACE(path);
      const fs::file_status status = fs::symlink_status(path);
      EXPECT_EQ(status.type(), fs::file_type::regular);
      EXPECT_EQ(status.permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
      EXPECT_EQ(fs::file_size(path), first.size());
      // Not the process number in hexadecimal: a name nobody can work out beforehand.
      EXPECT_GE(fs::path(path).filename().string().size(), std::string("$$Od.jpg").size() + 16);
    }
    EXPECT_EQ(view.GetBlackPhoto().GetWidth(), 40);

    ASSERT_TRUE(s.Relay("bp|" + std::to_string(second.size()) + "\n" + second,
                        [&] { return view.GetBlackPhoto().GetWidth() == 60; }));
    EXPECT_EQ(view.GetBlackPhoto().GetHeight(), 30);
    const std::string replaced = Str(view.GetGameInfo().m_blackPhotoPath);
    EXPECT_NE(replaced, blackFile);
    EXPECT_FALSE(fs::exists(blackFile));
    EXPECT_TRUE(fs::exists(replaced));
    EXPECT_EQ(view.GetWhitePhoto().GetWidth(), 40);  // the other side keeps its own
    blackFile = replaced;

    // A third photograph, the same picture again, is read and shown afresh as well.
    ASSERT_TRUE(s.Relay("bp|" + std::to_string(first.size()) + "\n" + first,
                        [&] { return view.GetBlackPhoto().GetWidth() == 40; }));
    EXPECT_FALSE(fs::exists(blackFile));
    blackFile = Str(view.GetGameInfo().m_blackPhotoPath);
    EXPECT_TRUE(fs::exists(blackFile));
  }
  EXPECT_FALSE(fs::exists(blackFile));
  EXPECT_FALSE(fs::exists(whiteFile));
}

// The temporary folder may carry a Korean name (UTF-8 on disk, like every name there): the
// photograph still lands in that folder, is read back and shown, and the next one replaces it.
TEST(ClientSessionTest, PhotographsInATemporaryFolderWithAKoreanName) {
  namespace fs = std::filesystem;
  const std::string first = PhotoBytes(40, 44);
  const std::string second = PhotoBytes(60, 30);
  platform::TempDir base;
  const fs::path folder = fs::path(base.Path()) / "사진 폴더";  // the file system's UTF-8
  ASSERT_TRUE(fs::create_directory(folder));
  struct TmpDirScope {
    std::string before;
    bool had;
    explicit TmpDirScope(const std::string& to) : before(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : ""),
                                                  had(std::getenv("TMPDIR") != nullptr) {
      ::setenv("TMPDIR", to.c_str(), 1);
    }
    ~TmpDirScope() { had ? ::setenv("TMPDIR", before.c_str(), 1) : ::unsetenv("TMPDIR"); }
  } tmpdir(folder.string());
  auto filesThere = [&] {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
  };
  {
    Session s;
    s.script.voice = true;
    s.Start();
    ASSERT_NE(s.view, nullptr);
    CClientView& view = *s.view;
    ASSERT_TRUE(s.Relay("bp|" + std::to_string(first.size()) + "\n" + first + "eh\n",
                        [&] { return view.IsHistoryComplete(); }));
    EXPECT_TRUE(s.script.messages.empty());
    EXPECT_EQ(view.GetBlackPhoto().GetWidth(), 40);
    EXPECT_EQ(view.GetBlackPhoto().GetHeight(), 44);
    std::vector<std::string> names = filesThere();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(fs::file_size(folder / names[0]), first.size());
    // The path the view holds is the program's text for that very file.
    EXPECT_EQ(platform::NativePath(view.GetGameInfo().m_blackPhotoPath), (folder / names[0]).string());

    ASSERT_TRUE(s.Relay("bp|" + std::to_string(second.size()) + "\n" + second,
                        [&] { return view.GetBlackPhoto().GetWidth() == 60; }));
    EXPECT_EQ(view.GetBlackPhoto().GetHeight(), 30);
    names = filesThere();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(fs::file_size(folder / names[0]), second.size());
    EXPECT_TRUE(s.script.messages.empty());
  }
  EXPECT_TRUE(filesThere().empty());
}

// A relayed diagram stone off the board ("zz", or "]a" that would break the record's brackets)
// is dropped on arrival: the diagram keeps its other stones, and the record saved afterwards
// opens again with the same diagrams.
TEST(ClientSessionTest, DiagramStonesOffTheBoardNeverReachASavedRecord) {
  const std::string path = (std::filesystem::temp_directory_path() / "client-session-offboard.sgf").string();
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  const char* lines =
      "am|001|b|pd|1999999000|010000|005950\n"
      "am|002|w|dp|1999999010|005940|005950\n"
      "ar|2|1|b|zz|x\n"          // the first stone of a diagram, off the board
      "ar|2|1|b|]a|x\n"
      "ar|2|1|w|a`|x\n"          // row 0
      "ar|2|1|b|cd|x\n"
      "ar|2|1|w|ss|x\n"          // the far corner is on the board
      "re|2|look\n"
      "er|2|1\n"
      "ar|1|1|b|tt|x\n"          // a dropped stone opens no diagram for its move...
      "ar|2|2|w|dc|x\n"          // ...so a later diagram of another move is taken
      "er|2|2\n"
      "eh\n";
  ASSERT_TRUE(s.Relay(lines, [&] { return view.IsHistoryComplete(); }));
  ASSERT_EQ(view.GetDiagrams().GetDiagramCount(2), 2);
  EXPECT_EQ(view.GetDiagrams().GetDiagramCount(1), 0);
  const CNodeArray* stones = view.GetDiagrams().GetDiagramMoves(2, 0);
  ASSERT_EQ(stones->GetSize(), 2);
  EXPECT_EQ(stones->GetNode(0)->GetX(), 3);
  EXPECT_EQ(stones->GetNode(1)->GetX(), 19);

  view.OnDisconnectCommand();
  ASSERT_TRUE(view.SaveRecordFile(path.c_str()));
  std::ifstream file(path, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved.find("]a]"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("[zz]"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("[a`]"), std::string::npos) << saved;

  ASSERT_TRUE(view.OpenRecordFile(path.c_str())) << (s.script.messages.empty() ? "" : s.script.messages.back());
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  ASSERT_EQ(view.GetDiagrams().GetDiagramCount(2), 2);
  EXPECT_EQ(view.GetDiagrams().GetDiagramMoves(2, 0)->GetSize(), 2);
  EXPECT_EQ(view.GetDiagrams().GetDiagramMoves(2, 1)->GetSize(), 1);
  CString text;
  view.GetDiagrams().GetDiagramText(2, 0, text);
  EXPECT_EQ(Str(text).rfind("look\r\n", 0), 0u);
  std::filesystem::remove(path);
}

TEST(ClientSessionTest, SavedRecordOpensAsTheSameGame) {
  testsupport::SmallDisk disk;
  const std::string path = disk / "client-session-record.sgf";
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay(kTextHistory, [&] { return view.IsHistoryComplete(); }));
  view.OnDisconnectCommand();
  ASSERT_FALSE(view.IsConnected());
  ASSERT_TRUE(view.SaveRecordFile(path.c_str()));
  // Saved again over itself on a full disk, then killed halfway: the record saved before stays
  // byte for byte, and once there is room the save goes through.
  const std::string saved = testsupport::FileBytes(path);
  EXPECT_FALSE(disk.WhileFull([&] { return view.SaveRecordFile(path.c_str()); }));
  EXPECT_EQ(s.script.messages.back(), "File save fail.");
  EXPECT_EQ(testsupport::FileBytes(path), saved);
  EXPECT_TRUE(testsupport::KilledWhileSaving([&] { return view.SaveRecordFile(path.c_str()); }, 64));
  EXPECT_EQ(testsupport::FileBytes(path), saved);
  ASSERT_TRUE(view.SaveRecordFile(path.c_str()));
  EXPECT_EQ(testsupport::FileBytes(path), saved);
  view.OnMoveFirst();
  EXPECT_EQ(Str(s.Text(IDC_MOVE_EDIT)), "0");

  GetClientConfig().SetSound(true);
  platform::ClearSoundCalls();
  ASSERT_TRUE(view.OpenRecordFile(path.c_str()));
  EXPECT_EQ(Str(s.Text(IDC_MOVE_EDIT)), "3");  // the opened game at its last move
  EXPECT_TRUE(platform::SoundCalls().empty());  // a whole file is shown silently
  EXPECT_TRUE(GetClientConfig().IsSoundOn());
  EXPECT_EQ(view.GetBoard().GetLastMove(), 3);
  EXPECT_EQ(view.GetDelayQueue().GetMoveCount(), 3);
  EXPECT_TRUE(view.GetBoard().GetCell(16, 4).HasStone());
  EXPECT_TRUE(view.GetBoard().GetCell(4, 16).HasStone());
  EXPECT_TRUE(view.GetBoard().GetCell(4, 4).HasStone());
  EXPECT_EQ(view.GetComments().GetCount(1), 1);
  EXPECT_EQ(view.GetComments().GetCount(2), 1);
  ASSERT_EQ(view.GetDiagrams().GetDiagramCount(3), 1);
  EXPECT_EQ(view.GetDiagrams().GetDiagramMoves(3, 0)->GetSize(), 2);
  EXPECT_EQ(Str(view.GetGameInfo().m_blackName), "Kim");
  EXPECT_EQ(view.GetGameInfo().m_blackRank, 9);
  EXPECT_NE(view.GetStateFlags() & CClientView::kRecordOpen, 0);

  // A file that is not a record leaves an empty game, not half of one.
  // Beside the small disk: the record of outsize commentary below would not fit on it.
  platform::TempDir spare;
  const std::string broken = spare / "client-session-record.sgf.broken";
  std::ofstream(broken) << "(;B[pd];W[dp]C[half;B[zz";
  EXPECT_FALSE(view.OpenRecordFile(broken.c_str()));
  EXPECT_EQ(s.script.messages.back(), "File open fail.");
  EXPECT_EQ(view.GetBoard().GetLastMove(), 0);
  EXPECT_EQ(Str(s.Text(IDC_MOVE_EDIT)), "");
  EXPECT_EQ(view.GetComments().GetCount(2), 0);
  EXPECT_TRUE(view.GetGameInfo().m_blackName.IsEmpty());

  // A record with more commentary on a move than the pane is given opens: the pane holds the
  // start of it, and the game keeps it whole, for the file saved again.
  const std::string huge(256 * 1024, 'y');
  std::ofstream(broken, std::ios::trunc) << "(;GM[1];B[pd]C[" << huge << "];W[dp])";
  ASSERT_TRUE(view.OpenRecordFile(broken.c_str()));
  view.OnMoveFirst();
  view.OnMoveNext();
  const CString pane = s.Text(IDC_COMMENT_PANE);
  EXPECT_GT(pane.GetLength(), 1000);
  EXPECT_LE(pane.GetLength(), CClientView::kMaxCommentShown);
  CString kept;
  view.GetComments().GetAt(kept, 1, 0);
  EXPECT_EQ(kept.GetLength(), static_cast<int>(huge.size()));
  const std::string again = spare / "client-session-record-again.sgf";
  ASSERT_TRUE(view.SaveRecordFile(again.c_str()));
  EXPECT_GT(std::filesystem::file_size(again), huge.size());
}

// The demo record as the relay peer program sends it, in either commentary mode: every move,
// comment and reference diagram stone ends up in the view as the record holds it.
TEST(ClientSessionTest, TheDemoRecordArrivesWholeAsTheRelayPeerSendsIt) {
  for (const bool voice : {false, true}) {
    SCOPED_TRACE(voice ? "voice" : "text");
    RelayScript relay(voice);
    ASSERT_TRUE(relay.Read(TEST_DATA_DIR "/relay-demo.sgf"));
    const int total = relay.MoveCount();
    std::string lines = relay.InfoLines();
    for (int k = 1; k <= total; ++k) lines += relay.MoveLines(k, Session::kWallTime - 3600 + k);
    lines += "eh\n" + relay.ResultLine();
    ASSERT_GT(relay.DiagramStonesSent(), 0);

    Session s;
    s.script.voice = voice;
    s.Start();
    ASSERT_NE(s.view, nullptr);
    CClientView& view = *s.view;
    ASSERT_TRUE(view.IsConnected());
    ASSERT_TRUE(s.Relay(lines, [&] { return view.IsHistoryComplete() && !view.GetGameInfo().m_result.IsEmpty(); }));
    EXPECT_EQ(view.GetDelayQueue().GetMoveCount(), total);
    EXPECT_EQ(view.GetBoard().GetLastMove(), total);
    EXPECT_EQ(Str(view.GetGameInfo().m_result), Str(relay.Info().m_result));
    EXPECT_EQ(Str(view.GetGameInfo().m_blackName), Str(relay.Info().m_blackName));
    int diagrams = 0;
    for (int k = 1; k <= total; ++k) {
      SCOPED_TRACE("move " + std::to_string(k));
      ASSERT_EQ(view.GetComments().GetCount(k), relay.Comments().GetCount(k));
      for (int i = 0; i < relay.Comments().GetCount(k); ++i) {
        CString got, sent;
        view.GetComments().GetAt(got, k, i);
        relay.Comments().GetAt(sent, k, i);
        EXPECT_EQ(Trimmed(got), Trimmed(sent));
      }
      ASSERT_EQ(view.GetDiagrams().GetDiagramCount(k), relay.Diagrams().GetDiagramCount(k));
      for (int d = 0; d < relay.Diagrams().GetDiagramCount(k); ++d, ++diagrams) {
        const CNodeArray* got = view.GetDiagrams().GetDiagramMoves(k, d);
        const CNodeArray* sent = relay.Diagrams().GetDiagramMoves(k, d);
        ASSERT_NE(got, nullptr);
        ASSERT_EQ(got->GetSize(), sent->GetSize());
        for (INT_PTR i = 0; i < sent->GetSize(); ++i) {
          EXPECT_EQ(got->GetNode(i)->GetX(), sent->GetNode(i)->GetX());
          EXPECT_EQ(got->GetNode(i)->GetY(), sent->GetNode(i)->GetY());
          EXPECT_EQ(got->GetNode(i)->GetColor(), sent->GetNode(i)->GetColor());
          EXPECT_EQ(got->GetNode(i)->GetMarkKind(), sent->GetNode(i)->GetMarkKind());
          EXPECT_EQ(got->GetNode(i)->GetSeq(), sent->GetNode(i)->GetSeq());
        }
        EXPECT_EQ(view.GetDiagrams().GetDiagramBase(k, d), relay.Diagrams().GetDiagramBase(k, d));
        CString gotText, sentText;
        view.GetDiagrams().GetDiagramText(k, d, gotText);
        relay.Diagrams().GetDiagramText(k, d, sentText);
        EXPECT_EQ(Trimmed(gotText), Trimmed(sentText));
      }
    }
    EXPECT_EQ(diagrams, relay.DiagramsSent());
  }
}

// The demo's diagram of move 40 branches off at move 41: the Game Diagram shows the main line up
// to move 40 under the diagram's stones numbered 1 to 3, and Save As keeps its base.
TEST(ClientSessionTest, TheDemoDiagramStandsOnItsBaseInTheGameDiagramAndInTheSavedFile) {
  RelayScript relay(false);
  ASSERT_TRUE(relay.Read(TEST_DATA_DIR "/relay-demo.sgf"));
  ASSERT_EQ(relay.Diagrams().GetDiagramCount(40), 1);
  std::string lines = relay.InfoLines();
  for (int k = 1; k <= relay.MoveCount(); ++k) lines += relay.MoveLines(k, Session::kWallTime - 3600 + k);
  lines += "eh\n";

  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay(lines, [&] { return view.IsHistoryComplete(); }));
  ASSERT_EQ(view.GetDiagrams().GetDiagramCount(40), 1);
  EXPECT_EQ(view.GetDiagrams().GetDiagramBase(40, 0), 41);

  auto* dialog = new CGameDiagramDlg(&view, &view.GetBoard(), &view.GetDiagrams(), &view.GetDelayQueue());
  ASSERT_TRUE(dialog->CreateModeless(&view));
  ASSERT_EQ(dialog->ShowDiagram(40, 0), 1);
  CBadukCtrl& board = dialog->GetBoard();
  EXPECT_EQ(board.GetBaseMove(), 41);
  EXPECT_EQ(board.GetLastMove(), 43);
  CStoneNode node;
  // Move 40 (White at m-r) stands; move 41 of the game (Black at l-r) is not there.
  ASSERT_EQ(board.GetNode(node, 13, 18), 0);
  EXPECT_TRUE(node.HasStone());
  EXPECT_EQ(node.GetSeq(), 40);
  ASSERT_EQ(board.GetNode(node, 12, 18), 0);
  EXPECT_FALSE(node.HasStone());
  // The diagram's stones, numbered from the base: 1, 2, 3.
  const struct {
    int x, y, colour, number;
  } expected[] = {{17, 3, 2, 1}, {16, 3, 1, 2}, {17, 4, 2, 3}};
  for (const auto& stone : expected) {
    ASSERT_EQ(board.GetNode(node, stone.x, stone.y), 0);
    EXPECT_TRUE(node.HasStone());
    EXPECT_EQ(node.GetColor(), stone.colour);
    EXPECT_EQ(node.GetSeq() - board.GetBaseMove() + 1, stone.number);
  }
  dialog->DestroyWindow();

  // Saved and opened again, the diagram keeps its base and its numbers.
  const std::string path = (std::filesystem::temp_directory_path() / "client-session-demo-diagram.sgf").string();
  view.OnDisconnectCommand();
  ASSERT_TRUE(view.SaveRecordFile(path.c_str()));
  std::ifstream file(path, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(saved.find("]PT[41];"), std::string::npos);
  EXPECT_EQ(saved.find("PT[1]"), std::string::npos);
  ASSERT_TRUE(view.OpenRecordFile(path.c_str()));
  ASSERT_EQ(view.GetDiagrams().GetDiagramCount(40), 1);
  EXPECT_EQ(view.GetDiagrams().GetDiagramBase(40, 0), 41);
  const CNodeArray* stones = view.GetDiagrams().GetDiagramMoves(40, 0);
  ASSERT_NE(stones, nullptr);
  ASSERT_EQ(stones->GetSize(), 3);
  for (INT_PTR i = 0; i < 3; ++i) EXPECT_EQ(stones->GetNode(i)->GetSeq(), i + 1);
  std::filesystem::remove(path);
}

// Lines that come in one packet with the login reply, or ahead of it, are read like any later
// line: the moves end on the board, the voice address counts only in voice mode, and a second
// "ua" answer in capitals ends the connection there without a message.
TEST(ClientSessionTest, LinesThatComeWithTheLoginReplyAreReadLikeLaterOnes) {
  const std::string move1 = "am|001|b|pd|1999999000|010000|005950\n";
  const std::string move2 = "am|002|w|dp|1999999010|005940|005950\n";
  const std::string move3 = "am|003|b|dd|1999999020|005940|005930\n";
  const std::string stream = "mu|rtsp://127.0.0.1/relay.rm\n";
  struct Case {
    const char* name;
    bool voice;
    std::string ahead;  // lines before the reply
    std::string reply;  // the reply and what comes in its packet
    bool connected;
    int moves;          // moves received
    const char* media;  // the voice address kept
  };
  const Case cases[] = {
      {"moves behind the reply", false, "", "ua|ok\n" + move1 + move2 + "eh\n", true, 2, ""},
      {"moves ahead of the reply", false, move1, "ua|ok\n" + move2 + "eh\n", true, 2, ""},
      {"a stream in text mode", false, "", "ua|ok\n" + stream + move1 + "eh\n", true, 1, ""},
      {"a stream in voice mode", true, "", "ua|ok\n" + stream + move1 + "eh\n", true, 1, "rtsp://127.0.0.1/relay.rm"},
      {"a second answer in capitals", false, "", "ua|ok\n" + move1 + move2 + "eh\nUA|OK\n" + move3, false, 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    s.script.voice = c.voice;
    s.peer.SetBeforeReply(c.ahead);
    s.peer.SetLoginReply(c.reply);
    s.Start();
    ASSERT_NE(s.view, nullptr);
    CClientView& view = *s.view;
    ASSERT_TRUE(Session::WaitFor([&] { return view.IsHistoryComplete() && view.IsConnected() == c.connected; }));
    platform::PumpMessages();
    EXPECT_EQ(view.IsConnected(), c.connected);
    EXPECT_EQ(view.GetDelayQueue().GetMoveCount(), c.moves);
    EXPECT_EQ(view.GetBoard().GetLastMove(), c.moves);
    EXPECT_TRUE(view.GetBoard().GetCell(16, 4).HasStone());  // "pd"
    EXPECT_EQ(Str(view.GetMediaAddress()), c.media);
    EXPECT_EQ((view.GetStateFlags() & CClientView::kLoggedIn) != 0, c.connected);
    EXPECT_TRUE(s.script.messages.empty()) << s.script.messages.front();
  }
}

// The photographs' temporary files are gone once shown: a record saved after a session with them
// names neither, and opening it brings no photograph back.
TEST(ClientSessionTest, ARecordSavedAfterPhotographsNamesNoPhotographFile) {
  const std::string path = (std::filesystem::temp_directory_path() / "client-session-photos.sgf").string();
  Session s;
  s.script.voice = true;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  const std::string photo = PhotoBytes();
  ASSERT_FALSE(photo.empty());
  const std::string history = "mu|rtsp://127.0.0.1/relay.rm\n"
                              "gi|bn|Kim\n"
                              "bp|" + std::to_string(photo.size()) + "\n" + photo +
                              "wp|" + std::to_string(photo.size()) + "\n" + photo +
                              "am|001|b|pd|1999999000|010000|005950\n"
                              "eh\n";
  ASSERT_TRUE(s.Relay(history, [&] { return view.IsHistoryComplete(); }));
  const std::string black = Str(view.GetGameInfo().m_blackPhotoPath);
  const std::string white = Str(view.GetGameInfo().m_whitePhotoPath);
  ASSERT_FALSE(black.empty());
  ASSERT_FALSE(white.empty());
  view.OnDisconnectCommand();
  ASSERT_TRUE(view.SaveRecordFile(path.c_str()));

  std::ifstream file(path, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(saved.find("Kim"), std::string::npos) << saved;
  EXPECT_EQ(saved.find(std::filesystem::path(black).filename().string()), std::string::npos) << saved;
  EXPECT_EQ(saved.find(std::filesystem::path(white).filename().string()), std::string::npos) << saved;
  EXPECT_EQ(saved.find("$$O"), std::string::npos) << saved;
  EXPECT_EQ(saved.find(".jpg"), std::string::npos) << saved;

  ASSERT_TRUE(view.OpenRecordFile(path.c_str()));
  EXPECT_EQ(Str(view.GetGameInfo().m_blackName), "Kim");
  EXPECT_TRUE(view.GetGameInfo().m_blackPhotoPath.IsEmpty());
  EXPECT_TRUE(view.GetGameInfo().m_whitePhotoPath.IsEmpty());
  std::filesystem::remove(path);
}

}  // namespace
