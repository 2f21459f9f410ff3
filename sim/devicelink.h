#ifndef DEVICELINK_H
#define DEVICELINK_H

#include <QString>

// A symbolic link under a fixed name to a simulated board's device, so the
// program can be given one port name while the device behind it comes and goes
// (a pseudo-terminal gets a new path each time it is opened). The link is
// removed when this object goes, unless someone else has taken the name over.
class DeviceLink
{
public:
    explicit DeviceLink(const QString &path);
    ~DeviceLink();
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    QString path() const { return m_path; }

    // Makes the link point to target, in one step: whoever opens the name sees
    // either the old device or the new one. An old link (from an earlier run,
    // say) is replaced; anything at the path that is not a link is left alone
    // and false returned.
    bool pointTo(const QString &target);

private:
    QString m_path;
    QString m_target;
};

#endif // DEVICELINK_H
