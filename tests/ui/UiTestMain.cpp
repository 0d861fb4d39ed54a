// The window tests run offscreen inside the program's own Application, with every message box
// answered by the script instead of a person.
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    vyp::Application app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    vyp::Dialogs::StartScript();
    return RUN_ALL_TESTS();
}
