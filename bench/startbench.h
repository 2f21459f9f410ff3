#ifndef STARTBENCH_H
#define STARTBENCH_H

#include "figures.h"

// Starts the window program, the bare window program and the window's form
// alone runs times each (after one start that is not counted), from a folder
// of their own, and compares the window's time from launch to the first show
// and its peak resident memory with each of the other two's. programFolder
// holds bench-window-start, bench-bare-start and bench-form-start.
QList<Figure> benchStart(const QString &programFolder, int runs);

// Runs tavro-lensctl --version and the bare console program runs times each
// (after one run that is not counted) and compares their time from launch to
// end and their peak resident memory. programFolder holds tavro-lensctl and
// bench-bare-core-start.
QList<Figure> benchToolStart(const QString &programFolder, int runs);

#endif // STARTBENCH_H
