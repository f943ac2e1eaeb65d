#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace telmora::test {

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
    char foundPath[] = "/tmp/telmora-found-XXXXXX";
    const int fd = mkstemp(foundPath);
    if (fd < 0) {
        return "the transcript differs and no file could hold it";
    }
    close(fd);
    std::ofstream(foundPath, std::ios::binary) << found;
    std::string diff = "transcript differs from " + goldenPath + ":\n";
    if (FILE* pipe = popen(("diff -u '" + goldenPath + "' " + foundPath).c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            diff.append(buffer, n);
        }
        pclose(pipe);
    }
    std::remove(foundPath);
    return diff;
}

} // namespace telmora::test
