#include <gtest/gtest.h>

#include <QApplication>

// The widgets need a QApplication; the offscreen platform keeps the tests headless.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
