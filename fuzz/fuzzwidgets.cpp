#include "fuzzqt.h"

#include <QApplication>

void FuzzQt::startWidgets()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    start();
}
