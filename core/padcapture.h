#ifndef PADCAPTURE_H
#define PADCAPTURE_H

#include "padlayout.h"

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

// The pad as the window lays it out: its layout in use, and the pad asked for
// the control the operator moves or presses next, to bind it to an action.
// The pad does nothing else to the lens meanwhile.
class PadCapture
{
public:
    virtual ~PadCapture() = default;

    virtual const PadLayout &layout() const = 0;
    // Ends the pad's runs; what is held counts once it has come back.
    virtual void setLayout(const PadLayout &layout) = 0;

    // A pad is connected that could be asked.
    virtual bool isPadConnected() const = 0;
    // Calls done once with the first control that goes past half its travel
    // from rest (axes only, or buttons and triggers only), or with
    // noPadControl when the pad goes first. A control already pushed counts
    // once it has been back. A new request replaces the one before.
    virtual void captureNext(bool axes, std::function<void(int control)> done) = 0;
    // No control is wanted any longer.
    virtual void cancelCapture() = 0;
};

#endif // PADCAPTURE_H
