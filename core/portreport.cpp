#include "portreport.h"

#include "outcome.h"
#include "tracewords.h"

#include <QCoreApplication>

namespace {

QString say(const char *text)
{
    return QCoreApplication::translate("SerialTransaction", text);
}

// The system's reason, or who holds the port, as far as the system tells.
QString openFailureDetail(const Outcome &outcome)
{
    if (outcome.kind != Outcome::Kind::Busy)
        return outcome.reason;
    QString reason = say(TraceWords::portInUse);
    if (outcome.holder.pid == 0)
        return reason;
    reason += QStringLiteral(": ");
    if (!outcome.holder.name.isEmpty())
        reason += outcome.holder.name + QStringLiteral(", ");
    //: The program that holds the serial port, after its name.
    return reason + QCoreApplication::translate("SerialTransaction", "process ID %1").arg(outcome.holder.pid);
}

} // namespace

std::optional<OperatorReport::Report> PortReport::of(const Outcome &outcome, const QString &port, bool query)
{
    const bool openFailed =
        outcome.kind == Outcome::Kind::Busy || (outcome.kind == Outcome::Kind::PortFailure && !outcome.whileWriting);
    if (openFailed) {
        // The box's own text speaks of a busy port; the system's reason goes
        // with it, since a missing permission on the device is just as common.
        QString detail = openFailureDetail(outcome);
#ifdef Q_OS_LINUX
        if (outcome.permission)
            detail += QStringLiteral("\n\n")
                + QCoreApplication::translate("SerialTransaction",
                                              "On Linux, serial devices are usually open to the members of the "
                                              "group dialout: add your user to it (sudo adduser $USER dialout), "
                                              "then log out and in again.");
#endif
        return OperatorReport::Report{
            OperatorReport::Severity::Critical,
            QCoreApplication::translate(
                "SerialTransaction",
                "Could not open serial port: %1\nCheck that the port is not used by another application.")
                .arg(port),
            detail};
    }
    // A command whose frame did not get out is told by what the window then
    // shows, and so is a port that only took its time; a read the operator
    // waits for on a port that failed is told at once.
    if (outcome.kind == Outcome::Kind::PortFailure && query
        && outcome.reason != QLatin1String(TraceWords::writeTimeout))
        return OperatorReport::Report{
            OperatorReport::Severity::Critical,
            QCoreApplication::translate(
                "SerialTransaction",
                "Could not write the frame to serial port: %1\nCheck that the board is still connected.")
                .arg(port),
            outcome.reason};
    return std::nullopt;
}
