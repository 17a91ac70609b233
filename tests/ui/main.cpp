#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/read_only.h"

int main(int argc, char** argv) {
    // Before Qt starts any thread: root's read-only folders need a mount namespace of their own.
    testing_support::PrepareReadOnlyFolders();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
