#ifndef FRAMEMEANING_H
#define FRAMEMEANING_H

#include <QString>

// What a frame or a reply on the wire says, in words: "set zoom position
// 3000", "rejected (status 02)". Bytes that the boards' protocols do not
// explain, or whose check is wrong, are not understood; they still get words
// ("unknown frame"), never an error.
struct FrameMeaning
{
    QString text;
    bool understood = true;
};

#endif // FRAMEMEANING_H
