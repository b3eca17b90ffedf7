// Every label of the program's dialog templates shows whole at the template's font.
#include <gtest/gtest.h>

#include "orvanta/resources/OrvantaResources.h"
#include "support/DialogLabelFit.h"

namespace {

TEST(OrvantaDialogLabels, EveryLabelFitsItsControlAtTheTemplateFont) {
  platform::ResourceModule& module = platform::CreateResourceModule("orvanta-dialog-labels");
  RegisterOrvantaDialogs(module);
  ASSERT_FALSE(testsupport::DialogTemplateIdsOf(module).empty());
  for (const std::string& problem : testsupport::ModuleLabelsThatDoNotFit(module)) ADD_FAILURE() << problem;
}

}  // namespace
