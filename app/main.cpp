#include "languagetranslators.h"
#include "lenswindow.h"
#include "serialportlist.h"
#include "tracefile.h"

#include <QApplication>
#include <QDebug>
#include <QSettings>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // The port selector's list, read while the rest of the window is made.
    lookUpSerialPortsAhead();
    // Ties the window to its menu entry and icon where the desktop asks for
    // it (Wayland); harmless elsewhere.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.corvane.TavroLensController"));
    const TraceFile trace(TraceFile::defaultPath());
    if (trace.isOpen())
        qInfo() << "Trace file:" << trace.path();
    // Before the first widget, so that every text is made in the operator's language.
    const LanguageTranslators translators(
        LanguageTranslators::configured(QSettings(QStringLiteral("config.ini"), QSettings::IniFormat)));
    LensWindow window;
    window.show();
    return application.exec();
}
