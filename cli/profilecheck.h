#ifndef PROFILECHECK_H
#define PROFILECHECK_H

#include <QStringList>

class QTextStream;

// tavro-lensctl profile check FILE: reads a lens profile, with no board, and
// prints the range of each of its tables, or what is wrong with it.
namespace ProfileCheck {

// words are those after "profile"; returns the exit status.
int run(const QStringList &words, QTextStream &out, QTextStream &err);

} // namespace ProfileCheck

#endif // PROFILECHECK_H
