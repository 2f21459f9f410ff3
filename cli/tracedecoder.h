#ifndef TRACEDECODER_H
#define TRACEDECODER_H

#include "exchangerecord.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

// tavro-lensctl decode: frames given in hex, or the exchanges found in trace
// files, said in words, one line each. Nothing it is given is an error to it:
// bytes it cannot explain are "unknown frame", and it goes on with the rest.
class TraceDecoder
{
public:
    enum ExitStatus { AllUnderstood = 0, SomeNotUnderstood = 1, UsageError = 2 };

    TraceDecoder(QTextStream &out, QTextStream &err);

    // Runs decode on its words (what follows "decode"): each names a trace
    // file, or "-" for standard input, or is a frame in hex (spaces allowed
    // within). board is the one --board names; without it the length of each
    // frame tells its board. Returns the exit status.
    int run(std::optional<BoardType> board, const QStringList &words);

    // One exchange in one line: its time, what was sent and what came back,
    // each in words and hex, and the round trip when known.
    static QString describe(const ExchangeRecord &record, bool complete = true);

private:
    QTextStream &m_out;
    QTextStream &m_err;
    bool m_allUnderstood = true;
};

#endif // TRACEDECODER_H
