#ifndef LENSCTL_H
#define LENSCTL_H

#include "lensmotor.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTextStream;
struct LensRequest;

// tavro-lensctl: one lens command per run, for scripts on test benches. The
// board is driven only through Controller; the factory makes the driver, so
// tests can count or replace what is made.
class LensCtl
{
public:
    enum ExitStatus { Success = 0, Failure = 1, UsageError = 2 };

    using ControllerFactory = std::function<std::unique_ptr<Controller>(LensBoard board, const QString &port)>;

    explicit LensCtl(ControllerFactory factory = realDriver);

    // Runs the command line (program name first, as QCoreApplication gives
    // it): answers go to out, the one line naming a failure to err. Returns
    // the exit status.
    int run(const QStringList &arguments, QTextStream &out, QTextStream &err) const;

    // The driver of the real board.
    static std::unique_ptr<Controller> realDriver(LensBoard board, const QString &port);

private:
    // Each returns what went wrong, or an empty string when the board did
    // what was asked and the answer has been written to out.
    QString probe(Controller &driver, LensBoard board, bool json, QTextStream &out) const;
    QString get(Controller &driver, LensBoard board, bool json, QTextStream &out) const;
    QString command(Controller &driver, const LensRequest &request, bool json, QTextStream &out) const;

    ControllerFactory m_factory;
};

#endif // LENSCTL_H
