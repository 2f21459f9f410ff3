#ifndef BOARDCOMMISSIONING_H
#define BOARDCOMMISSIONING_H

#include "boardtype.h"
#include "outcome.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Controller;

// Putting a board into service, as the settings panel does it: the driver for
// a board type on a port, the look whether the board answers (with a hint
// when the other board type answers instead), the board's settings at Save,
// and what Test reads back. It holds no widgets: the window asks and reports.
class BoardCommissioning
{
public:
    // Makes the driver for a board type on a port; nothing for no board type.
    using ControllerFactory = std::function<std::unique_ptr<Controller>(BoardType type, const QString &portName)>;

    // What a probe found.
    struct Probe
    {
        // Null when the board did not answer.
        std::unique_ptr<Controller> driver;
        int lensType = -1;
        // When the board did not answer but the other board type did: the
        // operator's hint to choose it.
        QString hint;
        // When the port would not open: how, for the operator's report.
        std::optional<Outcome> portFailure;
    };

    // The operator's choices that Save gives the board.
    struct Choices
    {
        BoardType type = BoardType::None;
        int lensType = 0;
        bool stallDetection = true;
        bool longCable = false;
        int zoomSpeed = 0;
        int focusSpeed = 0;
    };

    // boardName gives the name the window lists a board type under.
    explicit BoardCommissioning(std::function<QString(BoardType type)> boardName);

    // Replaces how drivers are made (tests hand in fakes); an empty factory
    // restores the real drivers.
    void setControllerFactory(ControllerFactory factory);
    std::unique_ptr<Controller> createController(BoardType type, const QString &portName) const;
    // How drivers are made, to be called on any thread.
    ControllerFactory factory() const;

    // Asks the board on portName for its lens type, with the driver of type.
    // Only a board that got the question and gave no answer (or not the
    // board's) is asked again as the other type: a port that cannot be opened
    // or is busy would only fail again.
    Probe probe(BoardType type, const QString &portName) const;

    // Save's steps on the new driver, up to the positions' read: lens type,
    // stall detection, sensitivity, calibration (with the Tavro board's wait
    // announced ahead) and speeds. step tells what is under way.
    static void configure(Controller &driver, const Choices &choices,
                          const std::function<void(const QString &step)> &step);

private:
    QString otherBoardHint(BoardType type, const QString &portName) const;

    std::function<QString(BoardType type)> m_boardName;
    ControllerFactory m_factory;
};

#endif // BOARDCOMMISSIONING_H
