// The window's start-up with any config.ini: every value the constructor and
// the port selector read from it, the stored port pattern among them, in a
// file that may not even be an INI file.

#include "fuzzqt.h"
#include "lenswindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzQt::startWidgets();
    // The ports the selector lists besides the system's, as on a bench with
    // the simulators running.
    qputenv("TAVRO_EXTRA_PORTS", "/tmp/run/ttyTAVRO:/tmp/run/ttyPELLAN:ttyUSB0:ttyACM1:COM13");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A folder of its own for every input: the settings layer keeps files it
    // has read, and one rewritten within the same millisecond at the same size
    // would be taken for the one it knows.
    static int run = 0;
    const QString folder = FuzzQt::scratchFolder() + QStringLiteral("/%1").arg(run++);
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/config.ini"));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    delete new LensWindow;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDir::setCurrent(previous);
    QDir(folder).removeRecursively();
    return 0;
}
