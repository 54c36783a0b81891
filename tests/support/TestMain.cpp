// Entry point of rule tests: a QCoreApplication for the Qt parts that expect one. Tests that drive
// windows use GuiTestMain (almacen_test(... GUI)).
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
