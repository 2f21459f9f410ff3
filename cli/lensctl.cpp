#include "lensctl.h"

#include "consolelog.h"
#include "lensmotor.h"
#include "lensprofile.h"
#include "lensrequest.h"
#include "lenssession.h"
#include "measurespeeds.h"
#include "outcomewords.h"
#include "profilecheck.h"
#include "sessionscript.h"
#include "tracedecoder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

const char *const description =
    "Drives a motorised lens through a Tavro or Pellan lens controller board:\n"
    "one command per run, or a session of commands on one driver.\n"
    "\n"
    "Commands:\n"
    "  probe                           the lens type (Tavro) or \"focus\" (Pellan)\n"
    "  get                             positions and maxima of the board's motors\n"
    "  set zoom|focus|iris N           move to absolute position N (0 and up)\n"
    "  set zoom 35mm                   with --profile: move to a focal length,\n"
    "  set focus 2.5m|inf              a focus distance at the zoom the board\n"
    "  set iris f4                     reports, or an f-number (also f/2.8)\n"
    "  run zoom tele|wide              run a motor towards one end\n"
    "  run focus near|far\n"
    "  run iris open|close\n"
    "  stop zoom|focus|iris\n"
    "  preset store|call N             N from 1 to 10\n"
    "  preset call N low|medium|high   at that zoom and focus speed, which the\n"
    "                                  Tavro board keeps afterwards\n"
    "  set ... --in S, preset call N --in S\n"
    "                                  with --profile and its measured speeds:\n"
    "                                  take S seconds, every motor arriving\n"
    "                                  together on an eased course\n"
    "  calibrate                       returns once the board has calibrated\n"
    "  speed zoom|focus low|medium|high\n"
    "  store                           store in the board (Pellan: the presets)\n"
    "  session [FILE]                  the commands above, one a line, from FILE\n"
    "                                  or standard input, on one driver\n"
    "  measure-speeds                  with --profile: time each motor at each\n"
    "                                  speed (within the profile's limits) and\n"
    "                                  write them into the profile's speeds\n"
    "  profile check FILE              the range of each table of a lens profile;\n"
    "                                  needs no --board or --port\n"
    "  decode HEX...|FILE...|-         frames in hex, or the exchanges in trace files\n"
    "                                  (- for standard input), in words; needs no\n"
    "                                  --port, and --board only to tell the board\n"
    "The Pellan board has the focus motor only. Board names and command words\n"
    "may be in any case. Positions are in the driver's units, from 0 to the\n"
    "maximum that get prints: the iris from 0 to 5500 on a typical lens, where\n"
    "the window shows 0 to 100.\n"
    "\n"
    "A session skips blank lines and lines starting with #. Every line is checked\n"
    "before the first command is run; a line that is not a command is a usage\n"
    "error naming its number, and nothing is sent. A failed command ends the\n"
    "session unless --keep-going is given. A Pellan calibration holds for the\n"
    "moves after it in the same session, and only there.\n"
    "\n"
    "With --track-focus (and a profile with a focus curve) the focus keeps the\n"
    "distance it stands at while the zoom moves, and a preset call the distance of\n"
    "the preset's own focus. A preset call of a preset never stored from this\n"
    "computer is the board's own, timed or followed, and says so.\n"
    "\n"
    "Output: get prints \"name value\" lines for zoom, zoomMax, focus, focusMax,\n"
    "iris, irisMax (motors the board lacks are left out); probe prints the lens\n"
    "type; measure-speeds a line a speed (\"zoom low 400 counts/s\") and the time\n"
    "it took; a timed move \"seconds S\", the time it took; other commands print\n"
    "nothing. With --profile, get adds zoomMm, focusM\n"
    "(metres, or inf), irisF and hfovDeg (degrees) where the profile knows them.\n"
    "With --json, get prints one object with those keys (null for motors the\n"
    "board lacks and values the profile does not know), probe {\"lens\":...}, other\n"
    "commands {\"command\":\"...\",\"ok\":true}; in a session every command prints\n"
    "one object a line with \"command\" and \"ok\" (false when it failed).\n"
    "\n"
    "Exit status: 0 done; 1 port not opened, board silent, or command rejected\n"
    "or not acknowledged (decode: some frame unknown or its CRC wrong); 2 usage\n"
    "error, a profile that does not read, or a value outside the profile's range\n"
    "(nothing is moved). A failure prints one line on standard error; after a\n"
    "failed measure-speeds the moving motor is sent a stop and the profile is\n"
    "left as it was. A port another program holds is waited for up to half a\n"
    "second. TAVRO_TRACE_FILE names a file to which the drivers' trace is added.";

