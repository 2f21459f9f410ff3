// The second baseline of the start figures: the window's own form, as uic
// makes it from ui/mainwindow.ui, shown with nothing behind it (no lens
// controls, no settings, no driver), so that the window's start is compared
// with building and painting the same widgets.

#include "ui_mainwindow.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    Ui::MainWindow form;
    form.setupUi(&window);
    window.show();
    return application.exec();
}
