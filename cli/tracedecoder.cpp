#include "tracedecoder.h"

#include "exchangerecord.h"
#include "tracereader.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <optional>
#include <variant>

namespace {

const QString toolName = QStringLiteral("tavro-lensctl");

// Hex digits in pairs, with any spaces between and around them.
std::optional<QByteArray> hexFrame(const QString &word)
{
    QString digits = word;
    digits.remove(QLatin1Char(' '));
    static const QRegularExpression pattern(QStringLiteral("^(?:[0-9A-Fa-f]{2})+$"));
    if (!pattern.match(digits).hasMatch())
        return std::nullopt;
    return QByteArray::fromHex(digits.toLatin1());
}

QString withHex(const FrameMeaning &meaning, const QByteArray &bytes)
{
    return meaning.text + QStringLiteral(" [") + FrameMeaning::hex(bytes) + QLatin1Char(']');
}

} // namespace

TraceDecoder::TraceDecoder(QTextStream &out, QTextStream &err)
    : m_out(out)
    , m_err(err)
{
}

int TraceDecoder::run(std::optional<BoardType> knownBoard, const QStringList &words)
{
    const auto usageError = [this](const QString &problem) {
        m_err << toolName << ": " << problem << " (see --help)\n";
        return UsageError;
    };
    if (words.isEmpty())
        return usageError(QStringLiteral("decode takes frames in hex, trace files or - (standard input)"));

    // Every word is checked before anything is printed.
    QList<std::variant<QByteArray, QString>> inputs;
    for (const QString &word : words) {
        if (word == QLatin1String("-") || QFileInfo(word).isFile()) {
            inputs.append(word);
        } else if (const std::optional<QByteArray> frame = hexFrame(word)) {
            inputs.append(*frame);
        } else {
            return usageError(QStringLiteral("'%1' is neither a file nor a frame in hex").arg(word));
        }
    }

    for (const auto &input : inputs) {
        if (const QByteArray *frame = std::get_if<QByteArray>(&input)) {
            ExchangeRecord record;
            record.frame = *frame;
            record.board = knownBoard.value_or(ExchangeRecord::boardOfFrame(*frame).value_or(record.board));
            const FrameMeaning meaning = record.sentMeaning();
            m_allUnderstood = m_allUnderstood && meaning.understood;
            m_out << FrameMeaning::hex(*frame) << ": " << meaning.text << '\n';
            continue;
        }
        const QString &name = std::get<QString>(input);
        QFile file(name);
        const bool opened = name == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                      : file.open(QIODevice::ReadOnly);
        if (!opened) {
            m_err << toolName << ": decode: cannot read " << name << ": " << file.errorString() << '\n';
            m_allUnderstood = false;
            continue;
        }
        TraceReader reader(knownBoard);
        // Printed as found, so a long trace shows as it is read.
        int found = 0;
        const auto print = [&] {
            const QList<TraceReader::Exchange> exchanges = reader.takeExchanges();
            for (const TraceReader::Exchange &exchange : exchanges) {
                m_out << describe(exchange.record, exchange.complete) << '\n';
                m_allUnderstood = m_allUnderstood && exchange.record.sentMeaning().understood
                                  && exchange.record.receivedMeaning().understood;
            }
            found += int(exchanges.size());
        };
        while (!file.atEnd()) {
            reader.addLine(QString::fromUtf8(file.readLine()));
            print();
        }
        reader.finish();
        print();
        if (found == 0) {
            m_err << toolName << ": decode: no exchanges with a board in " << name << '\n';
            m_allUnderstood = false;
        }
    }
    m_out.flush();
    return m_allUnderstood ? AllUnderstood : SomeNotUnderstood;
}

QString TraceDecoder::describe(const ExchangeRecord &record, bool complete)
{
    QString line;
    if (record.start.isValid())
        line = record.start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz  "));
    if (record.frame.isEmpty()) {
        line += QStringLiteral("nothing sent");
    } else {
        line += ExchangeRecord::boardName(record.board) + QStringLiteral("  ")
                + withHex(record.sentMeaning(), record.frame);
        if (record.approach)
            line += QStringLiteral(" (") + record.approachText() + QLatin1Char(')');
    }
    line += QStringLiteral(" -> ");
    if (!complete) {
        line += QStringLiteral("(no outcome in the trace)");
    } else if (!record.reply.isEmpty()
               && (record.outcome == ExchangeRecord::Outcome::Ok || record.outcome == ExchangeRecord::Outcome::Rejected)) {
        line += withHex(record.receivedMeaning(), record.reply);
    } else {
        line += ExchangeRecord::outcomeText(record.outcome);
        if (!record.reply.isEmpty())
            line += QStringLiteral(" [") + FrameMeaning::hex(record.reply) + QLatin1Char(']');
        if (record.outcome == ExchangeRecord::Outcome::PortNotOpened
            || record.outcome == ExchangeRecord::Outcome::PortBusy)
            line += QStringLiteral(" (") + record.port + QLatin1Char(')');
    }
    if (record.roundTripMs >= 0)
        line += QStringLiteral("  %1 ms").arg(record.roundTripMs, 0, 'f', 1);
    return line;
}
