#include "motortrack.h"

#include <algorithm>

void MotorTrack::add(qint64 atNs, int position, std::optional<int> heading)
{
    m_reads.push_back({atNs, position});
    m_heading = heading;
    while (m_reads.size() > 2 && m_reads.front().atNs < atNs - keptNs)
        m_reads.pop_front();
}

std::optional<double> MotorTrack::positionAt(qint64 atNs) const
{
    if (m_reads.empty())
        return std::nullopt;
    const Read &last = m_reads.back();
    if (atNs >= last.atNs) {
        if (m_reads.size() < 2)
            return last.position;
        const Read &before = m_reads[m_reads.size() - 2];
        const qint64 interval = last.atNs - before.atNs;
        if (interval <= 0 || before.position == last.position)
            return last.position;
        // The motor's reads take turns with the others': its read interval
        // is the longest of its last few.
        qint64 readInterval = interval;
        for (size_t i = m_reads.size() - 2; i > 0 && i + turnReads >= m_reads.size(); --i)
            readInterval = std::max(readInterval, m_reads[i].atNs - m_reads[i - 1].atNs);
        const qint64 ahead = std::min(atNs - last.atNs, readInterval);
        const double drawn = last.position + double(last.position - before.position) * double(ahead) / double(interval);
        // Towards where it was sent, or there already: no further. Going the
        // other way, the reads know better (another program moves it).
        if (m_heading && last.position > before.position && *m_heading >= last.position)
            return std::min(drawn, double(*m_heading));
        if (m_heading && last.position < before.position && *m_heading <= last.position)
            return std::max(drawn, double(*m_heading));
        return drawn;
    }
    // The first read made after atNs.
    const auto after = std::upper_bound(m_reads.begin(), m_reads.end(), atNs,
                                        [](qint64 at, const Read &read) { return at < read.atNs; });
    if (after == m_reads.begin())
        return after->position;
    const Read &from = *(after - 1);
    const double share = double(atNs - from.atNs) / double(after->atNs - from.atNs);
    return from.position + (after->position - from.position) * share;
}

std::optional<qint64> MotorTrack::lastReadNs() const
{
    if (m_reads.empty())
        return std::nullopt;
    return m_reads.back().atNs;
}

bool MotorTrack::isMoving() const
{
    return m_reads.size() >= 2 && m_reads.back().position != m_reads[m_reads.size() - 2].position;
}
