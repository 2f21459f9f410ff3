#ifndef LENSWINDOW_H
#define LENSWINDOW_H

#include "inputsources.h"
#include "mainwindow.h"

// The program's window: MainWindow with the input sources that drive it,
// made the one way the program and the window's tests make them.
class LensWindow : public MainWindow
{
    Q_OBJECT

public:
    explicit LensWindow(QWidget *parent = nullptr);

private:
    InputSources m_inputs;
};

#endif // LENSWINDOW_H
