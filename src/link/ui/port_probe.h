#pragma once

#include <QString>

namespace telmora {

// Whether the serial device `device` can be opened for the sensor. The probe changes no
// line setting, and a device that another program holds (exclusively opened or locked)
// counts as unusable without being disturbed.
bool PortCanBeOpened(const QString& device);

} // namespace telmora
