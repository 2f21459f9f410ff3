#include "fuzzqt.h"

#include "operatorreport.h"
#include "pause.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void discard(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

void FuzzQt::require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

QString FuzzQt::scratchFolder()
{
    static QTemporaryDir folder;
    return folder.path();
}

void FuzzQt::start()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    // FUZZ_LOG=1 keeps the trace, for looking into one input.
    if (!qEnvironmentVariableIsSet("FUZZ_LOG"))
        qInstallMessageHandler(discard);
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratchFolder());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratchFolder());
    OperatorReport::setReporter(OperatorReport::Reporter(
        [](OperatorReport::Severity, const QString &, const QString &) {}));
    Pause::setFunction([](unsigned long) {});
}
