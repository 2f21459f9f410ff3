#include "serveroptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>

#include <utility>

namespace {

const char *const description =
    "Serves a motorised lens on a Tavro or Pellan lens controller board to\n"
    "remote clients: JSON over HTTP, a WebSocket live feed at /v1/live, OSC\n"
    "over UDP, and with --visca VISCA over IP. By default they listen on\n"
    "127.0.0.1 only. HTTP on any other address needs --token-file, whose first\n"
    "line is the token clients send as \"Authorization: Bearer TOKEN\"; OSC on\n"
    "any other address needs --osc-allow, and VISCA --visca-allow: messages from\n"
    "other senders are ignored. A run is held for its hold time and stopped\n"
    "when no repeat comes (over VISCA, when its sender has been silent for\n"
    "--visca-hold). SIGTERM or SIGINT stops every motor the server started,\n"
    "then ends it. See tavro-lensd(1).";

// The comma-separated addresses of text into *allowed; false, with *error
// naming option, when one is not an address.
bool parseAllowed(const QString &text, const QString &option, QList<QHostAddress> *allowed, QString *error)
{
    for (const QString &address : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QHostAddress sender;
        if (!sender.setAddress(address.trimmed())) {
            *error = QStringLiteral("%1: '%2' is not an address").arg(option, address);
            return false;
        }
        *allowed << sender;
    }
    return true;
}

} // namespace

bool ServerOptions::parseEndpoint(const QString &text, QHostAddress *address, quint16 *port)
{
    QString host;
    QString number = text;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype end = text.indexOf(QStringLiteral("]:"));
        if (end < 0)
            return false;
        host = text.mid(1, end - 1);
        number = text.mid(end + 2);
    } else if (text.count(QLatin1Char(':')) == 1) {
        host = text.section(QLatin1Char(':'), 0, 0);
        number = text.section(QLatin1Char(':'), 1);
    }
    bool isNumber = false;
    const uint value = number.toUInt(&isNumber);
    if (!isNumber || value == 0 || value > 65535)
        return false;
    QHostAddress parsed;
    if (host == QLatin1String("localhost"))
        parsed = QHostAddress(QHostAddress::LocalHost);
    else if (!host.isEmpty() && !parsed.setAddress(host))
        return false;
    if (!host.isEmpty())
        *address = parsed;
    *port = quint16(value);
    return true;
}

