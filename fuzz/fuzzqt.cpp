#include "fuzzqt.h"

#include "operatorreport.h"
#include "pause.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace {

void discard(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

QString FuzzQt::scratchFolder()
{
    static QTemporaryDir folder;
    return folder.path();
}

void FuzzQt::start(bool widgets)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    // FUZZ_LOG=1 keeps the trace, for looking into one input.
    if (!qEnvironmentVariableIsSet("FUZZ_LOG"))
        qInstallMessageHandler(discard);
    if (widgets) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    } else {
        new QCoreApplication(argc, argv);
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratchFolder());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratchFolder());
    OperatorReport::setReporter(OperatorReport::Reporter(
        [](QMessageBox::Icon, const QString &, const QString &) {}));
    Pause::setFunction([](unsigned long) {});
}
