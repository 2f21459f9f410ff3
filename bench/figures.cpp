#include "figures.h"

#include <algorithm>
#include <cstdio>

double median(QList<double> samples)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const qsizetype middle = samples.size() / 2;
    if (samples.size() % 2 == 1)
        return samples.at(middle);
    return (samples.at(middle - 1) + samples.at(middle)) / 2;
}

void printFigures(const QString &title, const QList<Figure> &figures)
{
    std::printf("\n%s\n", qPrintable(title));
    std::printf("  %-50s %5s %12s %12s %7s %12s\n", "figure", "runs", "median", "floor/base", "ratio",
                "difference");
    for (const Figure &figure : figures) {
        const QByteArray unit = figure.unit.toUtf8();
        const double ratio = figure.floor > 0 ? figure.median / figure.floor : 0;
        std::printf("  %-50s %5d %9.2f %-2s %9.2f %-2s %7.3f %+9.2f %-2s%s\n", qPrintable(figure.name),
                    figure.runs, figure.median, unit.constData(), figure.floor, unit.constData(), ratio,
                    figure.median - figure.floor, unit.constData(), figure.valid ? "" : "  (FLOW FAILED)");
    }
    std::fflush(stdout);
}
