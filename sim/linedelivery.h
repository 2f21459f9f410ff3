#ifndef LINEDELIVERY_H
#define LINEDELIVERY_H

#include <QByteArray>
#include <QList>

#include <chrono>

// How a reply reaches the program over a serial line and a USB serial adapter:
// the board sends it at its baud rate, and the adapter hands over what has
// arrived in pieces, one every gap.
struct LineDelivery
{
    // Ten bit times per byte: start bit, eight data bits, stop bit.
    static constexpr int bitsPerByte = 10;

    int baudRate = 19200;
    // Bytes in each piece; 0: whatever has fully crossed the line in one gap.
    int pieceBytes = 0;
    // A USB full-speed adapter passes on what it holds once per 1 ms frame.
    std::chrono::microseconds gap{1000};
    // The whole reply in one piece, once all of it has crossed the line.
    bool onePiece = false;
    // From the frame having arrived to the reply's first bit.
    std::chrono::microseconds reaction{0};
};

// One piece of a reply and when it leaves, counted from the moment the frame
// it answers has fully arrived.
struct LinePiece
{
    QByteArray bytes;
    std::chrono::microseconds offset;
};

// How long byteCount bytes take to cross the line at baudRate, rounded up: a
// byte is not there until its stop bit is.
std::chrono::microseconds lineTime(int byteCount, int baudRate);

// The pieces in which reply reaches the program under delivery, in order and
// with offsets that never decrease; none for an empty reply. A piece never
// leaves before its last byte has crossed the line; with pieceBytes set, piece
// j also leaves no earlier than j gaps after the first piece.
QList<LinePiece> scheduleReply(const QByteArray &reply, const LineDelivery &delivery);

#endif // LINEDELIVERY_H
