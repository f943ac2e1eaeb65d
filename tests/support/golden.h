#pragma once

// Snapshot checks: a test prints what a scenario produced as text and compares it with the
// section of the same name in the program's golden file. TELMORA_WRITE_GOLDEN=<file> also
// writes each section found into <file> (kept in name order, other sections left as they
// are), to review and copy over the golden file.

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace telmora::test {

using Sections = std::map<std::string, std::string>;

inline Sections ReadSections(const std::string& path) {
    Sections sections;
    std::ifstream in(path);
    std::string line, name;
    while (std::getline(in, line)) {
        if (line.rfind("=== ", 0) == 0) {
            name = line.substr(4);
            sections[name];
        } else {
            sections[name] += line + '\n';
        }
    }
    return sections;
}

inline std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Empty when `found` is the golden section `name`; else a unified diff of the lines between
// the first and the last that differ.
inline std::string GoldenDiff(const std::string& goldenPath, const std::string& name,
                              const std::string& found) {
    if (const char* out = std::getenv("TELMORA_WRITE_GOLDEN"); out != nullptr && *out != 0) {
        Sections written = ReadSections(out);
        written[name] = found;
        std::ofstream file(out, std::ios::trunc);
        for (const auto& [section, text] : written) {
            file << "=== " << section << '\n' << text;
        }
    }
    const Sections golden = ReadSections(goldenPath);
    const auto it = golden.find(name);
    if (it == golden.end()) {
        return "no section '" + name + "' in " + goldenPath + "\n";
    }
    const auto want = LinesOf(it->second), got = LinesOf(found);
    std::size_t first = 0, tail = 0;
    while (first < want.size() && first < got.size() && want[first] == got[first]) {
        ++first;
    }
    while (tail < want.size() - first && tail < got.size() - first &&
           want[want.size() - 1 - tail] == got[got.size() - 1 - tail]) {
        ++tail;
    }
    if (first == want.size() && first == got.size()) {
        return {};
    }
    std::ostringstream diff;
    diff << "--- " << goldenPath << " [" << name << "]\n+++ found\n@@ -" << first + 1 << ','
         << want.size() - first - tail << " +" << first + 1 << ',' << got.size() - first - tail
         << " @@\n";
    for (std::size_t i = first; i < want.size() - tail; ++i) {
        diff << '-' << want[i] << '\n';
    }
    for (std::size_t i = first; i < got.size() - tail; ++i) {
        diff << '+' << got[i] << '\n';
    }
    return diff.str();
}

} // namespace telmora::test
