// Number reading on any text a user can type: the leading number, the whole-number fields
// forced into their limits, and the display formats of what was read.
#include "config/number_text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace telmora;
    FuzzedDataProvider data(bytes, size);
    std::int16_t low = data.ConsumeIntegral<std::int16_t>();
    std::int16_t high = data.ConsumeIntegral<std::int16_t>();
    if (low > high)
        std::swap(low, high);
    const std::string text = data.ConsumeRemainingBytesAsString();
    const double value = ReadNumber(text);
    (void)IsNumber(text);
    (void)FormatTwoDecimals(value);
    (void)FormatOneDecimal(value);
    (void)FormatWhole(value);
    (void)FormatGeneral(value);
    (void)ReadRoundedWhole(text);
    const std::int16_t whole = ReadWholeNumber(text, low, high);
    if (whole < low || whole > high)
        __builtin_trap(); // a field's value always lies within its limits
    return 0;
}
