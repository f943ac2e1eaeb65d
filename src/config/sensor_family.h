#pragma once

#include <string_view>

namespace telmora {

// The sensor family a window is set up for, an exchange talks to or a detection found.
// None: no family (both of the window's flags FamilyA and FamilyB false).
enum class SensorFamily { None, A, B };

// "Kelvo-A", "Kelvo-B", or "none".
std::string_view FamilyName(SensorFamily family);

} // namespace telmora
