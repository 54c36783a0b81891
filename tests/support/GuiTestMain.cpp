// Entry point of tests that drive real windows.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Offscreen unless told otherwise, also when CTest lists the tests at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
