#include "tracereader.h"

#include "tavroframes.h"
#include "tracewords.h"

#include <QRegularExpression>

namespace {

using Outcome = ExchangeRecord::Outcome;

// "2026-05-04T10:15:02.317+02:00 debug: message", as the trace file writes
// every line; a line without the time and level is all message.
const QRegularExpression &linePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(?:\.\d+)?(?:Z|[+-]\d\d:\d\d)?) (?:debug|info|warning|critical|fatal): (.*)$)"));
    return pattern;
}

// A frame or reply data as the transactions log them: lower-case hex, quoted.
std::optional<QByteArray> hexLine(const QString &message)
{
    static const QRegularExpression pattern(QStringLiteral(R"re(^"((?:[0-9a-f]{2})*)"$)re"));
    const QRegularExpressionMatch match = pattern.match(message);
    if (!match.hasMatch())
        return std::nullopt;
    return QByteArray::fromHex(match.captured(1).toLatin1());
}

int hexDigit(QChar c)
{
    return QStringLiteral("0123456789abcdef").indexOf(c.toLower());
}

// Reads up to maxDigits hex digits at text[*at]; nothing when there is none.
std::optional<uint> hexNumber(QStringView text, qsizetype *at, int maxDigits)
{
    uint value = 0;
    int digits = 0;
    while (digits < maxDigits && *at < text.size() && hexDigit(text[*at]) >= 0) {
        value = value * 16 + uint(hexDigit(text[(*at)++]));
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

// The bytes of a byte array or string as the message logger quotes them, such
// as "\x01""A\n" (adjacent quoted parts make one); nothing for anything else.
std::optional<QByteArray> unquoted(QStringView text)
{
    QByteArray bytes;
    qsizetype at = 0;
    if (text.isEmpty())
        return std::nullopt;
    while (at < text.size()) {
        if (text[at++] != QLatin1Char('"'))
            return std::nullopt;
        for (;;) {
            if (at >= text.size())
                return std::nullopt;
            const QChar c = text[at++];
            if (c == QLatin1Char('"'))
                break;
            if (c != QLatin1Char('\\')) {
                bytes += QString(c).toUtf8();
                continue;
            }
            if (at >= text.size())
                return std::nullopt;
            const QChar escape = text[at++];
            std::optional<uint> code;
            switch (escape.unicode()) {
            case 'x':
                code = hexNumber(text, &at, 2);
                if (!code)
                    return std::nullopt;
                bytes += char(*code);
                continue;
            case 'u':
            case 'U':
                code = hexNumber(text, &at, escape == QLatin1Char('u') ? 4 : 8);
                if (!code)
                    return std::nullopt;
            {
                const char32_t character = char32_t(*code);
                bytes += QString::fromUcs4(&character, 1).toUtf8();
            }
                continue;
            case 'n':
                bytes += '\n';
                continue;
            case 'r':
                bytes += '\r';
                continue;
            case 't':
                bytes += '\t';
                continue;
            case 'b':
                bytes += '\b';
                continue;
            case 'f':
                bytes += '\f';
                continue;
            case 'a':
                bytes += '\a';
                continue;
            case 'v':
                bytes += '\v';
                continue;
            case '"':
            case '\\':
                bytes += char(escape.unicode());
                continue;
            default:
                return std::nullopt;
            }
        }
    }
    return bytes;
}

// The quoted value at the end of "text:  value".
QString valueAfter(const QString &message, QLatin1String text)
{
    return message.mid(text.size()).trimmed();
}

} // namespace

TraceReader::TraceReader(std::optional<BoardType> board)
    : m_board(board)
{
}

void TraceReader::addLine(QString line)
{
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    QDateTime time;
    QString message = line;
    const QRegularExpressionMatch match = linePattern().match(line);
    if (match.hasMatch()) {
        time = QDateTime::fromString(match.captured(1), Qt::ISODateWithMs);
        message = match.captured(2);
    }

    const QLatin1String notOpened(TraceWords::notOpened);
    if (m_stage == Stage::OpenFailed) {
        const bool busy = message.startsWith(QLatin1String(TraceWords::reason))
                          && message.contains(QLatin1String(TraceWords::portInUse));
        close(busy ? Outcome::PortBusy : Outcome::PortNotOpened);
        if (busy)
            return;
    }
    if (message.startsWith(QLatin1String(TraceWords::approachLeg))) {
        static const QRegularExpression words(
            QStringLiteral("leg ([12]) of 2 of the (zoom|focus|iris)'s move to (\\d+), from beneath$"));
        const QRegularExpressionMatch leg = words.match(message);
        if (leg.hasMatch())
            m_approach = ApproachLeg{int(QStringList{"zoom", "focus", "iris"}.indexOf(leg.captured(2))),
                                     leg.captured(3).toInt(), leg.captured(1).toInt()};
        return;
    }
    if (message == QLatin1String(TraceWords::frameFollows)) {
        begin(time);
    } else if (message.startsWith(notOpened)) {
        // The port is opened before the frame is logged, so this exchange
        // has none.
        begin(time);
        const std::optional<QByteArray> port = unquoted(valueAfter(message, notOpened));
        m_current.port = port ? QString::fromUtf8(*port) : valueAfter(message, notOpened);
        m_stage = Stage::OpenFailed;
    } else if (m_stage == Stage::Frame) {
        const std::optional<QByteArray> frame = hexLine(message);
        if (!frame)
            return;
        m_current.frame = *frame;
        m_current.board = m_board.value_or(ExchangeRecord::boardOfFrame(*frame).value_or(m_lastBoard));
        m_lastBoard = m_current.board;
        m_stage = Stage::Reply;
    } else if (m_stage == Stage::Reply || m_stage == Stage::Data) {
        replyLine(message);
    }
}

void TraceReader::finish()
{
    if (m_stage == Stage::OpenFailed)
        close(Outcome::PortNotOpened);
    else if (m_stage != Stage::Idle)
        close(std::nullopt);
}

QList<TraceReader::Exchange> TraceReader::takeExchanges()
{
    return std::exchange(m_found, {});
}

void TraceReader::begin(const QDateTime &time)
{
    finish();
    m_current = ExchangeRecord();
    m_current.board = m_board.value_or(m_lastBoard);
    m_current.start = time;
    m_current.approach = std::exchange(m_approach, std::nullopt);
    m_stage = Stage::Frame;
}

void TraceReader::close(std::optional<ExchangeRecord::Outcome> outcome)
{
    m_found.append({m_current, outcome.has_value()});
    m_found.last().record.outcome = outcome.value_or(Outcome::NoReply);
    m_stage = Stage::Idle;
}

void TraceReader::replyLine(const QString &message)
{
    const QLatin1String unexpected(TraceWords::unexpectedReply);
    const bool pellan = m_current.board == BoardType::Pellan;
    if (message == QLatin1String(TraceWords::replyOk) && m_stage == Stage::Reply) {
        // A Pellan command's reply is its echo; a Tavro reply opens with status 0x00.
        if (pellan) {
            m_current.reply = m_current.frame;
            close(Outcome::Ok);
        } else {
            m_current.reply = QByteArray(1, '\0');
            if (TavroFrames::replyDataBytes(m_current.frame) > 0)
                m_stage = Stage::Data;
            else
                close(Outcome::Ok);
        }
    } else if (const std::optional<QByteArray> data = hexLine(message)) {
        // The data of a Tavro query after its status, or a Pellan query's reply.
        if (m_stage == Stage::Data || pellan) {
            m_current.reply += *data;
            close(Outcome::Ok);
        }
    } else if (message.startsWith(unexpected)) {
        m_current.reply = unquoted(valueAfter(message, unexpected)).value_or(QByteArray());
        close(Outcome::Rejected);
    } else if (message.startsWith(QLatin1String(TraceWords::incompleteReply))) {
        close(Outcome::IncompleteReply);
    } else if (message.startsWith(QLatin1String(TraceWords::noReply))) {
        close(Outcome::NoReply);
    } else if (message.startsWith(QLatin1String(TraceWords::notWritten))
               || message == QLatin1String(TraceWords::writeTimeout)) {
        close(Outcome::NotWritten);
    }
}
