#include "serveroptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>

#include <tuple>
#include <utility>

namespace {

struct OptionText
{
    const char *name;
    // Null for a switch.
    const char *valueName;
    const char *description;
};

// In the order --help lists them.
constexpr OptionText optionTexts[] = {
    {"board", "board", "The board: tavro or pellan."},
    {"port", "name", "The serial port, such as ttyUSB0, COM3 or a device path."},
    {"http", "[addr:]port", "Where HTTP listens (default 127.0.0.1:8640)."},
    {"osc", "[addr:]port", "Where OSC listens (default 127.0.0.1:8641)."},
    {"token-file", "file", "The file whose first line is the HTTP token."},
    {"osc-allow", "addr,...", "The addresses OSC messages are taken from besides loopback."},
    {"visca", "[addr:]port", "Where VISCA over IP listens (off by default; usually 52381)."},
    {"visca-allow", "addr,...", "The addresses VISCA is taken from besides loopback."},
    {"visca-hold", "seconds", "How long a VISCA run goes on with no message from its sender (default 10)."},
    {"freed", "host:port,...", "Send FreeD lens data to these receivers over UDP."},
    {"freed-rate", "hz", "FreeD packets a second, 10 to 100 (default 50)."},
    {"freed-camera", "n", "The FreeD camera id, 0 to 255 (default 1)."},
    {"freed-delay", "ms", "Hold the FreeD values back by 0 to 500 ms (default 0)."},
    {"freed-values", "mode", "FreeD values: scaled, raw or lens (default scaled; lens needs --profile)."},
    {"profile", "file", "The lens profile (JSON) for focal length, focus distance and f-number."},
    {"calibrate", nullptr, "Calibrate the board at start."},
    {"track-focus", nullptr,
     "Keep the focus on its distance while the zoom moves (needs a profile with a focus curve)."},
    {"verbose", nullptr, "Write the drivers' trace to standard error."},
};

// Each FreeD option is checked as POST /v1/freed checks its key.
constexpr std::pair<const char *, const char *> freedKeys[] = {{"freed", "targets"},
                                                               {"freed-rate", "rate"},
                                                               {"freed-camera", "camera"},
                                                               {"freed-delay", "delayMs"},
                                                               {"freed-values", "values"}};

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
    for (const OptionText &option : optionTexts) {
        const QString name = QString::fromLatin1(option.name);
        const QString words = QString::fromLatin1(option.description);
        parser.addOption(option.valueName ? QCommandLineOption(name, words, QString::fromLatin1(option.valueName))
                                          : QCommandLineOption(name, words));
    }
    const auto value = [&parser](const char *name) { return parser.value(QString::fromLatin1(name)); };
    const auto isSet = [&parser](const char *name) { return parser.isSet(QString::fromLatin1(name)); };

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
    const QString boardName = value("board").toLower();
    if (boardName != QLatin1String("tavro") && boardName != QLatin1String("pellan")) {
        *error = QStringLiteral("--board must be tavro or pellan");
        return std::nullopt;
    }
    options.board = boardName == QLatin1String("pellan") ? BoardType::Pellan : BoardType::Tavro;
    options.port = value("port");
    if (options.port.isEmpty()) {
        *error = QStringLiteral("--port names no port");
        return std::nullopt;
    }
    const std::tuple<const char *, QHostAddress *, quint16 *> endpoints[] = {
        {"http", &options.httpAddress, &options.httpPort},
        {"osc", &options.oscAddress, &options.oscPort},
        {"visca", &options.viscaAddress, &options.viscaPort}};
    for (const auto &[name, address, number] : endpoints) {
        if (isSet(name) && !parseEndpoint(value(name), address, number)) {
            *error = QStringLiteral("--%1 must be [ADDR:]PORT").arg(QLatin1String(name));
            return std::nullopt;
        }
    }
    if (!parseAllowed(value("osc-allow"), QStringLiteral("--osc-allow"), &options.oscAllowed, error)
        || !parseAllowed(value("visca-allow"), QStringLiteral("--visca-allow"), &options.viscaAllowed, error))
        return std::nullopt;
    if (isSet("visca-hold")) {
        bool isNumber = false;
        options.viscaHoldS = value("visca-hold").toInt(&isNumber);
        if (!isNumber || options.viscaHoldS < 1 || options.viscaHoldS > maximumViscaHoldS) {
            *error = QStringLiteral("--visca-hold must be a whole number of seconds from 1 to %1")
                         .arg(maximumViscaHoldS);
            return std::nullopt;
        }
    }
    options.tokenFile = value("token-file");
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
    options.profileFile = value("profile");
    options.calibrate = isSet("calibrate");
    options.trackFocus = isSet("track-focus");
    options.verbose = isSet("verbose");
    for (const auto &[name, key] : freedKeys) {
        if (!isSet(name))
            continue;
        const QString given = value(name);
        bool isNumber = false;
        const double number = given.toDouble(&isNumber);
        const QLatin1String keyName(key);
        const QJsonValue json = keyName == QLatin1String("targets")
            ? QJsonValue(QJsonArray::fromStringList(given.split(QLatin1Char(','))))
            : keyName == QLatin1String("values") || !isNumber ? QJsonValue(given)
                                                              : QJsonValue(number);
        QString problem;
        if (!options.freed.apply({{keyName, json}}, !options.profileFile.isEmpty(), &problem)) {
            *error = QStringLiteral("--%1: %2").arg(QLatin1String(name), problem);
            return std::nullopt;
        }
    }
    options.freed.on = isSet("freed");
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
