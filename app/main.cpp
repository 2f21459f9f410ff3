#include "mainwindow.h"
#include "tracefile.h"

#include <QApplication>
#include <QDebug>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const TraceFile trace(TraceFile::defaultPath());
    if (trace.isOpen())
        qInfo() << "Trace file:" << trace.path();
    MainWindow window;
    window.show();
    return application.exec();
}
