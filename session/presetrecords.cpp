#include "presetrecords.h"

#include <QSettings>
#include <QStringList>

namespace {

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane"),
                     QStringLiteral("Tavro Lens Controller"));
}

} // namespace

PresetRecords::PresetRecords(BoardType board, const QString &port)
{
    // The window names a port as the system lists it, the tool and the server
    // as typed: /dev/ttyUSB0 and ttyUSB0 are one board.
    QString name = port;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    m_group = QStringLiteral("recordedPresets/%1/%2")
                  .arg(board == BoardType::Pellan ? QLatin1String("pellan") : QLatin1String("tavro"),
                       QString(name).replace(QLatin1Char('/'), QLatin1Char('|')));
}

QString PresetRecords::key(int preset) const
{
    return m_group + QStringLiteral("/preset%1").arg(preset);
}

void PresetRecords::record(int preset, const Positions &positions)
{
    QStringList values;
    for (const std::optional<int> &position : positions)
        values << (position ? QString::number(*position) : QStringLiteral("-"));
    store().setValue(key(preset), values.join(QLatin1Char(' ')));
}

std::optional<PresetRecords::Positions> PresetRecords::positions(int preset) const
{
    const QStringList values = store().value(key(preset)).toString().split(QLatin1Char(' '));
    if (values.size() != 3)
        return std::nullopt;
    Positions positions;
    for (size_t i = 0; i < positions.size(); ++i) {
        bool ok = false;
        const int position = values[int(i)].toInt(&ok);
        if (ok)
            positions[i] = position;
        else if (values[int(i)] != QLatin1String("-"))
            return std::nullopt;
    }
    return positions;
}