const QString toolName = QStringLiteral("tavro-lensctl");

void writeJson(QTextStream &out, const QJsonObject &object)
{
    out << QJsonDocument(object).toJson(QJsonDocument::Compact) << '\n';
}

// QCommandLineParser takes every word starting with '-' for an option, but a
// negative number is a value for the command to judge: it goes to the parser
// behind a space, which the command's words lose again.
QStringList hideNegativeNumbers(QStringList arguments)
{
    static const QRegularExpression negativeNumber(QStringLiteral("^-\\d"));
    for (QString &argument : arguments) {
        if (negativeNumber.match(argument).hasMatch())
            argument.prepend(QLatin1Char(' '));
    }
    return arguments;
}

// The positions the session read, in the lens's units: each as text with the
// decimals that matter, and in JSON the same value ("inf" for infinity, null
// where the profile does not know it).
void unitReadout(const LensSession &session, const LensProfile &profile, QString *text, QJsonObject *json)
{
    const std::optional<int> zoom = session.position(LensMotor::all()[0]);
    const std::optional<int> focus = session.position(LensMotor::all()[1]);
    const std::optional<int> iris = session.position(LensMotor::all()[2]);
    struct Reading
    {
        const char *key;
        std::optional<double> value;
        int decimals;
    };
    const Reading readings[] = {
        {"zoomMm", zoom ? profile.focalLengthMm(*zoom) : std::nullopt, 2},
        {"focusM", focus ? profile.focusDistanceM(*focus, zoom.value_or(0)) : std::nullopt, 3},
        {"irisF", iris ? profile.fNumber(*iris) : std::nullopt, 2},
        {"hfovDeg", zoom ? profile.horizontalFovDeg(*zoom) : std::nullopt, 2},
    };
    for (const Reading &reading : readings) {
        const QString key = QLatin1String(reading.key);
        if (!reading.value) {
            json->insert(key, QJsonValue::Null);
            continue;
        }
        const bool infinite = std::isinf(*reading.value);
        const QString number =
            infinite ? QStringLiteral("inf") : QString::number(*reading.value, 'f', reading.decimals);
        json->insert(key, infinite ? QJsonValue(number) : QJsonValue(number.toDouble()));
        *text += key + QLatin1Char(' ') + number + QLatin1Char('\n');
    }
}

} // namespace

LensCtl::LensCtl(LensSession::DriverFactory factory)
    : m_factory(std::move(factory))
{
}

