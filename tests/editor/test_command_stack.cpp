// The command stack.
#include <gtest/gtest.h>

#include "command_stack.h"

using gantrel::editor::CommandStack;

namespace {
void first() {}
void second() {}
} // namespace

TEST(CommandStack, NamesInAnyCaseGroupsAndDuplicates) {
    CommandStack stack;
    EXPECT_EQ(stack.addCommand(L"Gantrel", L"Kraty", L"Gitter", 1, first), Zcad::eOk);
    EXPECT_EQ(stack.addCommand(L"GANTREL", L"kraty", L"Other", 1, second), Zcad::eDuplicateKey);
    EXPECT_EQ(stack.addCommand(L"Gantrel", L"", L"x", 1, second), Zcad::eInvalidInput);
    EXPECT_EQ(stack.addCommand(L"Gantrel", L"x", L"x", 1, nullptr), Zcad::eInvalidInput);
    ASSERT_NE(stack.lookupGlobalCmd(L"KRATY"), nullptr);
    EXPECT_EQ(stack.lookupGlobalCmd(L"KRATY")->functionAddr(), &first);
    EXPECT_EQ(stack.lookupLocalCmd(L"gitter")->commandFlags(), 1);
    EXPECT_EQ(stack.lookupGlobalCmd(L"Gitter"), nullptr);
    EXPECT_EQ(stack.findTyped(L"GITTER")->functionAddr(), &first);
    EXPECT_EQ(stack.findTyped(L"_kraty")->functionAddr(), &first);
    EXPECT_EQ(stack.findTyped(L"_gitter"), nullptr); // "_" asks for a global name

    // A later group is searched first; removing it uncovers the earlier one.
    EXPECT_EQ(stack.addCommand(L"Plaxen", L"Kraty", L"Kraty", 0, second), Zcad::eOk);
    EXPECT_EQ(stack.findTyped(L"kraty")->functionAddr(), &second);
    EXPECT_EQ(stack.removeGroup(L"plaxen"), Zcad::eOk);
    EXPECT_EQ(stack.removeGroup(L"plaxen"), Zcad::eKeyNotFound);
    EXPECT_EQ(stack.findTyped(L"kraty")->functionAddr(), &first);
    EXPECT_EQ(stack.removeCmd(L"Gantrel", L"KRATY"), Zcad::eOk);
    EXPECT_EQ(stack.commandCount(), 0u);
}
