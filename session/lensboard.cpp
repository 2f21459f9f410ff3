#include "lensboard.h"

#include "controller_tavro.h"
#include "controller_usm.h"
#include "lensmotor.h"

std::unique_ptr<Controller> LensBoard::makeDriver(BoardType board, const QString &port)
{
    switch (board) {
    case BoardType::Tavro:
        return std::make_unique<ControllerTavro>(port);
    case BoardType::Pellan:
        return std::make_unique<ControllerUSM>(port);
    case BoardType::None:
        break;
    }
    return nullptr;
}

bool LensBoard::hasMotor(BoardType board, const LensMotor &motor)
{
    return motor.isOn(board);
}

bool LensBoard::hasSpeed(const LensMotor &motor)
{
    return motor.setSpeed != nullptr;
}

unsigned long LensBoard::calibrationWaitMs(BoardType board)
{
    return board == BoardType::Tavro ? ControllerTavro::calibrationMs : 0;
}
