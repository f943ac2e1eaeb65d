#pragma once

#include "link/port_map.h"

#include <QString>

namespace telmora {

// Writes to the user's mapping file (PortMapPath) every port whose device differs between
// `before` and `after`, keeping the file's other lines. The file is replaced at once or not
// at all. Returns "" when saved (or nothing changed), else what went wrong.
QString SavePortMapChanges(const PortDevices& before, const PortDevices& after);

} // namespace telmora
