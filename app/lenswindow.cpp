#include "lenswindow.h"

#include <QStatusBar>

LensWindow::LensWindow(QWidget *parent)
    : MainWindow(InputSources::help(), parent)
    , m_inputs(this, actions(), operations(), statusBar(), settings())
{
    setPad(m_inputs.pad());
}
