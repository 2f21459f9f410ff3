#ifndef PORTLOCK_H
#define PORTLOCK_H

#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

class QLockFile;
class QSerialPort;

// Another program that has the port open, or waits for it. A driver keeps
// its port open between exchanges only while nobody waits for it, so a second
// program driving the same board meets the port busy now and then and waits
// for it, one exchange at most.
struct PortHolder
{
    // 0 where the system does not tell which process it is.
    qint64 pid = 0;
    // Its program name, empty where the system does not tell.
    QString name;
};

// On Unix QSerialPort takes a lock file for every port it opens (LCK.. and
// the port's name with '/' made '_', in the first usable lock folder) and
// refuses a port whose lock a live process holds; a lock left by a process
// that has ended does not count. On Windows a port is open to one program at
// a time, and the others are refused access with no word of who has it.
namespace PortLock {

// Who holds port, which has just failed to open, or nothing when it failed
// for another reason.
std::optional<PortHolder> holder(const QSerialPort &port);

// QSerialPort locks a port under the name it was given only, so a port opened
// through a link (a stable name in /dev/serial/by-id, say) and the device it
// points to would be locked apart. The device is therefore locked as well,
// while lock lives, once the port is open: a program that opens it by its own
// name, or through another link, finds it busy. Returns who holds the device
// when it is busy; lock stays empty where name is no link.
std::optional<PortHolder> lockDevice(const QString &portName, std::unique_ptr<QLockFile> &lock);

// Lets go of a claim to the next turn.
struct TurnRelease
{
    void operator()(QLockFile *claim) const;
};
using TurnClaim = std::unique_ptr<QLockFile, TurnRelease>;

// Two programs that exchange back to back would leave each other only
// microseconds between exchanges to find the port free, and a driver that
// keeps its port open would leave none. So one that has found the port busy
// claims the next turn: the holder closes the port after its exchange, and
// the others open it again only once the claimant has had it. The claim lasts
// as long as the returned one; none is made where another program (or another
// driver of this one) has claimed the turn, nor on Windows. The turn is the
// device's, whatever link leads to it.
TurnClaim claimNextTurn(const QString &portName);
// A claim's holder is taken by its number, and a number that a program gone
// left on its claim can belong to another program by now: one that waits for
// no port, and would hold the turn for ever. So a claimant renews its claim
// at every look at the port, and a claim not renewed for this long is no
// claim, whoever has the number.
constexpr int claimRenewedWithinMs = 2000;
void renewClaim(const TurnClaim &claim);
// The other program, or this one for another of its drivers, that has
// claimed the next turn at the port, if any.
std::optional<PortHolder> nextTurn(const QString &portName);
// The same, for a port kept open and looked at again and again: where its
// claims are made is found once (turnPath, empty where none can be made).
QString turnPath(const QString &portName);
std::optional<PortHolder> claimant(const QString &turnPath);

// On a loaded machine one exchange of the holder can take longer than a
// program waits for the port, yet the holder is no less sure to hand the port
// over after it. So a wait gives up only once the others have shown no sign of
// progress for that long, and the sign is the device's lock changing: when it
// last did, -1 while there is none. Every open and close changes it, and so
// does a holder whose exchange moves on (markProgress); a holder that hangs,
// or keeps the port open without exchanging, leaves it as it is. It never
// changes on Windows.
qint64 progress(const QString &portName);
// Leaves a sign of progress on the device's lock, which this program holds
// while the port is open.
void markProgress(const QString &portName);

} // namespace PortLock

#endif // PORTLOCK_H
