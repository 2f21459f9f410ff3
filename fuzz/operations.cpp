#include "operations.h"

#include "controller.h"

#include <array>
#include <functional>

namespace {

using Operation = std::function<void(Controller &)>;

const std::array<Operation, Operations::count> &operations()
{
    static const std::array<Operation, Operations::count> table{{
        [](Controller &c) { c.setZoomPosition(3000); },
        [](Controller &c) { c.setFocusPosition(1000); },
        [](Controller &c) { c.setIrisPosition(2000); },
        [](Controller &c) { c.pelco_d_zoom_in(); },
        [](Controller &c) { c.pelco_d_zoom_out(); },
        [](Controller &c) { c.pelco_d_zoom_stop(); },
        [](Controller &c) { c.pelco_d_focus_near(); },
        [](Controller &c) { c.pelco_d_focus_far(); },
        [](Controller &c) { c.pelco_d_focus_stop(); },
        [](Controller &c) { c.pelco_d_iris_open(); },
        [](Controller &c) { c.pelco_d_iris_close(); },
        [](Controller &c) { c.pelco_d_iris_stop(); },
        [](Controller &c) { c.callPreset(1); },
        [](Controller &c) { c.storePreset(2); },
        [](Controller &c) { c.setFocusSpeed(2); },
        [](Controller &c) { c.setZoomSpeed(0); },
        [](Controller &c) { c.calibrateAll(); },
        [](Controller &c) { c.setLensType(1); },
        [](Controller &c) { c.getLensType(); },
        [](Controller &c) { c.initMotor(); },
        [](Controller &c) { c.getZoomPosition(); },
        [](Controller &c) { c.getFocusPosition(); },
        [](Controller &c) { c.getIrisPosition(); },
        [](Controller &c) { c.disableStallDetection(true); },
        [](Controller &c) { c.storeInDevice(); },
        [](Controller &c) { c.getMaxZoomPosition(); },
        [](Controller &c) { c.getMaxFocusPosition(); },
        [](Controller &c) { c.getMaxIrisPosition(); },
        [](Controller &c) { c.setSensitivityMode(1); },
        [](Controller &c) { c.getSensitivityMode(); },
        [](Controller &c) { c.callPresetAtSpeed(3, 0); },
    }};
    return table;
}

} // namespace

void Operations::run(Controller &driver, int index)
{
    operations().at(size_t(index))(driver);
}
