#ifndef DEBUGLINE_H
#define DEBUGLINE_H

#include <QTest>

// A debug line the next step writes, in a build that writes debug lines: some
// packagers compile them out, and the window must work the same there.
#ifdef QT_NO_DEBUG_OUTPUT
// A statement still, for the suites that write it as the body of an if.
#define EXPECT_DEBUG_LINE(line) static_cast<void>(line)
#else
#define EXPECT_DEBUG_LINE(line) QTest::ignoreMessage(QtDebugMsg, line)
#endif

#endif // DEBUGLINE_H
