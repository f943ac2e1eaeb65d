#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"

#include <string_view>

namespace telmora {

// The main window as the two sensor commands ("Get Configuration From Sensor", "Save
// Configuration To Sensor") need it. The window implements it; the link calls it on the
// user-interface thread, never from inside the receive handler, so a method may open a
// modal message box.
class LinkHost {
  public:
    virtual ~LinkHost() = default;

    // The family the window is set up for: A when FamilyA is set, B when FamilyB is set,
    // None when neither is.
    virtual SensorFamily SelectedFamily() const = 0;

    // Sets FamilyA and FamilyB to `family`. For A or B the window then applies that
    // family's layout (ShowFamilyALayout or ShowFamilyBLayout). None clears both flags
    // (a detection is starting) and leaves the layout as it is.
    virtual void SetFamily(SensorFamily family) = 0;

    // A read completed: decode `image` into SensorConfig (DecodeImageA or DecodeImageB)
    // and show the record on the window (ShowRecordA or ShowRecordB). The window keeps
    // `image` as its RegisterImage.
    virtual void ShowRecord(SensorFamily family, const RegisterImage& image) = 0;

    // A write is about to start: take the window's values into SensorConfig (ReadWindowA
    // or ReadWindowB), encode it (EncodeImageA or EncodeImageB) and return the image,
    // which the window also keeps as its RegisterImage.
    virtual RegisterImage ReadWindow(SensorFamily family) = 0;

    // A message box titled kWarningTitle with `text` (UTF-8) and a single OK button;
    // returns when the user has closed it.
    virtual void Warn(std::string_view text) = 0;

    // A short confirmation in the window's status bar (UTF-8).
    virtual void ShowStatus(std::string_view text) = 0;
};

inline constexpr std::string_view kWarningTitle = "Warning";
inline constexpr std::string_view kNoSensorFoundText = "No Sensor Found";
inline constexpr std::string_view kWrongSensorTypeText =
    "Wrong Sensor Type, Check settings and try again";

} // namespace telmora
