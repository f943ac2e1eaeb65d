#include "config/sensor_family.h"

namespace telmora {

std::string_view FamilyName(SensorFamily family) {
    switch (family) {
    case SensorFamily::A:
        return "Kelvo-A";
    case SensorFamily::B:
        return "Kelvo-B";
    case SensorFamily::None:
        break;
    }
    return "none";
}

} // namespace telmora
