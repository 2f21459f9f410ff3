#include "lensboard.h"

#include "controller_tavro.h"
#include "controller_usm.h"

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

unsigned long LensBoard::calibrationWaitMs(BoardType board)
{
    return board == BoardType::Tavro ? ControllerTavro::calibrationMs : 0;
}
