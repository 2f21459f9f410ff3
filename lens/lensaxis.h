#ifndef LENSAXIS_H
#define LENSAXIS_H

// The three things a lens profile describes, in the order the boards number
// their motors: zoom 0, focus 1, iris 2.
enum class LensAxis { Zoom, Focus, Iris };

constexpr int lensAxisCount = 3;

#endif // LENSAXIS_H
