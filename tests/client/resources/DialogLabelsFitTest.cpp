// Every label of the program's dialog templates shows whole at the template's font.
#include <gtest/gtest.h>

#include "client/resources/ClientDialogs.h"
#include "support/DialogLabelFit.h"

namespace {

TEST(ClientDialogLabels, EveryLabelFitsItsControlAtTheTemplateFont) {
  platform::ResourceModule& module = platform::CreateResourceModule("client-dialog-labels");
  ASSERT_TRUE(RegisterClientDialogs(module.Handle()));
  ASSERT_FALSE(testsupport::DialogTemplateIdsOf(module).empty());
  for (const std::string& problem : testsupport::ModuleLabelsThatDoNotFit(module)) ADD_FAILURE() << problem;
}

}  // namespace
