#ifndef BENCHRUN_H
#define BENCHRUN_H

#include "figures.h"

#include <QStringList>

#include <optional>

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

#endif // BENCHRUN_H
