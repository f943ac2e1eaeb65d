#pragma once

// Snapshot checks for GoogleTest programs: each scenario prints what it observed, and the
// text must equal its section ("== name ==") of the program's golden file TELMORA_GOLDEN.
// Run the program itself with TELMORA_WRITE_GOLDEN=<file> to write every section there
// instead, to review and copy over the golden file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace telmora::test {

inline void ExpectGolden(const std::string& name, const std::string& text) {
    const std::string header = "== " + name + " ==\n";
    if (const char* out = std::getenv("TELMORA_WRITE_GOLDEN")) {
        static bool started = false;
        std::ofstream(out, started ? std::ios::app : std::ios::trunc) << header << text;
        started = true;
    }
    std::ifstream in(TELMORA_GOLDEN, std::ios::binary);
    const std::string golden{std::istreambuf_iterator<char>(in), {}};
    const std::size_t begin = golden.find(header);
    ASSERT_NE(begin, std::string::npos) << "no section " << name << " in " << TELMORA_GOLDEN;
    const std::size_t from = begin + header.size();
    const std::size_t end = golden.find("\n== ", from);
    // Multi-line strings that differ are printed as a unified diff.
    EXPECT_EQ(text, golden.substr(from, end == std::string::npos ? end : end + 1 - from));
}

} // namespace telmora::test
