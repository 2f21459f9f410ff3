#ifndef FRAMEMEANING_H
#define FRAMEMEANING_H

#include <QByteArray>
#include <QString>

// What a frame or a reply on the wire says, in words: "set zoom position
// 3000", "rejected (status 02)". Bytes that the boards' protocols do not
// explain, or whose check is wrong, are not understood; they still get words
// ("unknown frame"), never an error.
struct FrameMeaning
{
    QString text;
    bool understood = true;

    // Bytes as the words quote them: "FE 04 00 00 0B B8 00".
    static QString hex(const QByteArray &bytes);
    // What follows the words for bytes beyond a known reply: " (+2 bytes)".
    static QString extraBytes(qsizetype count);
};

#endif // FRAMEMEANING_H
