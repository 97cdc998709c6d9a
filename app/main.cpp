// The editor program: the Qt application, the one application object, and
// the framework's start-up, event loop and exit around them.
#include <QApplication>

#include "app/CCorvellApp.h"

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    QApplication::setApplicationName("Quorvant");
    QApplication::setOrganizationName("Tarnwick");
    QApplication::setDesktopFileName("quorvant");
    CCorvellApp app;
    return AfxWinMain(QApplication::arguments().mid(1));
}
