#pragma once

// Snapshot checks for GoogleTest programs: `text` must equal the section `name` of the
// program's golden file TELMORA_GOLDEN (see golden.h).

#include "golden.h"

#include <gtest/gtest.h>

namespace telmora::test {

inline void ExpectGolden(const std::string& name, const std::string& text) {
    const std::string diff = GoldenSectionDiff(TELMORA_GOLDEN, name, text);
    EXPECT_TRUE(diff.empty()) << diff;
}

} // namespace telmora::test
