#include "editors/scale.h"

#include "config/number_text.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace telmora {

float ToSingle(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (value > kLargest) {
        return std::numeric_limits<float>::max();
    }
    if (value < -kLargest) {
        return -std::numeric_limits<float>::max();
    }
    return static_cast<float>(value);
}

float ReadSingle(std::string_view text) {
    return ToSingle(ReadNumber(text));
}

namespace {
// Walks the text the way ReadNumber reads it, blanks skipped anywhere.
class NumberScanner {
  public:
    explicit NumberScanner(std::string_view text) : text_(text) {}

    bool acceptAny(std::string_view chars) {
        skipBlanks();
        if (pos_ < text_.size() && chars.find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
            return true;
        }
        return false;
    }
    int acceptDigits() {
        int count = 0;
        while (true) {
            skipBlanks();
            if (pos_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
                return count;
            }
            ++pos_;
            ++count;
        }
    }
    bool atEnd() {
        skipBlanks();
        return pos_ == text_.size();
    }

  private:
    void skipBlanks() {
        while (pos_ < text_.size() &&
               std::string_view(" \t\n\r").find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
        }
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};
} // namespace

bool IsNumberText(std::string_view text) {
    NumberScanner scan(text);
    scan.acceptAny("+-");
    int digits = scan.acceptDigits();
    if (scan.acceptAny(".")) {
        digits += scan.acceptDigits();
    }
    if (digits == 0) {
        return false;
    }
    if (scan.acceptAny("eE")) {
        scan.acceptAny("+-");
        if (scan.acceptDigits() == 0) {
            return false;
        }
    }
    return scan.atEnd();
}

float DistanceToX(const BarSpan& bar, float d, float min, float max) {
    if (max - min == 0) {
        return bar.left;
    }
    const double span = static_cast<double>(max) - static_cast<double>(min);
    float x = ToSingle(bar.left + bar.width * (static_cast<double>(d) - min) / span);
    if (std::isnan(x) || x < bar.left) {
        x = bar.left;
    }
    if (x > bar.right()) {
        x = bar.right();
    }
    return x;
}

float XToDistance(const BarSpan& bar, float x, float min, float max, float origin) {
    if (std::isnan(x) || x < bar.left) {
        x = bar.left;
    }
    if (x > bar.right()) {
        x = bar.right();
    }
    if (!(bar.width > 0)) {
        return min;
    }
    const float fraction = (x - origin) / bar.width;
    return ToSingle(min + (static_cast<double>(max) - min) * fraction);
}

float LimitMaxRange(float entry, float minRange) {
    float v = entry;
    if (!(v > minRange)) { // also catches an entry or a minimum that is not a number
        v = ToSingle(minRange + 0.01);
    }
    if (v > kMaxRangeCeiling) {
        v = kMaxRangeCeiling;
    }
    return std::isnan(v) ? kMaxRangeCeiling : v;
}

float LimitMinRange(float entry, float maxRange) {
    float v = entry;
    if (!(v < maxRange)) {
        v = ToSingle(maxRange - 0.01);
    }
    if (v < kMinRangeFloor) {
        v = kMinRangeFloor;
    }
    return std::isnan(v) ? kMinRangeFloor : v;
}

std::int16_t NumberOfPulsesFor(float minRange, bool familyA, bool familyB) {
    if ((familyA && minRange < 6.5f) || (familyB && minRange < 8.0f)) {
        return 1;
    }
    return 10;
}

} // namespace telmora
