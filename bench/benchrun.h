#ifndef BENCHRUN_H
#define BENCHRUN_H

#include "figures.h"

#include <QStringList>

#include <optional>

class QTemporaryDir;

// What both bench programs are told: scripts/bench hands the same options to
// each, and each runs the sections it has.
struct BenchOptions
{
    int runs = 5;
    double pauseScale = 10;
    // Empty: every section.
    QString only;
};

// --runs N, --pause-scale S (at least 1), --only SECTION, where a section is
// one of sections; nothing when anything else is given.
std::optional<BenchOptions> parseBenchArguments(const QStringList &arguments, const QStringList &sections);

bool allValid(const QList<Figure> &figures);

// The user's settings and data (the Pellan driver's presets, the trace) go
// into the given folder, for this program and those it starts.
void useOwnUserFolders(const QTemporaryDir &folders);

#endif // BENCHRUN_H
