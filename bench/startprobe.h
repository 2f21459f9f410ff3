#ifndef STARTPROBE_H
#define STARTPROBE_H

class QWidget;

// Writes "shown" to standard output once window's first expose has been
// handled (the window has been painted), then ends the event loop. The bench
// times a program's start from its launch to that line.
void reportFirstShow(QWidget *window);

#endif // STARTPROBE_H
