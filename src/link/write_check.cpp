#include "link/write_check.h"

#include "config/config_fields.h"
#include "config/image_codec.h"
#include "link/frames.h"

#include <algorithm>

namespace telmora {

std::vector<RegisterMismatch> DifferingRegisters(SensorFamily family, const RegisterImage& written,
                                                 const RegisterImage& readBack) {
    std::vector<RegisterMismatch> differences;
    for (const std::uint8_t reg : WriteRegisters(family)) {
        // Registers hold bytes; the image keeps them in wider elements.
        const int wrote = std::clamp<int>(written[reg], 0, 255);
        const int read = std::clamp<int>(readBack[reg], 0, 255);
        if (wrote != read)
            differences.push_back({reg, wrote, read});
    }
    return differences;
}

std::string WriteCheckText(SensorFamily family, const RegisterImage& written,
                           const RegisterImage& readBack) {
    const std::vector<RegisterMismatch> registers = DifferingRegisters(family, written, readBack);
    if (registers.empty())
        return {};
    std::string text = "The configuration read back from the " + std::string(FamilyName(family)) +
                       " sensor differs from what was written.";
    for (const FieldComparison& field :
         CompareFields(DecodedImage(family, written), DecodedImage(family, readBack), family)) {
        if (field.Differs)
            text += "\n" + field.Name + ": wrote " + field.Left + ", read " + field.Right +
                    (field.Unit.empty() ? "" : " " + field.Unit);
    }
    for (const RegisterMismatch& r : registers)
        text += "\nRegister " + std::to_string(r.Register) + ": wrote " + std::to_string(r.Wrote) +
                ", read " + std::to_string(r.Read);
    return text;
}

} // namespace telmora
