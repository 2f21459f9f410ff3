#ifndef LENSCTL_H
#define LENSCTL_H

#include "lensboard.h"
#include "lenssession.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class LensProfile;
class QJsonObject;
class QTextStream;
struct LensRequest;

namespace MeasureSpeeds {
struct Setup;
}

// tavro-lensctl: one lens command per run, or a session of them on one driver,
// for scripts on test benches. The board is driven through a LensSession on
// the tool's own thread, one command after the other; the factory makes the
// driver, so tests can count or replace what is made.
class LensCtl
{
public:
    enum ExitStatus { Success = 0, Failure = 1, UsageError = 2 };

    explicit LensCtl(LensSession::DriverFactory factory = LensBoard::makeDriver);

    // Runs the command line (program name first, as QCoreApplication gives
    // it): answers go to out, the one line naming each failure to err. A
    // session reads its commands from its file or standard input. Returns the
    // exit status.
    int run(const QStringList &arguments, QTextStream &out, QTextStream &err) const;

private:
    // What the command line asks for besides the commands.
    struct Options
    {
        BoardType board;
        QString port;
        bool json;
        bool session;
        bool keepGoing;
        bool verbose;
        // Null without --profile.
        const LensProfile *profile;
        bool trackFocus;
    };
    // What one command came to: what went wrong, if anything, and whether
    // that was the command's own fault (a usage error) rather than the board's.
    struct Answer
    {
        QString problem;
        bool usage = false;
    };

    // The commands that the command line's words ask for: one, or a
    // session's; nothing, with *problem saying why, when they cannot all be
    // carried out.
    std::optional<QList<LensRequest>> requests(const QStringList &arguments, const Options &options,
                                               QString *problem) const;
    // Runs the requests in order on one session; returns the exit status.
    int execute(const QList<LensRequest> &requests, const Options &options, QTextStream &out, QTextStream &err) const;
    // Times the motors and writes their speeds into the profile's file;
    // returns the exit status.
    int measureSpeeds(const MeasureSpeeds::Setup &setup, bool verbose, QTextStream &out, QTextStream &err) const;
    // Runs one request and writes its answer to out.
    Answer answer(LensSession &session, const LensRequest &request, const Options &options, QTextStream &out) const;
    // The answers of probe and get, in words and in JSON with the same keys
    // and values (null for motors the board lacks).
    // The goto for a focus distance, at the zoom the board reports now; what
    // went wrong when there is none.
    static Answer focusAtZoom(LensSession &session, double metres, const LensProfile &profile, SessionRequest *goTo);
    // A timed move's seconds, as the tool prints them.
    static void timed(const SessionResult &result, QString *text, QJsonObject *json);
    static void probed(int lensType, BoardType board, QString *text, QJsonObject *json);
    static void readout(const LensSession &session, QString *text, QJsonObject *json);

    LensSession::DriverFactory m_factory;
};

#endif // LENSCTL_H
