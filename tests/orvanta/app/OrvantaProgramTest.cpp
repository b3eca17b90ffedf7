// The two programs a person starts to try Orvanta on one machine: the game-server peer with its
// demonstration script, and `orvanta` against it, headless, its login answered by a UI script.
// What the server receives is the whole of what can be seen from outside.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <platform/files.h>

#include "orvanta/app/LoginProfile.h"
#include "support/ChildProcess.h"

namespace {

// A loopback port nobody listens on just now.
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  ::close(fd);
  return port;
}

struct Received {
  std::string record;  // "(major,minor)"
  std::string payload;
};

// The records the peer printed, in order.
std::vector<Received> ReceivedRecords(const std::string& output) {
  std::vector<Received> records;
  std::istringstream lines(output);
  std::string text;
  while (std::getline(lines, text)) {
    // "connection N: (major,minor) flag F payload P"
    int connection = 0, major = 0, minor = 0, flag = 0, end = -1;
    if (std::sscanf(text.c_str(), "connection %d: (%d,%d) flag %d payload%n", &connection, &major, &minor, &flag,
                    &end) != 4 ||
        end < 0) {
      continue;
    }
    std::size_t payload = static_cast<std::size_t>(end);
    if (payload < text.size() && text[payload] == ' ') ++payload;
    records.push_back({"(" + std::to_string(major) + "," + std::to_string(minor) + ")", text.substr(payload)});
  }
  return records;
}

TEST(OrvantaProgramTest, LogsInToThePeerProgramAndAsksForTheWaitingRooms) {
  platform::TempDir folder;
  const int port = FreePort();
  ASSERT_GT(port, 0);
  testsupport::ChildProcess peer({ORVANTA_PEER_PATH, ORVANTA_PEER_SCRIPTS "/demo.txt", std::to_string(port)}, {},
                                 folder.Path(), folder.Path() + "/peer.log");
  ASSERT_TRUE(peer.Started());
  ASSERT_TRUE(testsupport::ChildProcess::WaitUntil(
      [&] { return peer.Output().find("listening on") != std::string::npos; }, 10000))
      << peer.Output();

  {
    std::ofstream script(folder.Path() + "/login.txt");
    script << "dialog 179 text " << CLoginProfile::kIdEdit << "=carol text " << CLoginProfile::kPasswordEdit
           << "=pw9 end OK\n";
  }
  // The settings an earlier run left hold a frame no screen shows: the start goes on all the same.
  std::ofstream(folder.Path() + "/setting.ini") << "/|99999|99999|/a/b/c/d/";
  ::mkdir((folder.Path() + "/home").c_str(), 0700);
  testsupport::ChildProcess orvanta({ORVANTA_PROGRAM_PATH},
                                    {{"PLATFORM_HEADLESS", "1"},
                                     {"PLATFORM_HOME", folder.Path() + "/home"},
                                     {"PLATFORM_UI_SCRIPT", folder.Path() + "/login.txt"},
                                     {"ORVANTA_SERVER", "127.0.0.1:" + std::to_string(port)}},
                                    folder.Path(), folder.Path() + "/orvanta.log");
  ASSERT_TRUE(orvanta.Started());

  // The waiting-room request (3,6) is the last of the start view's first requests.
  const bool asked = testsupport::ChildProcess::WaitUntil(
      [&] { return peer.Output().find("(3,6)") != std::string::npos || orvanta.Ended(); }, 20000);
  const std::vector<Received> records = ReceivedRecords(peer.Output());
  ASSERT_TRUE(asked) << peer.Output() << "\n" << orvanta.Output();
  EXPECT_FALSE(orvanta.Ended()) << "the program stays up, logged in: " << orvanta.Output();

  // Later requests (the memo list after the notice) may already have come too: the order up to the
  // waiting-room request is what counts.
  std::vector<std::string> order;
  for (const Received& r : records) {
    order.push_back(r.record);
    if (r.record == "(3,6)") break;
  }
  const std::vector<std::string> expected = {"(0,1)", "(1,1)", "(1,11)", "(0,3)", "(0,2)", "(3,6)"};
  EXPECT_EQ(order, expected) << peer.Output();
  ASSERT_GE(records.size(), 2u);
  EXPECT_EQ(records[0].payload, "|OB_1.5|");
  EXPECT_EQ(records[1].payload, "|carol|pw9|");
  // The demo world's own place check found every record in the place it put the user.
  EXPECT_EQ(peer.Output().find("wrong place"), std::string::npos) << peer.Output();

  orvanta.Stop();
  peer.Stop();
}

// On a machine without the movie control the program offers its install first: Yes opens the
// service's home page through the desktop's opener and ends the program with code 1.
TEST(OrvantaProgramTest, AnsweringYesToTheMovieInstallOpensTheHomePageAndEndsWithOne) {
  platform::TempDir folder;
  {
    std::ofstream script(folder.Path() + "/answers.txt");
    script << "messagebox Yes\n";
    std::ofstream opener(folder.Path() + "/opener.sh");
    opener << "#!/bin/sh\necho \"$@\" >> \"" << folder.Path() << "/opened.txt\"\n";
  }
  ::chmod((folder.Path() + "/opener.sh").c_str(), 0700);
  ::mkdir((folder.Path() + "/home").c_str(), 0700);
  testsupport::ChildProcess orvanta({ORVANTA_PROGRAM_PATH},
                                    {{"PLATFORM_HEADLESS", "1"},
                                     {"PLATFORM_HOME", folder.Path() + "/home"},
                                     {"PLATFORM_UI_SCRIPT", folder.Path() + "/answers.txt"},
                                     {"PLATFORM_OPENER", folder.Path() + "/opener.sh"},
                                     {"ORVANTA_SERVER", "127.0.0.1:1"}},
                                    folder.Path(), folder.Path() + "/orvanta.log");
  ASSERT_TRUE(orvanta.Started());
  int status = 0;
  ASSERT_TRUE(testsupport::ChildProcess::WaitUntil([&] { return orvanta.Ended(&status); }, 20000)) << orvanta.Output();
  ASSERT_TRUE(WIFEXITED(status)) << orvanta.Output();
  EXPECT_EQ(WEXITSTATUS(status), 1) << orvanta.Output();
  std::string page;
  ASSERT_TRUE(testsupport::ChildProcess::WaitUntil(
      [&] {
        std::ifstream again(folder.Path() + "/opened.txt");
        return static_cast<bool>(std::getline(again, page));
      },
      5000))
      << orvanta.Output();
  EXPECT_NE(page.find("/index.htm"), std::string::npos) << page;
}

}  // namespace