int LensCtl::run(const QStringList &arguments, QTextStream &out, QTextStream &err) const
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption boardOption(QStringLiteral("board"), QStringLiteral("The board: tavro or pellan."),
                                         QStringLiteral("board"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("The serial port, such as ttyUSB0, COM3, a stable name such as "
                                                       "/dev/serial/by-id/usb-FTDI_FT232R_A12345-if00-port0, or a device path."),
                                        QStringLiteral("name"));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Answer in JSON."));
    const QCommandLineOption keepGoingOption(QStringLiteral("keep-going"),
                                             QStringLiteral("Run the rest of a session after a failed command."));
    const QCommandLineOption profileOption(
        QStringLiteral("profile"),
        QStringLiteral("The lens profile (JSON) for positions in focal length, focus distance and f-number; "
                       "measure-speeds writes its speeds."),
        QStringLiteral("file"));
    const QCommandLineOption verboseOption(
        QStringLiteral("verbose"),
        QStringLiteral("Also write the drivers' warnings and errors, and every exchange "
                       "with the board in words, to standard error."));
    const QCommandLineOption inOption(QStringLiteral("in"),
                                      QStringLiteral("Take that many seconds over the set or preset call, every "
                                                     "motor arriving together (needs the profile's speeds)."),
                                      QStringLiteral("seconds"));
    const QCommandLineOption trackOption(QStringLiteral("track-focus"),
                                         QStringLiteral("Keep the focus on its distance while the zoom moves "
                                                        "(needs a profile with a focus curve)."));
    parser.addOptions({boardOption, portOption, jsonOption, keepGoingOption, profileOption, inOption, trackOption,
                       verboseOption});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("One of the commands above."),
                                 QStringLiteral("COMMAND [ARGS]"));

    const auto usageError = [&err](const QString &problem) {
        err << toolName << ": " << problem << " (see --help)\n";
        return UsageError;
    };
    if (arguments.size() < 2) {
        err << parser.helpText();
        return UsageError;
    }
    if (!parser.parse(hideNegativeNumbers(arguments)))
        return usageError(parser.errorText());
    // QCoreApplication has no Qt options of its own to add to the help.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        out << parser.helpText();
        return Success;
    }
    if (parser.isSet(version)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
        return Success;
    }

    const QString boardName = parser.value(boardOption).toLower();
    const bool pellan = boardName == QLatin1String("pellan");
    QStringList words = parser.positionalArguments();
    if (parser.isSet(inOption))
        words << QStringLiteral("--in") << parser.value(inOption);
    // Reads a file, not a board.
    if (words.value(0).compare(QLatin1String("profile"), Qt::CaseInsensitive) == 0)
        return ProfileCheck::run(words.mid(1), out, err);
    // Reads frames and traces, not a board: no port, no driver, and the board
    // only where it is named.
    const bool decode = words.value(0).compare(QLatin1String("decode"), Qt::CaseInsensitive) == 0;
    if (!pellan && boardName != QLatin1String("tavro") && !(decode && boardName.isEmpty()))
        return usageError(QStringLiteral("--board must be tavro or pellan"));
    if (decode) {
        std::optional<BoardType> board;
        if (!boardName.isEmpty())
            board = pellan ? BoardType::Pellan : BoardType::Tavro;
        return TraceDecoder(out, err).run(board, words.mid(1));
    }
    // A profile is never half-used: one that does not read stops the tool
    // before the port is opened.
    std::optional<LensProfile> profile;
    if (parser.isSet(profileOption)) {
        LensProfile::Read read = LensProfile::readFileFor(parser.value(profileOption), pellan ? QStringLiteral("pellan") : QStringLiteral("tavro"));
        if (!read.profile) {
            err << toolName << ": " << read.error << '\n';
            return UsageError;
        }
        profile = std::move(read.profile);
    }
    const Options options{pellan ? BoardType::Pellan : BoardType::Tavro,
                          parser.value(portOption),
                          parser.isSet(jsonOption),
                          words.value(0).compare(QLatin1String("session"), Qt::CaseInsensitive) == 0,
                          parser.isSet(keepGoingOption),
                          parser.isSet(verboseOption),
                          profile ? &*profile : nullptr,
                          parser.isSet(trackOption)};
    if (options.port.isEmpty())
        return usageError(QStringLiteral("--port names no port"));
    if (options.trackFocus && !(profile && profile->hasTable(LensAxis::Focus)))
        return usageError(OutcomeWords::noFocusCurve());
    if (words.value(0).compare(QLatin1String("measure-speeds"), Qt::CaseInsensitive) == 0) {
        if (words.size() > 1)
            return usageError(QStringLiteral("measure-speeds takes no arguments"));
        if (!options.profile)
            return usageError(QStringLiteral("measure-speeds needs --profile FILE, the profile it writes the speeds into"));
        if (options.json)
            return usageError(QStringLiteral("measure-speeds answers in words only"));
        if (options.keepGoing)
            return usageError(QStringLiteral("--keep-going is for sessions"));
        return measureSpeeds({options.board, options.port, parser.value(profileOption), options.profile},
                             options.verbose, out, err);
    }
    QString problem;
    const std::optional<QList<LensRequest>> requests = this->requests(words, options, &problem);
    if (!requests)
        return usageError(problem);
    return execute(*requests, options, out, err);
}

