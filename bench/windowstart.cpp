// The program's start as app/main.cpp makes it, reporting its first show.

#include "mainwindow.h"
#include "startprobe.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    MainWindow window;
    reportFirstShow(&window);
    window.show();
    return application.exec();
}
