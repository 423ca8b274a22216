// The program's file dialog filters, written "Name|patterns" as the callers give them.
#include "app/QtDialogs.h"

#include <gtest/gtest.h>

TEST(QtDialogsFilter, TurnsPipeFiltersIntoQtFiltersMatchingEitherCase)
{
    const QPair<const char*, const char*> cases[] = {
        {"Programs|*.ZIP;*.EXE", "Programs (*.ZIP *.zip *.EXE *.exe)"},
        {"Text files|*.TXT", "Text files (*.TXT *.txt)"},
        {"Text files|*.txt|All files|*.*", "Text files (*.txt);;All files (*.*)"},
        {"", ""},
    };
    for (const auto& [filter, expected] : cases)
        EXPECT_EQ(QtDialogs::qtFilter(QString::fromLatin1(filter)).toStdString(), expected) << filter;
}
