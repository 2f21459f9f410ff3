#ifndef FUZZQT_H
#define FUZZQT_H

class QString;

// What every target sets up once per process before its first input.
namespace FuzzQt {

// The application object, a QCoreApplication unless startWidgets() made one
// already, with the program's log silenced unless FUZZ_LOG is set, since
// writing every trace line would cost most of each run; no reports, no
// pauses, and the Pellan preset store in a folder of its own. Call from
// LLVMFuzzerInitialize.
void start();
// start() with a QApplication on the offscreen platform, for the targets that
// feed widgets (fuzzwidgets.cpp, in those targets only).
void startWidgets();

// A folder that lives as long as the process, for config.ini and the store.
QString scratchFolder();

// A rule the input broke: says which, and ends the run as a crash.
void require(bool condition, const char *what);

} // namespace FuzzQt

#endif // FUZZQT_H
