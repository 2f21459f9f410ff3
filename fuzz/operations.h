#ifndef OPERATIONS_H
#define OPERATIONS_H

class Controller;

// The 31 operations of the driver interface, each with a fixed argument:
// the link targets fuzz what comes back, not what goes out.
namespace Operations {

constexpr int count = 31;

// Runs operation index (0 to count - 1) on driver.
void run(Controller &driver, int index);

} // namespace Operations

#endif // OPERATIONS_H
