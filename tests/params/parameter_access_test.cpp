// Editor-level access: macro labels, which the program names.
#include "params/parameter_access.h"

#include <gtest/gtest.h>

namespace quenvale {
namespace {

TEST(ParameterAccess, MacroLabelsComeFromTheProgram) {
    MacroNames names = {"Macro1", "Macro2", "Macro3", "Macro4", "Macro5", "Macro6"};
    EXPECT_STREQ(parameterLabel(7, names), "Macro6");
    EXPECT_STREQ(parameterLabel(383, names), "");
    setParameterLabel(3, "Brightness", names);
    setParameterLabel(4, "A name of more than sixteen", names);
    setParameterLabel(8, "Nope", names);  // not a macro: nothing changes
    setParameterLabel(1, "Nope", names);
    setParameterLabel(5, nullptr, names);
    EXPECT_STREQ(parameterLabel(3, names), "Brightness");
    const MacroNames expected = {"Macro1", "Brightness", "A name of more t", "Macro4", "Macro5", "Macro6"};
    for (int32_t m = 0; m < kMacroCount; ++m) EXPECT_STREQ(names[m], expected[m]);
}

}  // namespace
}  // namespace quenvale
