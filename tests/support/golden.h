#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace telmora::test {

// The unified diff from `expected` to `found`, headed by `label`.
inline std::string UnifiedDiff(const std::string& expected, const std::string& found,
                               const std::string& label) {
    char expectedPath[] = "/tmp/telmora-expected-XXXXXX";
    char foundPath[] = "/tmp/telmora-found-XXXXXX";
    const int a = mkstemp(expectedPath);
    const int b = mkstemp(foundPath);
    if (a < 0 || b < 0) {
        return label + " differs and no file could hold it";
    }
    close(a);
    close(b);
    std::ofstream(expectedPath, std::ios::binary) << expected;
    std::ofstream(foundPath, std::ios::binary) << found;
    std::string diff = label + " differs:\n";
    const std::string command = "diff -u --label expected --label found '" +
                                std::string(expectedPath) + "' '" + foundPath + "'";
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            diff.append(buffer, n);
        }
        pclose(pipe);
    }
    std::remove(expectedPath);
    std::remove(foundPath);
    return diff;
}

// Compares a test's transcript with its golden file: empty when they match, otherwise the
// unified diff from the golden file to what was found. TELMORA_WRITE_GOLDEN=<file> writes
// what was found there first, to review and copy over the golden file.
inline std::string GoldenDiff(const std::string& found, const std::string& goldenPath) {
    if (const char* out = std::getenv("TELMORA_WRITE_GOLDEN"); out != nullptr && *out != '\0') {
        std::ofstream(out, std::ios::binary) << found;
    }
    std::ifstream in(goldenPath, std::ios::binary);
    std::ostringstream golden;
    golden << in.rdbuf();
    if (in && golden.str() == found) {
        return {};
    }
    return UnifiedDiff(golden.str(), found, goldenPath);
}

} // namespace telmora::test
