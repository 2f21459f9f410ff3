#include "portlock.h"

#include "serialportlist.h"

#include <QLockFile>
#include <QSerialPort>

#include <mutex>
#include <set>

#ifdef Q_OS_UNIX
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// Where QSerialPort puts the lock of the port it calls portName: the first
// folder that can be read and already holds the lock or can be written.
QString lockFilePath(const QString &portName)
{
    static const QStringList folders{
        QStringLiteral("/var/lock"),         QStringLiteral("/etc/locks"),
        QStringLiteral("/var/spool/locks"),  QStringLiteral("/var/spool/uucp"),
        QStringLiteral("/tmp"),              QStringLiteral("/var/tmp"),
        QStringLiteral("/var/lock/lockdev"), QStringLiteral("/run/lock"),
        QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
    const QString fileName = QStringLiteral("/LCK..") + QString(portName).replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const QString &folder : folders) {
        const QFileInfo info(folder);
        if (info.isReadable() && (QFile::exists(folder + fileName) || info.isWritable()))
            return folder + fileName;
    }
    return {};
}

// The device that portName leads to; itself where there is none.
QString deviceName(const QString &portName)
{
    const QString device = serialPortDevice(portName);
    return device.isEmpty() ? portName : device;
}

// The lock every program waiting for the device watches, whatever name the
// holder and the waiter gave it.
QString deviceLockPath(const QString &portName)
{
    return lockFilePath(deviceName(portName));
}

QString turnFilePath(const QString &portName)
{
    const QString path = deviceLockPath(portName);
    return path.isEmpty() ? path : path + QStringLiteral(".next");
}

// The claims to a next turn that drivers of this program hold now: a claim
// under this program's number that none of them holds was left by a program
// gone that had the same number, and is no claim.
std::mutex claimsMutex;
std::set<QString> &claimsHere()
{
    static std::set<QString> claims;
    return claims;
}

bool isClaimedHere(const QString &path)
{
    const std::lock_guard lock(claimsMutex);
    return claimsHere().count(path) > 0;
}

bool isRunning(qint64 pid)
{
    // A process of another user answers with EPERM, but it is there.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// The live process that holds the lock file at path.
std::optional<PortHolder> lockHolder(const QString &path)
{
    // No lock at all, as before nearly every exchange: one look suffices.
    if (path.isEmpty() || !QFile::exists(path))
        return std::nullopt;
    PortHolder holder;
    QString host;
    if (QLockFile(path).getLockInfo(&holder.pid, &host, &holder.name)) {
        if (holder.pid > 0 && isRunning(holder.pid))
            return holder;
        return std::nullopt;
    }
    // A lock being taken is there a moment before it names its holder.
    if (QFile::exists(path))
        return PortHolder{};
    return std::nullopt;
}
#endif

} // namespace

std::optional<PortHolder> PortLock::holder(const QSerialPort &port)
{
    if (port.error() != QSerialPort::PermissionError)
        return std::nullopt;
#ifdef Q_OS_UNIX
    return lockHolder(lockFilePath(port.portName()));
#else
    return PortHolder{};
#endif
}

std::optional<PortHolder> PortLock::lockDevice(const QString &portName, std::unique_ptr<QLockFile> &lock)
{
    lock.reset();
#ifdef Q_OS_UNIX
    const QString device = deviceName(portName);
    const QString path = device == portName ? QString() : lockFilePath(device);
    if (path.isEmpty())
        return std::nullopt;
    auto deviceLock = std::make_unique<QLockFile>(path);
    if (deviceLock->tryLock(0)) {
        lock = std::move(deviceLock);
        return std::nullopt;
    }
    // A lock that cannot be written at all is no sign of another program.
    if (deviceLock->error() != QLockFile::LockFailedError)
        return std::nullopt;
    // The holder may just have let go: the next look decides.
    return lockHolder(path).value_or(PortHolder{});
#else
    Q_UNUSED(portName);
    return std::nullopt;
#endif
}

void PortLock::TurnRelease::operator()(QLockFile *claim) const
{
#ifdef Q_OS_UNIX
    {
        const std::lock_guard lock(claimsMutex);
        claimsHere().erase(claim->fileName());
    }
#endif
    delete claim;
}

PortLock::TurnClaim PortLock::claimNextTurn(const QString &portName)
{
#ifdef Q_OS_UNIX
    const QString path = turnFilePath(portName);
    auto claim = std::make_unique<QLockFile>(path);
    if (!path.isEmpty() && claim->tryLock(0)) {
        const std::lock_guard lock(claimsMutex);
        claimsHere().insert(path);
        return TurnClaim(claim.release());
    }
#else
    Q_UNUSED(portName);
#endif
    return nullptr;
}

void PortLock::renewClaim(const TurnClaim &claim)
{
#ifdef Q_OS_UNIX
    if (claim)
        ::utimensat(AT_FDCWD, QFile::encodeName(claim->fileName()).constData(), nullptr, 0);
#else
    Q_UNUSED(claim);
#endif
}

std::optional<PortHolder> PortLock::nextTurn(const QString &portName)
{
    return claimant(turnPath(portName));
}

QString PortLock::turnPath(const QString &portName)
{
#ifdef Q_OS_UNIX
    return turnFilePath(portName);
#else
    Q_UNUSED(portName);
    return {};
#endif
}

std::optional<PortHolder> PortLock::claimant(const QString &turnPath)
{
#ifdef Q_OS_UNIX
    std::optional<PortHolder> claimant = lockHolder(turnPath);
    if (claimant && claimant->pid == QCoreApplication::applicationPid() && !isClaimedHere(turnPath))
        return std::nullopt;
    if (claimant
        && QFileInfo(turnPath).lastModified().msecsTo(QDateTime::currentDateTime()) > claimRenewedWithinMs)
        return std::nullopt;
    return claimant;
#else
    Q_UNUSED(turnPath);
    return std::nullopt;
#endif
}

qint64 PortLock::progress(const QString &portName)
{
#ifdef Q_OS_UNIX
    const QFileInfo lock(deviceLockPath(portName));
    return lock.exists() ? lock.lastModified().toMSecsSinceEpoch() : -1;
#else
    Q_UNUSED(portName);
    return -1;
#endif
}

void PortLock::markProgress(const QString &portName)
{
#ifdef Q_OS_UNIX
    const QString lock = deviceLockPath(portName);
    if (!lock.isEmpty())
        ::utimensat(AT_FDCWD, QFile::encodeName(lock).constData(), nullptr, 0);
#else
    Q_UNUSED(portName);
#endif
}
