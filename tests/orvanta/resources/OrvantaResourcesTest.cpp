// The program's resource table: what the frame and the login dialog look up is there, under the
// program's own module only.

#include <gtest/gtest.h>

#include <platform/dialog_template.h>
#include <platform/resources.h>

#include "orvanta/app/ConnectDlg.h"
#include "orvanta/resources/OrvantaResources.h"

namespace {

TEST(OrvantaResourcesTest, RegistersTheLoginDialogTheTemplateStringAndTheIcon) {
  platform::ResourceModule& module = platform::CreateResourceModule("orvanta-resources-test");
  ASSERT_TRUE(RegisterOrvantaResources(module.Handle()));
  const platform::DialogTemplate* login = module.Find<platform::DialogTemplate>(CConnectDlg::kTemplateId);
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(login->caption, "Connect: Pellomar");
  const CString* document = module.FindString(IDR_MAINFRAME);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->Left(9), "Orvanta\n\n");
  EXPECT_GE(document->Find(".sgf\nOrvanta.Document\nBaduk Document"), 0);
  platform::ResourceScope scope(module.Handle());
  EXPECT_NE(LoadIcon(module.Handle(), MAKEINTRESOURCE(IDR_MAINFRAME)), nullptr);
}

TEST(OrvantaResourcesTest, AnUnknownModuleGetsNothing) {
  platform::ResourceModule& other = platform::CreateResourceModule("orvanta-resources-other");
  EXPECT_FALSE(RegisterOrvantaResources(nullptr));
  EXPECT_EQ(other.Find<platform::DialogTemplate>(CConnectDlg::kTemplateId), nullptr);
}

}  // namespace
