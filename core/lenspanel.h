#ifndef LENSPANEL_H
#define LENSPANEL_H

#include <array>

class QLineEdit;
class QPushButton;
class QSlider;

// The window's lens controls that LensActions works with.
struct LensPanel
{
    struct MotorControls
    {
        QSlider *slider;
        QLineEdit *field;
        // Towards 0 (wide, near, close) and towards the maximum.
        std::array<QPushButton *, 2> runButtons;
        // "-" and "+".
        std::array<QPushButton *, 2> stepButtons;
    };

    // Zoom, focus, iris.
    std::array<MotorControls, 3> motors;
    QPushButton *refresh;
};

#endif // LENSPANEL_H
