#pragma once

#include "config/sensor_config.h"
#include "editors/ui/analog_editor.h"
#include "editors/ui/range_editor.h"
#include "editors/ui/switch_editor.h"

#include <QObject>

#include <array>
#include <functional>
#include <memory>

class QMenu;

namespace telmora {

class FormGeometry;
class FormSurface;

// Everything the user edits the outputs with on the main window: the range bar with its
// boxes, the four switch rows, the analog area and their pop-up menus.
// A range applied in either box places every output anew.
//
// The main window builds one of these on its form surface, adopts PopUpMenus() into its
// menu bar, and calls the operations below to show a record and reads the controls back:
//   Range().ShowRange(...), Sw(n).SetModeWind(), Sw(n).Place() (PlaceSwN),
//   Analog().SetAnalogModeVoltage(), Analog().PlaceAnalogFarEndpoint() ...
class OutputEditors : public QObject {
    Q_OBJECT
  public:
    OutputEditors(FormSurface& surface, FormGeometry& geometry, SensorConfig& config,
                  std::function<FamilyFlags()> family, QObject* parent = nullptr);
    ~OutputEditors() override;

    RangeEditor& Range() { return *range_; }
    SwitchEditor& Sw(int n) { return *switches_.at(static_cast<std::size_t>(n - 1)); }
    AnalogEditor& Analog() { return *analog_; }

    void PlaceSw1() { Sw(1).Place(); }
    void PlaceSw2() { Sw(2).Place(); }
    void PlaceSw3() { Sw(3).Place(); }
    void PlaceSw4() { Sw(4).Place(); }

    // Places every output on the bar as it stands: switches 1 to 4 (hidden ones too), then
    // the far and near endpoints and the near and far outputs.
    void RedrawOutputEditors();

    // The five pop-up menus (mnuSw1PopUp to mnuSw4PopUp, mnuAnalogPopUp), children of the
    // surface; the window adopts them into its menu bar as hidden menus.
    std::array<QMenu*, 5> PopUpMenus() const;

    // Shows (Kelvo-B) or hides (Kelvo-A) the controls only family B has: the "Mode"
    // submenus of the four pop-ups, then each row's FamilyBOnlyWidgets(). The record is not
    // touched, so hidden values come back as they were.
    void SetFamilyBControlsVisible(bool visible);

  signals:
    // An entry in one of the boxes was limited or refused: which limit applied.
    void LimitNoted(const QString& note);

  private:
    std::unique_ptr<RangeEditor> range_;
    std::array<std::unique_ptr<SwitchEditor>, 4> switches_;
    std::unique_ptr<AnalogEditor> analog_;
};

} // namespace telmora
