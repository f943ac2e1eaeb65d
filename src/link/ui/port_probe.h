#pragma once

#include <QString>

namespace telmora {

// Why a port can or cannot be offered.
enum class PortState {
    Usable,
    NotMapped,  // the port leads nowhere
    NotPresent, // no such device (an adapter unplugged, a link that leads nowhere)
    InUse,      // another program has it open or locked
    Unusable,   // present but not a serial device this program may open
};

struct PortCheck {
    PortState State = PortState::NotMapped;
    // For the user: "not present", "in use by another program (kelvo, process 12)", ...;
    // "" when usable.
    QString Reason;

    bool Usable() const { return State == PortState::Usable; }
};

// Whether the serial device `device` ("" for a port that leads nowhere) can be opened for
// the sensor, and if not why. The check changes no line setting, and a device that
// another program holds is left undisturbed.
PortCheck CheckPort(const QString& device);

inline bool PortCanBeOpened(const QString& device) {
    return CheckPort(device).Usable();
}

} // namespace telmora
