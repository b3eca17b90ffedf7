// Every label of the program's dialog templates shows whole at the template's font.
#include <gtest/gtest.h>

#include "orvanta/resources/OrvantaResources.h"
#include "support/DialogLabelFit.h"
#include "support/StolvexModuleHome.h"

namespace {

TEST(OrvantaDialogLabels, EveryLabelFitsItsControlAtTheTemplateFont) {
  // The game room and the review dialogs hold the board control.
  testsupport::StolvexModuleHome control;
  ASSERT_TRUE(control.Registered());
  platform::ResourceModule& module = platform::CreateResourceModule("orvanta-dialog-labels");
  RegisterOrvantaDialogs(module);
  ASSERT_FALSE(testsupport::DialogTemplateIdsOf(module).empty());
  for (const std::string& problem : testsupport::ModuleLabelsThatDoNotFit(module)) ADD_FAILURE() << problem;
}

}  // namespace
