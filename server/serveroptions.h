#ifndef SERVEROPTIONS_H
#define SERVEROPTIONS_H

#include "freedsettings.h"
#include "lensmotor.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What tavro-lensd's command line asks for.
struct ServerOptions
{
    static constexpr quint16 defaultHttpPort = 8640;
    static constexpr quint16 defaultOscPort = 8641;
    static constexpr int defaultViscaHoldS = 10;
    static constexpr int maximumViscaHoldS = 600;

    BoardType board = BoardType::Tavro;
    QString port;
    QHostAddress httpAddress{QHostAddress::LocalHost};
    quint16 httpPort = defaultHttpPort;
    QHostAddress oscAddress{QHostAddress::LocalHost};
    quint16 oscPort = defaultOscPort;
    QString tokenFile;
    QList<QHostAddress> oscAllowed;
    QHostAddress viscaAddress{QHostAddress::LocalHost};
    // 0: no VISCA.
    quint16 viscaPort = 0;
    QList<QHostAddress> viscaAllowed;
    // How long a VISCA run goes on with no word from its sender.
    int viscaHoldS = defaultViscaHoldS;
    // The lens profile for the status and gotos in the lens's units; empty
    // for none.
    QString profileFile;
    bool calibrate = false;
    // Focus follows zoom from the start.
    bool trackFocus = false;
    bool verbose = false;
    // On when --freed names its targets.
    FreedSettings freed;

    // The options of arguments (program name first); nothing, with *error
    // saying what is wrong in one line, for a usage error; nothing with an
    // empty *error when *text holds the help or version to print instead.
    static std::optional<ServerOptions> parse(const QStringList &arguments, QString *error, QString *text);

    // An address and port as "[ADDR:]PORT", ADDR in IPv4 or bracketed IPv6
    // form or "localhost"; false when it is not one. Leaves *address as it is
    // when the text gives only the port.
    static bool parseEndpoint(const QString &text, QHostAddress *address, quint16 *port);

    // The token: the first line of file, which must not be readable by
    // others; nothing, with *error saying why, when it cannot be used.
    static std::optional<QByteArray> readToken(const QString &file, QString *error);
};

#endif // SERVEROPTIONS_H
