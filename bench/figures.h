#ifndef FIGURES_H
#define FIGURES_H

#include <QList>
#include <QString>

// One line of the bench's table: the median of repeated runs against the
// floor (or baseline) it is compared with.
struct Figure
{
    QString name;
    QString unit;
    int runs = 0;
    double median = 0;
    double floor = 0;
    // A flow that did not go through as it should makes its figure worthless.
    bool valid = true;
};

double median(QList<double> samples);

// The table on standard output: median, floor, ratio and the difference.
void printFigures(const QString &title, const QList<Figure> &figures);

#endif // FIGURES_H