std::optional<QList<LensRequest>> LensCtl::requests(const QStringList &arguments, const Options &options,
                                                    QString *problem) const
{
    QStringList words;
    for (const QString &word : arguments)
        words << word.trimmed();
    if (!options.session) {
        if (options.keepGoing) {
            *problem = QStringLiteral("--keep-going is for sessions");
            return std::nullopt;
        }
        std::optional<LensRequest> request = LensRequest::parse(options.board, words, options.profile, problem);
        if (!request)
            return std::nullopt;
        return QList<LensRequest>{std::move(*request)};
    }
    if (words.size() > 2) {
        *problem = QStringLiteral("session takes at most a file");
        return std::nullopt;
    }
    const std::optional<QString> text = SessionScript::read(words.value(1), problem);
    if (!text)
        return std::nullopt;
    return SessionScript::parse(options.board, *text, options.profile, problem);
}

int LensCtl::execute(const QList<LensRequest> &requests, const Options &options, QTextStream &out,
                     QTextStream &err) const
{
    if (requests.isEmpty())
        return Success;
    ConsoleLog log(err, options.verbose);
    LensSession session(options.board, options.port, LensSession::Threading::CallersThread, m_factory);
    if (options.profile)
        session.setProfile(std::make_shared<const LensProfile>(*options.profile));
    if (options.trackFocus)
        session.setTracking(true);
    int status = Success;
    for (const LensRequest &request : requests) {
        const Answer answer = this->answer(session, request, options, out);
        if (answer.problem.isEmpty())
            continue;
        err << toolName << ": " << request.words << ": " << answer.problem << '\n';
        err.flush();
        status = std::max(status, answer.usage ? int(UsageError) : int(Failure));
        if (!options.keepGoing)
            break;
    }
    return status;
}

int LensCtl::measureSpeeds(const MeasureSpeeds::Setup &setup, bool verbose, QTextStream &out,
                           QTextStream &err) const
{
    ConsoleLog log(err, verbose);
    const QString problem = MeasureSpeeds::run(setup, m_factory, out);
    if (problem.isEmpty())
        return Success;
    err << toolName << ": measure-speeds: " << problem << '\n';
    err.flush();
    return Failure;
}

