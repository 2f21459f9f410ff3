#ifndef STARTBENCH_H
#define STARTBENCH_H

#include "figures.h"

// Starts the window program and the bare window program runs times each (after
// one start that is not counted), from a folder of their own, and compares
// their time from launch to the first show and their peak resident memory.
// programFolder holds bench-window-start and bench-bare-start.
QList<Figure> benchStart(const QString &programFolder, int runs);

// Runs tavro-lensctl --version and the bare console program runs times each
// (after one run that is not counted) and compares their time from launch to
// end and their peak resident memory. programFolder holds tavro-lensctl and
// bench-bare-core-start.
QList<Figure> benchToolStart(const QString &programFolder, int runs);

#endif // STARTBENCH_H
