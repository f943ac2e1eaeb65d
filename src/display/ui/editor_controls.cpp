#include "display/ui/editor_controls.h"

#include "editors/ui/output_editors.h"

namespace telmora {

EditorControls EditorControlsOf(OutputEditors& editors) {
    const AnalogEditor& analog = editors.Analog();
    return {.lblRange = editors.Range().RangeBar(),
            .txtMaxRange = editors.Range().MaxRangeBox(),
            .txtAnalogNearEndpoint = analog.NearEndpointBox(),
            .txtAnalogFarEndpoint = analog.FarEndpointBox(),
            .txtAnalogNearOutput = analog.NearOutputBox(),
            .txtAnalogFarOutput = analog.FarOutputBox(),
            .lblAnalogEchoLoss = analog.EchoLossLabel()};
}

} // namespace telmora
