#include "simfault.h"

#include <QRandomGenerator>

#include <array>
#include <utility>

namespace {

const std::array<std::pair<SimFault, const char *>, 11> faultNames = {{
    {SimFault::None, "none"},
    {SimFault::NoReply, "no-reply"},
    {SimFault::Rejected, "rejected"},
    {SimFault::SplitReply, "split-reply"},
    {SimFault::ShortReply, "short-reply"},
    {SimFault::TrailingBytes, "trailing-bytes"},
    {SimFault::RandomBytes, "random-bytes"},
    {SimFault::WrongEcho, "wrong-echo"},
    {SimFault::NoiseBeforeReply, "noise-before-reply"},
    {SimFault::LateReply, "late-reply"},
    {SimFault::BitError, "bit-error"},
}};

// count random bytes, the first of which is never avoid.
QByteArray noise(int count, char avoid, QRandomGenerator &random)
{
    QByteArray bytes(count, '\0');
    for (char &byte : bytes)
        byte = char(random.generate() & 0xFF);
    if (bytes.at(0) == avoid)
        bytes[0] = char(~avoid);
    return bytes;
}

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
    case SimFault::RandomBytes:
        return {noise(int(reply.size()), reply.at(0), random)};
    case SimFault::NoiseBeforeReply:
        return {noise(noiseBytes, reply.at(0), random) + reply};
    case SimFault::WrongEcho: {
        QByteArray wrong = reply;
        wrong[wrong.size() - 1] = char(~wrong.at(wrong.size() - 1));
        return {wrong};
    }
    case SimFault::BitError: {
        QByteArray damaged = reply;
        const qsizetype middle = damaged.size() / 2;
        damaged[middle] = char(damaged.at(middle) ^ 0x40);
        return {damaged};
    }
    default:
        return {reply};
    }
}
