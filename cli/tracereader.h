#ifndef TRACEREADER_H
#define TRACEREADER_H

#include "exchangerecord.h"

#include <QList>
#include <QString>

#include <optional>

// Finds the exchanges with a board in the lines of a trace: the program's or
// the tool's trace file, or their log on standard error. Each exchange leaves
// its frame there in hex after "data to transmit", then how the reply went:
// "Received OK response", the data in hex, or the line of a failure. Lines of
// anything else are passed over, so no input is an error.
class TraceReader
{
public:
    struct Exchange
    {
        // What the trace tells of it: its frame, time, outcome and as much of
        // the reply as was logged (of a Tavro command, the status byte; of a
        // Pellan command, its echo). The round trip is not in the trace.
        ExchangeRecord record;
        // False when the trace ends, or the next exchange begins, before the
        // outcome of this one is in it.
        bool complete = false;
    };

    // board: the board the trace was written for; without one, each frame's
    // length tells.
    explicit TraceReader(std::optional<BoardType> board = std::nullopt);

    void addLine(QString line);
    // The trace has ended: an exchange still open is taken as it is.
    void finish();
    // The exchanges found since the last call, oldest first.
    QList<Exchange> takeExchanges();

private:
    // OpenFailed: the port would not open; the reason on the next line tells
    // whether another program held it.
    enum class Stage { Idle, Frame, Reply, Data, OpenFailed };

    void begin(const QDateTime &time);
    void close(std::optional<ExchangeRecord::Outcome> outcome);
    void replyLine(const QString &message);

    std::optional<BoardType> m_board;
    // The board of the last frame, for exchanges that sent none.
    BoardType m_lastBoard = BoardType::Tavro;
    // The approach the next exchange is a leg of, as the trace said.
    std::optional<ApproachLeg> m_approach;
    Stage m_stage = Stage::Idle;
    ExchangeRecord m_current;
    QList<Exchange> m_found;
};

#endif // TRACEREADER_H
