// The baseline of the tool's start figures: a console program that prints its
// version, nothing else.

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bench-bare-core-start"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    QTextStream(stdout) << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
                        << '\n';
    return 0;
}
