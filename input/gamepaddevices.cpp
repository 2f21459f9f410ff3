#include "gamepaddevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kInputFolder = QStringLiteral("/dev/input");

// The kernel's numbers of the joystick and gamepad buttons (BTN_JOYSTICK up to
// BTN_DIGI): every pad has some of them, keyboards, mice and touchpads none.
constexpr int kFirstPadButton = 0x120;
constexpr int kEndOfPadButtons = 0x140;

GamepadDevices::Check &replacedCheck()
{
    static GamepadDevices::Check check;
    return check;
}

// The key capabilities of an event device as its class folder gives them:
// hexadecimal words of the kernel's long, the highest first, bit n of the
// whole being key n.
bool hasPadButtons(const QByteArray &capabilities)
{
    const QList<QByteArray> words = capabilities.simplified().split(' ');
    constexpr int wordBits = sizeof(long) * 8;
    for (int key = kFirstPadButton; key < kEndOfPadButtons; ++key) {
        const int index = words.size() - 1 - key / wordBits;
        if (index >= 0 && (words.at(index).toULongLong(nullptr, 16) >> (key % wordBits) & 1))
            return true;
    }
    return false;
}

} // namespace

GamepadDevices::GamepadDevices(QObject *parent)
    : QObject(parent)
{
#ifdef Q_OS_LINUX
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        watch();
        look();
    });
    watch();
#endif
}

bool GamepadDevices::mayBePresent()
{
    if (replacedCheck())
        return replacedCheck()();
#ifdef Q_OS_LINUX
    return padIn(kInputFolder, QStringLiteral("/sys/class/input"));
#else
    return true;
#endif
}

void GamepadDevices::setCheck(Check check)
{
    replacedCheck() = std::move(check);
}

// The joystick device (jsN) that the kernel gives every pad is enough where
// its joydev module is loaded, as on most desktops; where it is not, SDL reads
// the pad's event device, which is told from a keyboard's or a mouse's by its
// buttons. Both are read from names and small files in sysfs, opening no
// device, which needs no more rights than listing a folder does.
bool GamepadDevices::padIn(const QString &inputFolder, const QString &sysFolder)
{
    // No wildcard filter: it would compile a regular expression at every look.
    const QStringList devices = QDir(inputFolder).entryList(QDir::Files | QDir::System);
    for (const QString &device : devices) {
        if (device.startsWith(QLatin1String("js")))
            return true;
        if (!device.startsWith(QLatin1String("event")))
            continue;
        QFile capabilities(sysFolder + QLatin1Char('/') + device + QStringLiteral("/device/capabilities/key"));
        if (capabilities.open(QIODevice::ReadOnly) && hasPadButtons(capabilities.readAll()))
            return true;
    }
    return false;
}

void GamepadDevices::look()
{
    emit changed();
}

// /dev/input comes with the first input device, and goes with the last: while
// it is not there, /dev is watched for it.
void GamepadDevices::watch()
{
    const QString folder = QFileInfo::exists(kInputFolder) ? kInputFolder : QStringLiteral("/dev");
    if (m_watcher.directories() == QStringList{folder})
        return;
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_watcher.addPath(folder);
}
