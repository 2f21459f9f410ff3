#include "freedsettings.h"

#include "serveroptions.h"

#include <QJsonArray>

#include <algorithm>

#include <cmath>

namespace {

const char *const valueNames[] = {"scaled", "raw", "lens"};

bool isInteger(const QJsonValue &value, int low, int high)
{
    const double number = value.toDouble(-1);
    return value.isDouble() && number == std::floor(number) && number >= low && number <= high;
}

} // namespace

QString FreedSettings::valuesName(FreedValues::Mode mode)
{
    return QLatin1String(valueNames[int(mode)]);
}

bool FreedSettings::parseTarget(const QString &text, QHostAddress *address, quint16 *port)
{
    // A port alone would do for the server's own sockets, not for a
    // receiver somewhere else.
    QHostAddress parsed;
    if (!text.contains(QLatin1Char(':')) || !ServerOptions::parseEndpoint(text, &parsed, port) || parsed.isNull())
        return false;
    *address = parsed;
    return true;
}

QJsonObject FreedSettings::toJson() const
{
    return {{QStringLiteral("on"), on},
            {QStringLiteral("targets"), QJsonArray::fromStringList(targets)},
            {QStringLiteral("rate"), rate},
            {QStringLiteral("camera"), camera},
            {QStringLiteral("delayMs"), delayMs},
            {QStringLiteral("values"), valuesName(values)}};
}

bool FreedSettings::apply(const QJsonObject &changes, bool hasProfile, QString *error)
{
    FreedSettings next = *this;
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const QString key = it.key();
        const QJsonValue value = it.value();
        if (key == QLatin1String("on") && value.isBool()) {
            next.on = value.toBool();
        } else if (key == QLatin1String("on")) {
            *error = QStringLiteral("on must be true or false");
            return false;
        } else if (key == QLatin1String("targets")) {
            next.targets.clear();
            const QJsonArray list = value.toArray();
            for (const QJsonValue &target : list) {
                QHostAddress address;
                quint16 port = 0;
                if (!parseTarget(target.toString(), &address, &port)) {
                    *error = QStringLiteral("targets must be HOST:PORT, HOST an address or localhost");
                    return false;
                }
                next.targets << target.toString();
            }
            if (!value.isArray() || list.isEmpty()) {
                *error = QStringLiteral("targets must be a list of HOST:PORT");
                return false;
            }
        } else if (key == QLatin1String("rate")) {
            next.rate = value.toDouble(-1);
            if (!value.isDouble() || next.rate < minimumRate || next.rate > maximumRate) {
                *error = QStringLiteral("rate must be from 10 to 100 packets a second");
                return false;
            }
        } else if (key == QLatin1String("camera")) {
            if (!isInteger(value, 0, maximumCamera)) {
                *error = QStringLiteral("camera must be a whole number from 0 to 255");
                return false;
            }
            next.camera = value.toInt();
        } else if (key == QLatin1String("delayMs")) {
            if (!isInteger(value, 0, maximumDelayMs)) {
                *error = QStringLiteral("delayMs must be a whole number from 0 to 500");
                return false;
            }
            next.delayMs = value.toInt();
        } else if (key == QLatin1String("values")) {
            const QString name = value.toString();
            const auto named = std::find(std::begin(valueNames), std::end(valueNames), name);
            if (named == std::end(valueNames)) {
                *error = QStringLiteral("values must be scaled, raw or lens");
                return false;
            }
            next.values = FreedValues::Mode(named - std::begin(valueNames));
        } else {
            *error = QStringLiteral("unknown key '%1'").arg(key);
            return false;
        }
    }
    if (next.values == FreedValues::Mode::Lens && !hasProfile) {
        *error = QStringLiteral("lens values need a lens profile (--profile)");
        return false;
    }
    if (next.on && next.targets.isEmpty()) {
        *error = QStringLiteral("the output needs targets to send to");
        return false;
    }
    *this = next;
    return true;
}
