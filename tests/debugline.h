#ifndef DEBUGLINE_H
#define DEBUGLINE_H

#include <QTest>

// A debug line the next step writes, in a build that writes debug lines: some
// packagers compile them out, and the window must work the same there.
#ifdef QT_NO_DEBUG_OUTPUT
#define EXPECT_DEBUG_LINE(line)
#else
#define EXPECT_DEBUG_LINE(line) QTest::ignoreMessage(QtDebugMsg, line)
#endif

#endif // DEBUGLINE_H
