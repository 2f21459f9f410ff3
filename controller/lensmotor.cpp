#include "lensmotor.h"

const std::array<LensMotor, 3> &LensMotor::all()
{
    static const std::array<LensMotor, 3> motors{{
        {"zoom", false, &Controller::setZoomPosition, {"wide", "tele"},
         {&Controller::pelco_d_zoom_out, &Controller::pelco_d_zoom_in}, &Controller::pelco_d_zoom_stop,
         &Controller::setZoomSpeed, &Controller::getZoomPosition, &Controller::getMaxZoomPosition},
        {"focus", true, &Controller::setFocusPosition, {"near", "far"},
         {&Controller::pelco_d_focus_near, &Controller::pelco_d_focus_far}, &Controller::pelco_d_focus_stop,
         &Controller::setFocusSpeed, &Controller::getFocusPosition, &Controller::getMaxFocusPosition},
        {"iris", false, &Controller::setIrisPosition, {"close", "open"},
         {&Controller::pelco_d_iris_close, &Controller::pelco_d_iris_open}, &Controller::pelco_d_iris_stop,
         nullptr, &Controller::getIrisPosition, &Controller::getMaxIrisPosition},
    }};
    return motors;
}

int LensMotor::index() const
{
    return int(this - all().data());
}

const LensMotor *LensMotor::named(const QString &name)
{
    for (const LensMotor &motor : all()) {
        if (name == QLatin1String(motor.name))
            return &motor;
    }
    return nullptr;
}
