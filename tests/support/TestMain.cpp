// Entry point of every test program, on the offscreen platform (set by CTest)
// so that fonts, images and the clipboard work headless. The tests of the
// window framework build it with QV_TEST_WIDGETS and get a QApplication; the
// model's tests get a QGuiApplication and so cannot reach a widget.
#ifdef QV_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