LensCtl::Answer LensCtl::answer(LensSession &session, const LensRequest &request, const Options &options,
                                QTextStream &out) const
{
    QString text;
    QJsonObject json;
    SessionRequest sessionRequest = request.request;
    Answer answer;
    if (request.focusMetres)
        answer = focusAtZoom(session, *request.focusMetres, *options.profile, &sessionRequest);
    SessionResult result;
    if (answer.problem.isEmpty()) {
        result = session.runNow(sessionRequest);
        // A soft limit is the profile's word, as its range is: a usage error.
        if (result.kind == SessionResult::Kind::BeyondLimit)
            answer = {OutcomeWords::beyondLimit(sessionRequest.motor->name, result.value), true};
        else if (result.kind == SessionResult::Kind::Unmeasured)
            answer = {OutcomeWords::unmeasured(), true};
        else if (!result.done())
            answer.problem = OutcomeWords::failure(result.outcome, session.portName(), result.query);
    }
    const QString &problem = answer.problem;
    if (problem.isEmpty() && request.kind == LensRequest::Kind::Probe)
        probed(result.value, options.board, &text, &json);
    else if (problem.isEmpty() && request.kind == LensRequest::Kind::Get)
        readout(session, &text, &json);
    else if (problem.isEmpty() && sessionRequest.seconds > 0 && !result.boardsOwn)
        timed(result, &text, &json);
    if (problem.isEmpty() && result.boardsOwn) {
        text += OutcomeWords::boardsOwnPreset(sessionRequest.value) + QLatin1Char('\n');
        json.insert(QStringLiteral("boardsOwn"), true);
    }
    if (problem.isEmpty() && request.kind == LensRequest::Kind::Get && options.profile)
        unitReadout(session, *options.profile, &text, &json);
    // In a session every JSON line says which command it answers and how it
    // went, so a script can match answers to commands.
    if (options.json && (options.session || request.kind == LensRequest::Kind::Command)) {
        json.insert(QStringLiteral("command"), request.words);
        json.insert(QStringLiteral("ok"), problem.isEmpty());
    }
    if (options.json && (problem.isEmpty() || options.session))
        writeJson(out, json);
    else if (problem.isEmpty())
        out << text;
    out.flush();
    return answer;
}

LensCtl::Answer LensCtl::focusAtZoom(LensSession &session, double metres, const LensProfile &profile,
                                     SessionRequest *goTo)
{
    SessionRequest read;
    read.kind = SessionRequest::Kind::Refresh;
    read.exact = true;
    const SessionResult result = session.runNow(read);
    if (!result.done())
        return {OutcomeWords::failure(result.outcome, session.portName(), result.query)};
    const int zoom = session.position(LensMotor::all()[0]).value_or(0);
    const LensProfile::Target target =
        profile.positionFor(LensAxis::Focus, LensValue{LensValue::Unit::Metres, metres}, zoom);
    if (!target.position)
        return {QStringLiteral("%1 at zoom %2").arg(LensProfile::problemText(LensAxis::Focus, target)).arg(zoom), true};
    goTo->value = *target.position;
    return {};
}

void LensCtl::timed(const SessionResult &result, QString *text, QJsonObject *json)
{
    const QString seconds = QString::number(result.seconds, 'f', 2);
    *text = QStringLiteral("seconds %1%2\n")
                .arg(seconds, result.lengthened ? QStringLiteral(" (the shortest the motors can make)") : QString());
    json->insert(QStringLiteral("seconds"), seconds.toDouble());
    if (result.lengthened)
        json->insert(QStringLiteral("lengthened"), true);
}

void LensCtl::probed(int lensType, BoardType board, QString *text, QJsonObject *json)
{
    // The focus board has no lens types; its probe only tells that it answers.
    if (board == BoardType::Pellan) {
        *text = QStringLiteral("focus\n");
        json->insert(QStringLiteral("lens"), QStringLiteral("focus"));
    } else {
        *text = QString::number(lensType) + QLatin1Char('\n');
        json->insert(QStringLiteral("lens"), lensType);
    }
}

void LensCtl::readout(const LensSession &session, QString *text, QJsonObject *json)
{
    for (const LensMotor &motor : LensMotor::all()) {
        const QString name = QLatin1String(motor.name);
        const QString maxName = name + QStringLiteral("Max");
        const std::optional<int> position = session.position(motor);
        const std::optional<int> maximum = session.maximum(motor);
        if (!motor.isOn(session.board()) || !position || !maximum) {
            json->insert(name, QJsonValue::Null);
            json->insert(maxName, QJsonValue::Null);
            continue;
        }
        json->insert(name, *position);
        json->insert(maxName, *maximum);
        *text += QStringLiteral("%1 %2\n%3 %4\n").arg(name).arg(*position).arg(maxName).arg(*maximum);
    }
}
