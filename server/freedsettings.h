#ifndef FREEDSETTINGS_H
#define FREEDSETTINGS_H

#include "freedvalues.h"

#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// How the FreeD output runs: where the packets go, how often, for which
// camera, held back by how much, carrying which values. The same checks
// serve the command line and POST /v1/freed.
struct FreedSettings
{
    static constexpr double minimumRate = 10;
    static constexpr double maximumRate = 100;
    static constexpr int maximumCamera = 255;
    static constexpr int maximumDelayMs = 500;

    bool on = false;
    // As given: "HOST:PORT", HOST an IPv4 address, a bracketed IPv6 one or
    // localhost.
    QStringList targets;
    double rate = 50;
    int camera = 1;
    int delayMs = 0;
    FreedValues::Mode values = FreedValues::Mode::Scaled;

    // The keys of GET /v1/freed.
    QJsonObject toJson() const;
    // These settings with changes (any of toJson()'s keys) made; nothing
    // changed, and *error saying what is wrong with which key, when a key
    // is unknown or a value out of range. Lens values need a profile, and
    // output needs a target.
    bool apply(const QJsonObject &changes, bool hasProfile, QString *error);

    static QString valuesName(FreedValues::Mode mode);
    // A target's address and port; false when text is not HOST:PORT.
    static bool parseTarget(const QString &text, QHostAddress *address, quint16 *port);
};

#endif // FREEDSETTINGS_H