std::optional<ServerOptions> ServerOptions::parse(const QStringList &arguments, QString *error, QString *text)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption board(QStringLiteral("board"), QStringLiteral("The board: tavro or pellan."),
                                   QStringLiteral("board"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("The serial port, such as ttyUSB0, COM3 or a device path."),
                                  QStringLiteral("name"));
    const QCommandLineOption http(QStringLiteral("http"),
                                  QStringLiteral("Where HTTP listens (default 127.0.0.1:8640)."),
                                  QStringLiteral("[addr:]port"));
    const QCommandLineOption osc(QStringLiteral("osc"), QStringLiteral("Where OSC listens (default 127.0.0.1:8641)."),
                                 QStringLiteral("[addr:]port"));
    const QCommandLineOption tokenFile(QStringLiteral("token-file"),
                                       QStringLiteral("The file whose first line is the HTTP token."),
                                       QStringLiteral("file"));
    const QCommandLineOption oscAllow(QStringLiteral("osc-allow"),
                                      QStringLiteral("The addresses OSC messages are taken from besides loopback."),
                                      QStringLiteral("addr,..."));
    const QCommandLineOption visca(QStringLiteral("visca"),
                                   QStringLiteral("Where VISCA over IP listens (off by default; usually 52381)."),
                                   QStringLiteral("[addr:]port"));
    const QCommandLineOption viscaAllow(QStringLiteral("visca-allow"),
                                        QStringLiteral("The addresses VISCA is taken from besides loopback."),
                                        QStringLiteral("addr,..."));
    const QCommandLineOption viscaHold(
        QStringLiteral("visca-hold"),
        QStringLiteral("How long a VISCA run goes on with no message from its sender (default 10)."),
        QStringLiteral("seconds"));
    const QCommandLineOption profile(
        QStringLiteral("profile"),
        QStringLiteral("The lens profile (JSON) for focal length, focus distance and f-number."),
        QStringLiteral("file"));
    const QCommandLineOption calibrate(QStringLiteral("calibrate"),
                                       QStringLiteral("Calibrate the board at start."));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Write the drivers' trace to standard error."));
    const QCommandLineOption trackFocus(QStringLiteral("track-focus"),
                                        QStringLiteral("Keep the focus on its distance while the zoom moves "
                                                       "(needs a profile with a focus curve)."));
    const QCommandLineOption freed(QStringLiteral("freed"),
                                   QStringLiteral("Send FreeD lens data to these receivers over UDP."),
                                   QStringLiteral("host:port,..."));
    const QCommandLineOption freedRate(QStringLiteral("freed-rate"),
                                       QStringLiteral("FreeD packets a second, 10 to 100 (default 50)."),
                                       QStringLiteral("hz"));
    const QCommandLineOption freedCamera(QStringLiteral("freed-camera"),
                                         QStringLiteral("The FreeD camera id, 0 to 255 (default 1)."),
                                         QStringLiteral("n"));
    const QCommandLineOption freedDelay(QStringLiteral("freed-delay"),
                                        QStringLiteral("Hold the FreeD values back by 0 to 500 ms (default 0)."),
                                        QStringLiteral("ms"));
    const QCommandLineOption freedValues(QStringLiteral("freed-values"),
                                         QStringLiteral("FreeD values: scaled, raw or lens (default scaled; "
                                                        "lens needs --profile)."),
                                         QStringLiteral("mode"));
    parser.addOptions({board, port, http, osc, tokenFile, oscAllow, visca, viscaAllow, viscaHold, freed, freedRate,
                       freedCamera, freedDelay, freedValues, profile, calibrate, trackFocus, verbose});

    error->clear();
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        *text = parser.helpText();
        return std::nullopt;
    }
    if (parser.isSet(version)) {
        *text = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
            + QLatin1Char('\n');
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first());
        return std::nullopt;
    }

    ServerOptions options;
    const QString boardName = parser.value(board).toLower();
    if (boardName != QLatin1String("tavro") && boardName != QLatin1String("pellan")) {
        *error = QStringLiteral("--board must be tavro or pellan");
        return std::nullopt;
    }
    options.board = boardName == QLatin1String("pellan") ? BoardType::Pellan : BoardType::Tavro;
    options.port = parser.value(port);
    if (options.port.isEmpty()) {
        *error = QStringLiteral("--port names no port");
        return std::nullopt;
    }
    if (parser.isSet(http) && !parseEndpoint(parser.value(http), &options.httpAddress, &options.httpPort)) {
        *error = QStringLiteral("--http must be [ADDR:]PORT");
        return std::nullopt;
    }
    if (parser.isSet(osc) && !parseEndpoint(parser.value(osc), &options.oscAddress, &options.oscPort)) {
        *error = QStringLiteral("--osc must be [ADDR:]PORT");
        return std::nullopt;
    }
    if (parser.isSet(visca) && !parseEndpoint(parser.value(visca), &options.viscaAddress, &options.viscaPort)) {
        *error = QStringLiteral("--visca must be [ADDR:]PORT");
        return std::nullopt;
    }
    if (!parseAllowed(parser.value(oscAllow), QStringLiteral("--osc-allow"), &options.oscAllowed, error)
        || !parseAllowed(parser.value(viscaAllow), QStringLiteral("--visca-allow"), &options.viscaAllowed, error))
        return std::nullopt;
    if (parser.isSet(viscaHold)) {
        bool isNumber = false;
        options.viscaHoldS = parser.value(viscaHold).toInt(&isNumber);
        if (!isNumber || options.viscaHoldS < 1 || options.viscaHoldS > maximumViscaHoldS) {
            *error = QStringLiteral("--visca-hold must be a whole number of seconds from 1 to %1")
                         .arg(maximumViscaHoldS);
            return std::nullopt;
        }
    }
    options.tokenFile = parser.value(tokenFile);
    // Anyone on the network could drive the lens otherwise.
    if (!options.httpAddress.isLoopback() && options.tokenFile.isEmpty()) {
        *error = QStringLiteral("HTTP on %1 needs a token: give --token-file").arg(options.httpAddress.toString());
        return std::nullopt;
    }
    if (!options.oscAddress.isLoopback() && options.oscAllowed.isEmpty()) {
        *error = QStringLiteral("OSC on %1 needs the senders it takes: give --osc-allow")
                     .arg(options.oscAddress.toString());
        return std::nullopt;
    }
    if (options.viscaPort != 0 && !options.viscaAddress.isLoopback() && options.viscaAllowed.isEmpty()) {
        *error = QStringLiteral("VISCA on %1 needs the senders it takes: give --visca-allow")
                     .arg(options.viscaAddress.toString());
        return std::nullopt;
    }
    options.profileFile = parser.value(profile);
    options.calibrate = parser.isSet(calibrate);
    options.trackFocus = parser.isSet(trackFocus);
    options.verbose = parser.isSet(verbose);
    // Each option is checked as POST /v1/freed checks its key.
    const std::pair<const QCommandLineOption *, const char *> freedKeys[] = {
        {&freed, "targets"}, {&freedRate, "rate"}, {&freedCamera, "camera"},
        {&freedDelay, "delayMs"}, {&freedValues, "values"}};
    for (const auto &[option, key] : freedKeys) {
        if (!parser.isSet(*option))
            continue;
        const QString given = parser.value(*option);
        bool isNumber = false;
        const double number = given.toDouble(&isNumber);
        const QJsonValue value = option == &freed ? QJsonValue(QJsonArray::fromStringList(given.split(QLatin1Char(','))))
            : option == &freedValues || !isNumber ? QJsonValue(given)
                                                  : QJsonValue(number);
        QString problem;
        if (!options.freed.apply({{QLatin1String(key), value}}, !options.profileFile.isEmpty(), &problem)) {
            *error = QStringLiteral("--%1: %2").arg(option->names().constFirst(), problem);
            return std::nullopt;
        }
    }
    options.freed.on = parser.isSet(freed);
    return options;
}

std::optional<QByteArray> ServerOptions::readToken(const QString &file, QString *error)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the token file %1: %2").arg(file, input.errorString());
        return std::nullopt;
    }
    if (input.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)) {
        *error = QStringLiteral("the token file %1 is readable by others: chmod 600 it").arg(file);
        return std::nullopt;
    }
    const QByteArray token = input.readLine().trimmed();
    if (token.isEmpty()) {
        *error = QStringLiteral("the token file %1 has no token on its first line").arg(file);
        return std::nullopt;
    }
    return token;
}
