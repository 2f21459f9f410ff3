#include "pause.h"

#include <QThread>

namespace {

void sleepMs(unsigned long ms)
{
    QThread::msleep(ms);
}

Pause::Function &currentFunction()
{
    static Pause::Function function = sleepMs;
    return function;
}

} // namespace

void Pause::wait(unsigned long ms)
{
    currentFunction()(ms);
}

Pause::Function Pause::setFunction(Function function)
{
    Function previous = currentFunction();
    currentFunction() = function ? std::move(function) : Function(sleepMs);
    return previous;
}
