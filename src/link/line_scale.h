#pragma once

#include "config/image_common.h"
#include "config/sensor_config.h"
#include "config/sensor_family.h"
#include "link/link_protocol.h"

#include <string>

namespace telmora {

// The register whose range flags decide how far one count of the stream is.
inline constexpr int kScaleRegister = image::kOperatingFlags;

// Inches per count of a `family` sensor holding `image`, as the family's decoder reads the
// range flags; `current` when the flags select no scale.
float ImageCountDistance(SensorFamily family, const RegisterImage& image, float current);

// Finds the line scale when a port opens, without asking and without waiting: a
// detection, a read of the scale register alone, then the end command. It gives way to
// any command at once. The owner forwards the protocol's exchange ends to it.
class ScaleFinder {
  public:
    enum class State {
        Idle,      // never started
        Detecting, // waiting for the detection
        Reading,   // waiting for the scale register
        Found,     // the protocol's line scale is the sensor's
        NoSensor,  // nothing answered the detection
        NoReply,   // the sensor answered the detection but not the scale register
        GaveWay,   // stopped for a command, or the port closed
    };

    explicit ScaleFinder(LinkProtocol& protocol) : protocol_(protocol) {}

    // Refused (false) when no port is open or another exchange runs.
    bool Start();
    // Every exchange end the protocol reports; true when it ended the search.
    bool ExchangeEnded(const ExchangeResult& result);
    // Stops a running search, sending the end command when a frame has gone out; false
    // when none ran.
    bool GiveWay();

    bool Running() const { return state_ == State::Detecting || state_ == State::Reading; }
    State Outcome() const { return state_; }
    SensorFamily Family() const { return family_; }

  private:
    LinkProtocol& protocol_;
    State state_ = State::Idle;
    SensorFamily family_ = SensorFamily::None;
};

// The status bar's note on the scale after a search (empty while it runs or when it
// gave way) and when no search runs at all.
std::string ScaleFoundText(const ScaleFinder& finder, float countDistance);
std::string ScaleAssumedText(float countDistance);
// The scale as the sensor's own answer gave it.
std::string ScaleKnownText(float countDistance);

} // namespace telmora
