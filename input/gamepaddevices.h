#ifndef GAMEPADDEVICES_H
#define GAMEPADDEVICES_H

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

#include <functional>

// Whether a game controller may be plugged in, told without SDL, so that SDL
// and the many libraries it brings are loaded only then: on Linux, from the
// input devices under /dev/input, watched for devices coming and going; on
// other systems there is no such cheap look, and a pad may always be there.
class GamepadDevices : public QObject
{
    Q_OBJECT

public:
    using Check = std::function<bool()>;

    explicit GamepadDevices(QObject *parent = nullptr);

    static bool mayBePresent();
    // Puts check in the place of the look at the system's devices; an empty
    // one brings that look back.
    static void setCheck(Check check);

    // The look on Linux: a joystick device (jsN) in inputFolder, or an event
    // device (eventN) that the kernel's class folder (sysFolder) says has
    // joystick or gamepad buttons.
    static bool padIn(const QString &inputFolder, const QString &sysFolder);

    // Tells that the devices changed, as the watch does.
    void look();

signals:
    void changed();

private:
    void watch();

    QFileSystemWatcher m_watcher;
};

#endif // GAMEPADDEVICES_H
