#include <gtest/gtest.h>

#include "platform/resources.h"

namespace {

struct FakeTemplate {
  int width;
};

TEST(ResourceModuleTest, StringsAreLookedUpInTheCurrentModuleOnly) {
  platform::ResourceModule& program = platform::CreateResourceModule("program");
  platform::ResourceModule& control = platform::CreateResourceModule("control");
  program.AddString(128, "program text");
  control.AddString(128, "control text");
  EXPECT_NE(program.Handle(), control.Handle());

  HINSTANCE before = AfxGetResourceHandle();
  AfxSetResourceHandle(program.Handle());
  CString s;
  EXPECT_TRUE(s.LoadString(128));
  EXPECT_STREQ(s, "program text");
  {
    platform::ResourceScope scope(control.Handle());
    EXPECT_TRUE(AfxLoadStringResource(128, s));
    EXPECT_STREQ(s, "control text");
    EXPECT_FALSE(s.LoadString(129));
    EXPECT_STREQ(s, "");
  }
  EXPECT_EQ(AfxGetResourceHandle(), program.Handle());
  AfxSetResourceHandle(before);
}

TEST(ResourceModuleTest, LoadStringCopiesIntoABufferAndCuts) {
  platform::ResourceModule& m = platform::CreateResourceModule("buffers");
  m.AddString(7, "abcdef");
  char buffer[4];
  EXPECT_EQ(LoadString(m.Handle(), 7, buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(LoadString(m.Handle(), 8, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(LoadString(nullptr, 7, buffer, sizeof buffer), 0);
}

TEST(ResourceModuleTest, TypedTablesAreKeyedByKindAndName) {
  platform::ResourceModule& m = platform::CreateResourceModule("typed");
  m.Add<FakeTemplate>(128, FakeTemplate{300});
  m.Add<FakeTemplate>("IDD_NAMED", FakeTemplate{10});
  ASSERT_NE(m.Find<FakeTemplate>(128), nullptr);
  EXPECT_EQ(m.Find<FakeTemplate>(128)->width, 300);
  EXPECT_EQ(m.Find<FakeTemplate>("IDD_NAMED")->width, 10);
  EXPECT_EQ(m.Find<FakeTemplate>(129), nullptr);
  EXPECT_EQ(m.Find<int>(128), nullptr);
  m.Add<FakeTemplate>(128, FakeTemplate{1});
  EXPECT_EQ(m.Find<FakeTemplate>(128)->width, 1);
  EXPECT_EQ(platform::FindResourceModule(m.Handle()), &m);
  EXPECT_EQ(platform::FindResourceModule(nullptr), nullptr);
}

TEST(ResourceModuleTest, CursorsAreIdentitiesOfModuleAndId) {
  platform::ResourceModule& m = platform::CreateResourceModule("cursors");
  platform::AddCursorResource(m, 150);
  HCURSOR own = LoadCursor(m.Handle(), MAKEINTRESOURCE(150));
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(LoadCursor(m.Handle(), MAKEINTRESOURCE(150)), own);
  EXPECT_EQ(LoadCursor(m.Handle(), MAKEINTRESOURCE(151)), nullptr);
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  EXPECT_NE(arrow, own);
  EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(150)), nullptr);
  platform::CursorInfo info;
  ASSERT_TRUE(platform::DescribeCursor(own, &info));
  EXPECT_EQ(info.module, m.Handle());
  EXPECT_EQ(info.id, 150u);
  HCURSOR previous = SetCursor(own);
  EXPECT_EQ(GetCursor(), own);
  SetCursor(previous);

  platform::AddIconResource(m, 128);
  EXPECT_NE(LoadIcon(m.Handle(), MAKEINTRESOURCE(128)), nullptr);
  EXPECT_NE(LoadIcon(nullptr, IDI_APPLICATION), nullptr);
  EXPECT_EQ(LoadIcon(m.Handle(), MAKEINTRESOURCE(150)), nullptr);  // a cursor is not an icon
}

}  // namespace
