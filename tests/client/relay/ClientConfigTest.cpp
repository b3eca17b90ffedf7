#include "client/relay/ClientConfig.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class ClientConfigTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "clientcfgXXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
    m_path = (m_dir / "client.cfg").string();
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  void Write(const std::string& bytes) {
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string Read() const {
    std::ifstream in(m_path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::filesystem::path m_dir;
  std::string m_path;
};

TEST_F(ClientConfigTest, MissingFileKeepsDefaults) {
  CClientConfig config(m_path.c_str());
  EXPECT_EQ(config.Load(), 0);
  EXPECT_EQ(config.GetClientIp(), nullptr);
  EXPECT_EQ(config.GetHelpUrl(), nullptr);
  EXPECT_EQ(config.GetClientPort(), 0);
  EXPECT_TRUE(config.IsSoundOn());
  EXPECT_FALSE(config.HasServer());
}

TEST_F(ClientConfigTest, ReadsKeysCaseBlindWithCrLfAndSkipsUnknownLines) {
  Write("Client IP=127.0.0.1\r\nclient port=7000\r\nSound=OFF\nhelp url=HTTP://X/Help\n"
        "input ip=10.0.0.1\ninput port=12\nother=1\nno equals here\n");
  CClientConfig config(m_path.c_str());
  EXPECT_EQ(config.Load(), 1);
  EXPECT_STREQ(config.GetClientIp(), "127.0.0.1");
  EXPECT_EQ(config.GetClientPort(), 7000);
  EXPECT_FALSE(config.IsSoundOn());
  EXPECT_STREQ(config.GetHelpUrl(), "HTTP://X/Help");  // an address keeps its case
  EXPECT_STREQ(config.GetInputIp(), "10.0.0.1");
  EXPECT_EQ(config.GetInputPort(), 12);
  EXPECT_TRUE(config.HasServer());
}

TEST_F(ClientConfigTest, PortsOutsideTheirRangeNameNoServer) {
  const struct {
    const char* port;
    int expected;
  } cases[] = {{"0", 0}, {"1", 1}, {"65535", 65535}, {"65536", 0}, {"70000", 0}, {"-1", 0},
               {"4294967297", 0}, {"99999999999999999999999", 0}, {"80x", 80}, {"x", 0}};
  for (const auto& c : cases) {
    Write(std::string("client ip=1.2.3.4\nclient port=") + c.port + "\ninput port=" + c.port + "\n");
    CClientConfig config(m_path.c_str());
    EXPECT_EQ(config.Load(), 1);
    EXPECT_EQ(config.GetClientPort(), c.expected) << c.port;
    EXPECT_EQ(config.GetInputPort(), c.expected) << c.port;
    EXPECT_EQ(config.HasServer(), c.expected > 0) << c.port;
  }
}

TEST_F(ClientConfigTest, LinesThatDoNotSplitInTwoAreIgnored) {
  Write("help url=http://a/\nhelp url=\nclient ip=1.2.3.4=5\nclient ip =9.9.9.9\nclient port=80\n");
  CClientConfig config(m_path.c_str());
  EXPECT_EQ(config.Load(), 1);
  EXPECT_STREQ(config.GetHelpUrl(), "http://a/");  // the empty value kept the earlier one
  EXPECT_EQ(config.GetClientIp(), nullptr);        // "=" inside a value, and a blank in the key
  EXPECT_EQ(config.GetClientPort(), 80);
}

TEST_F(ClientConfigTest, LastLineWithoutLineFeedIsNotRead) {
  Write("client port=81\nsound=off");
  CClientConfig config(m_path.c_str());
  EXPECT_EQ(config.Load(), 1);
  EXPECT_EQ(config.GetClientPort(), 81);
  EXPECT_TRUE(config.IsSoundOn());
}

TEST_F(ClientConfigTest, OverlongLineEndsReadingAndEarlierLinesStay) {
  Write("client port=82\nclient ip=" + std::string(2000, '1') + "\nsound=off\n");
  CClientConfig config(m_path.c_str());
  config.Load();
  EXPECT_EQ(config.GetClientPort(), 82);
  EXPECT_EQ(config.GetClientIp(), nullptr);
  EXPECT_TRUE(config.IsSoundOn());
}

TEST_F(ClientConfigTest, SaveWritesCrLfLinesAndLeavesNoOldTail) {
  Write("client ip=255.255.255.255\nclient port=65535\nsound=on\n" + std::string(300, '#') + "\n");
  CClientConfig config(m_path.c_str());
  config.SetClientIp("1.2.3.4");
  config.SetClientPort(5);
  config.SetSound(false);
  ASSERT_EQ(config.Save(), 1);
  EXPECT_EQ(Read(), "client ip=1.2.3.4\r\nclient port=5\r\nsound=off\r\n");
}

TEST_F(ClientConfigTest, SaveKeepsOtherKeysAndReadsBackTheSame) {
  Write("client ip=1.1.1.1\nclient port=9\ninput ip=2.2.2.2\ninput port=3\nhelp url=http://h/\n");
  CClientConfig config(m_path.c_str());
  ASSERT_EQ(config.Load(), 1);
  ASSERT_EQ(config.Save(), 1);
  CClientConfig again(m_path.c_str());
  ASSERT_EQ(again.Load(), 1);
  EXPECT_STREQ(again.GetClientIp(), "1.1.1.1");
  EXPECT_EQ(again.GetClientPort(), 9);
  EXPECT_STREQ(again.GetInputIp(), "2.2.2.2");
  EXPECT_EQ(again.GetInputPort(), 3);
  EXPECT_STREQ(again.GetHelpUrl(), "http://h/");
  EXPECT_TRUE(again.IsSoundOn());
}

TEST_F(ClientConfigTest, SaveIntoMissingFolderFailsAndReportsIt) {
  CClientConfig config((m_dir / "no" / "client.cfg").string().c_str());
  EXPECT_EQ(config.Save(), 0);
}

}  // namespace
