#include "simfault.h"

#include <QRandomGenerator>

#include <array>
#include <utility>

namespace {

const std::array<std::pair<SimFault, const char *>, 8> faultNames = {{
    {SimFault::None, "none"},
    {SimFault::NoReply, "no-reply"},
    {SimFault::Rejected, "rejected"},
    {SimFault::SplitReply, "split-reply"},
    {SimFault::ShortReply, "short-reply"},
    {SimFault::TrailingBytes, "trailing-bytes"},
    {SimFault::RandomBytes, "random-bytes"},
    {SimFault::WrongEcho, "wrong-echo"},
}};

} // namespace

QStringList simFaultNames()
{
    QStringList names;
    for (const auto &entry : faultNames)
        names << QLatin1String(entry.second);
    return names;
}

std::optional<SimFault> simFaultFromName(const QString &name)
{
    for (const auto &entry : faultNames) {
        if (name == QLatin1String(entry.second))
            return entry.first;
    }
    return std::nullopt;
}

bool simFaultExecutesFrame(SimFault fault)
{
    return fault != SimFault::NoReply && fault != SimFault::Rejected;
}

QList<QByteArray> shapeReply(const QByteArray &reply, SimFault fault, int firstBurstBytes,
                             QRandomGenerator &random)
{
    if (reply.isEmpty() || fault == SimFault::NoReply)
        return {};
    switch (fault) {
    case SimFault::SplitReply: {
        const int cut = qBound(1, firstBurstBytes, int(reply.size()));
        if (cut == reply.size())
            return {reply};
        return {reply.left(cut), reply.mid(cut)};
    }
    case SimFault::ShortReply:
        if (reply.size() == 1)
            return {};
        return {reply.left(reply.size() - 1)};
    case SimFault::TrailingBytes:
        return {reply + QByteArray("\xA5\x5A\xA5\x5A", 4)};
    case SimFault::RandomBytes: {
        QByteArray noise(reply.size(), '\0');
        for (char &byte : noise)
            byte = char(random.generate() & 0xFF);
        if (noise.at(0) == reply.at(0))
            noise[0] = char(~reply.at(0));
        return {noise};
    }
    case SimFault::WrongEcho: {
        QByteArray wrong = reply;
        wrong[wrong.size() - 1] = char(~wrong.at(wrong.size() - 1));
        return {wrong};
    }
    default:
        return {reply};
    }
}
