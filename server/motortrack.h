#ifndef MOTORTRACK_H
#define MOTORTRACK_H

#include <QtGlobal>

#include <deque>
#include <optional>

// Where one motor was, from its timed reads: between two reads on the line
// between them; past the last read along the course of the last two, for at
// most one read interval (see turnReads); before the first read, where that
// found it.
// A motor whose last two reads agree stands where they found it, and one
// on its way to where a goto of this program's takes it goes no further:
// the board stops it there, and a course drawn on past would overshoot
// by as much as a read interval's travel.
class MotorTrack
{
public:
    // How far back reads are kept: the longest hold-back with room to spare.
    static constexpr qint64 keptNs = 1'000'000'000;
    // How many of the last read intervals make the one extrapolation may
    // span.
    static constexpr size_t turnReads = 4;

    // A read that found the motor at position at atNs on a steady clock;
    // reads come in the order they were made. heading is where the motor
    // was sent to as it was read, if anywhere.
    void add(qint64 atNs, int position, std::optional<int> heading);
    std::optional<double> positionAt(qint64 atNs) const;
    // When the last read was made; nothing before the first.
    std::optional<qint64> lastReadNs() const;
    // The last two reads differ.
    bool isMoving() const;

private:
    struct Read
    {
        qint64 atNs;
        int position;
    };
    std::deque<Read> m_reads;
    std::optional<int> m_heading;
};

#endif // MOTORTRACK_H
