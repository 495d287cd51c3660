// gtest main with the Qt application object the tests need (QApplication for GUI tests).
#include <gtest/gtest.h>

#ifdef VQ_GUI_TEST_MAIN
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef VQ_GUI_TEST_MAIN
    // Test discovery runs at build time, outside CTest's environment: no display there either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#endif
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
