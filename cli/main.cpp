// tavro-lensctl: lens commands from a console or a script; see --help.

#include "lensctl.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // No window is ever shown, so no display is needed.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavro-lensctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVRO_LENSCTL_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return LensCtl().run(QCoreApplication::arguments(), out, err);
}
