// The QtCore helpers' tests run inside a QCoreApplication, as the command line runs them: the
// termination signals need its event loop.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
