#include "keepalive.h"

namespace {

KeepAlive::Function &currentFunction()
{
    static KeepAlive::Function function;
    return function;
}

} // namespace

void KeepAlive::call(Reason reason, qint64 remainingMs)
{
    // A copy, so that a keep-alive may replace itself while it runs.
    const Function function = currentFunction();
    if (function)
        function(reason, remainingMs);
}

KeepAlive::Function KeepAlive::setFunction(Function function)
{
    Function previous = std::move(currentFunction());
    currentFunction() = std::move(function);
    return previous;
}
