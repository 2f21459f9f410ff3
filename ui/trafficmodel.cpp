#include "trafficmodel.h"

#include <QColor>
#include <QFont>

namespace {

// Dark enough that white bold text on it reads as well as black on white, and
// far from white in grey (a relative luminance of about 7 %).
const QColor failedBackground(0x9B, 0x11, 0x11);

QString timeText(const QDateTime &start, const QString &format)
{
    return start.isValid() ? start.toString(format) : QString();
}

// The columns' headers; a saved file keeps them in English, for the scripts
// that read it, and the window shows them in its language.
const char *const kHeaders[TrafficModel::ColumnCount] = {
    QT_TRANSLATE_NOOP("TrafficModel", "Time"),
    //: The board type, Tavro or Pellan.
    QT_TRANSLATE_NOOP("TrafficModel", "Board"),
    //: The frame sent to the board, in hex.
    QT_TRANSLATE_NOOP("TrafficModel", "Sent"),
    //: What the frame beside it means, the one sent or the reply.
    QT_TRANSLATE_NOOP("TrafficModel", "Meaning"),
    //: The board's reply, in hex.
    QT_TRANSLATE_NOOP("TrafficModel", "Received"),
    QT_TRANSLATE_NOOP("TrafficModel", "Meaning"),
    //: How the exchange went: OK, no reply and the like.
    QT_TRANSLATE_NOOP("TrafficModel", "Outcome"),
    //: Milliseconds from the frame's writing to the reply's last byte.
    QT_TRANSLATE_NOOP("TrafficModel", "ms"),
};

} // namespace

TrafficModel::TrafficModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void TrafficModel::append(const QList<ExchangeRecord> &records)
{
    if (records.isEmpty())
        return;
    const qsizetype kept = qMin<qsizetype>(records.size(), capacity);
    const qsizetype overflow = qMax<qsizetype>(0, qsizetype(m_records.size()) + kept - capacity);
    if (overflow > 0) {
        beginRemoveRows(QModelIndex(), 0, int(overflow - 1));
        m_records.erase(m_records.begin(), m_records.begin() + overflow);
        endRemoveRows();
    }
    const int first = int(m_records.size());
    beginInsertRows(QModelIndex(), first, first + int(kept) - 1);
    m_records.insert(m_records.end(), records.end() - kept, records.end());
    endInsertRows();
}

void TrafficModel::clear()
{
    beginResetModel();
    std::deque<ExchangeRecord>().swap(m_records);
    endResetModel();
}

QStringList TrafficModel::rowTexts(int row) const
{
    const ExchangeRecord &exchange = record(row);
    QStringList texts{timeText(exchange.start, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))};
    for (int column = Board; column < ColumnCount; ++column)
        texts << text(exchange, column);
    return texts;
}

QStringList TrafficModel::headers()
{
    QStringList texts;
    for (const char *header : kHeaders)
        texts << QString::fromLatin1(header);
    return texts;
}

int TrafficModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_records.size());
}

int TrafficModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrafficModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const ExchangeRecord &exchange = record(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == Time)
            return timeText(exchange.start, QStringLiteral("HH:mm:ss.zzz"));
        return text(exchange, index.column());
    case Qt::BackgroundRole:
        return exchange.failed() ? QVariant(failedBackground) : QVariant();
    case Qt::ForegroundRole:
        return exchange.failed() ? QVariant(QColor(Qt::white)) : QVariant();
    case Qt::FontRole:
        if (exchange.failed()) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    case Qt::TextAlignmentRole:
        if (index.column() == RoundTrip)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QVariant();
    return tr(kHeaders[section]);
}

// Meanings are worked out when they are shown, so that adding a record costs
// no more than keeping it.
QString TrafficModel::text(const ExchangeRecord &record, int column) const
{
    switch (column) {
    case Board:
        return ExchangeRecord::boardName(record.board);
    case Sent:
        return FrameMeaning::hex(record.frame);
    case SentMeaning:
        // In the words of the frames' meanings, as the trace has them.
        if (record.approach)
            return record.sentMeaning().text + QStringLiteral(" (") + record.approachText() + QLatin1Char(')');
        return record.sentMeaning().text;
    case Received:
        return FrameMeaning::hex(record.reply);
    case ReceivedMeaning:
        return record.receivedMeaning().text;
    case Outcome:
        return ExchangeRecord::outcomeText(record.outcome);
    case RoundTrip:
        return record.roundTripMs < 0 ? QString() : QString::number(record.roundTripMs, 'f', 1);
    default:
        return QString();
    }
}
