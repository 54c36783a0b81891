// Test entry point: a QCoreApplication exists for Qt parts that expect one, unless a test binary
// makes its own QApplication (widget tests link their own main).
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
