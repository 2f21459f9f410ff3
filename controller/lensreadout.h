#ifndef LENSREADOUT_H
#define LENSREADOUT_H

#include "lensmotor.h"

#include <QString>

class QJsonObject;

// The positions and maxima of a board's motors as every program that is not
// the window reports them, in words and in JSON with the same keys and values,
// and the failure lines that go with them.
namespace LensReadout {

// Reads each motor the board has; returns what went wrong, or an empty string
// when every read was answered and the readout is in text ("name value" lines)
// and json (zoom, zoomMax, focus, focusMax, iris, irisMax; null for motors the
// board lacks). The first read without an answer ends the readout.
QString read(Controller &driver, BoardType board, QString *text, QJsonObject *json);

// The board did not answer a query, or answered in the wrong form.
QString noAnswer(const Controller &driver);
// A command was not acknowledged.
QString rejected(const Controller &driver);

} // namespace LensReadout

#endif // LENSREADOUT_H
