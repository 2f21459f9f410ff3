#ifndef TRAFFICMODEL_H
#define TRAFFICMODEL_H

#include "exchangerecord.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <deque>

// The newest exchanges with the board, oldest at the top, one row each: time,
// board, the frame sent and what it means, the reply and what it means, the
// outcome and the round trip. Rows of failed exchanges stand out in colour and
// weight alike, so they show in grey too.
class TrafficModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Board, Sent, SentMeaning, Received, ReceivedMeaning, Outcome, RoundTrip, ColumnCount };

    // Beyond this many the oldest rows go.
    static constexpr int capacity = 10000;

    explicit TrafficModel(QObject *parent = nullptr);

    // Adds records at the bottom, as one change to the views.
    void append(const QList<ExchangeRecord> &records);
    void clear();

    const ExchangeRecord &record(int row) const { return m_records.at(size_t(row)); }
    // The texts of a row as Copy and Save give them: as shown, with the date
    // in the time.
    QStringList rowTexts(int row) const;
    // The headers as a saved file has them: in English, whatever the window's
    // language.
    static QStringList headers();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString text(const ExchangeRecord &record, int column) const;

    std::deque<ExchangeRecord> m_records;
};

#endif // TRAFFICMODEL_H
