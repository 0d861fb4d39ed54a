// The window tests run offscreen inside the program's own Application, with every message box
// answered by the script instead of a person.
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    vyp::Application app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    vyp::Dialogs::StartScript();
    return RUN_ALL_TESTS();
}
