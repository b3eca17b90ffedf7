#include "orvanta/connection/ServerAddress.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <platform/uiscript.h>
#include <platform/windows.h>

namespace {

class CRecordingScript : public platform::UiScript {
public:
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    shown.push_back(text);
    return IDOK;
  }
  std::vector<std::string> shown;
};

// Sets or clears the override for one test and puts the old value back.
class ScopedOverride {
public:
  explicit ScopedOverride(const char* value) {
    if (const char* old = std::getenv(kServerOverrideVariable)) {
      m_old = old;
      m_had = true;
    }
    if (value)
      ::setenv(kServerOverrideVariable, value, 1);
    else
      ::unsetenv(kServerOverrideVariable);
  }
  ~ScopedOverride() {
    if (m_had)
      ::setenv(kServerOverrideVariable, m_old.c_str(), 1);
    else
      ::unsetenv(kServerOverrideVariable);
  }

private:
  std::string m_old;
  bool m_had{false};
};

TEST(ServerAddressTest, ResolvesTheServiceNameOnItsPort) {
  ScopedOverride none(nullptr);
  CRecordingScript script;
  platform::ScopedUiScript scoped(&script);
  CString asked;
  const CServerAddress address = CServerAddress::Resolve([&](const CString& name, CString& dotted) {
    asked = name;
    dotted = "10.1.2.3";
    return true;
  });
  EXPECT_EQ(asked, "pellomar-server");
  EXPECT_EQ(address.m_strHost, "10.1.2.3");
  EXPECT_EQ(address.m_nPort, 12121u);
  EXPECT_TRUE(address.m_bFound);
  EXPECT_TRUE(script.shown.empty());
}

TEST(ServerAddressTest, AnUnknownNameSaysSoAndUsesTheFallback) {
  ScopedOverride none(nullptr);
  CRecordingScript script;
  platform::ScopedUiScript scoped(&script);
  const CServerAddress address = CServerAddress::Resolve([](const CString&, CString&) { return false; });
  EXPECT_EQ(address.m_strHost, "127.0.0.1");
  EXPECT_FALSE(address.m_bFound);
  EXPECT_EQ(script.shown, std::vector<std::string>{"Server system is not found."});
}

TEST(ServerAddressTest, TheEnvironmentReplacesNameAndPort) {
  ScopedOverride local("127.0.0.1:4321");
  CRecordingScript script;
  platform::ScopedUiScript scoped(&script);
  const CServerAddress address = CServerAddress::Resolve();
  EXPECT_EQ(address.m_strHost, "127.0.0.1");
  EXPECT_EQ(address.m_nPort, 4321u);
  EXPECT_TRUE(script.shown.empty());
}

TEST(ServerAddressTest, OverrideForms) {
  CString host = "default";
  UINT port = 12121;
  EXPECT_TRUE(CServerAddress::ParseOverride("example.test", host, port));
  EXPECT_EQ(host, "example.test");
  EXPECT_EQ(port, 12121u);
  EXPECT_TRUE(CServerAddress::ParseOverride(":7000", host, port));
  EXPECT_EQ(host, "example.test");
  EXPECT_EQ(port, 7000u);
  for (const char* bad : {"h:", "h:0", "h:65536", "h:12a", "h:-1", "h:999999"}) {
    port = 12121;
    EXPECT_FALSE(CServerAddress::ParseOverride(bad, host, port)) << bad;
    EXPECT_EQ(port, 12121u) << bad;
  }
  EXPECT_FALSE(CServerAddress::ParseOverride(nullptr, host, port));
}

}  // namespace
