#pragma once

// Snapshot checks: a test prints what a scenario produced as text and compares it with its
// golden file, whole or by sections (a line "== name" starts a section).
// TELMORA_WRITE_GOLDEN=<file> also writes what was found into <file> (sections kept in name
// order, other sections left as they are), to review and copy over the golden file.

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace telmora::test {

inline std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Empty when the texts are equal; else a unified diff of the lines between the first and
// the last that differ.
inline std::string LineDiff(const std::string& expected, const std::string& found,
                            const std::string& label) {
    if (expected == found) {
        return {};
    }
    const auto want = LinesOf(expected), got = LinesOf(found);
    std::size_t first = 0, tail = 0;
    while (first < want.size() && first < got.size() && want[first] == got[first]) {
        ++first;
    }
    while (tail < want.size() - first && tail < got.size() - first &&
           want[want.size() - 1 - tail] == got[got.size() - 1 - tail]) {
        ++tail;
    }
    std::ostringstream diff;
    diff << "--- " << label << "\n+++ found\n@@ -" << first + 1 << ','
         << want.size() - first - tail << " +" << first + 1 << ',' << got.size() - first - tail
         << " @@\n";
    for (std::size_t i = first; i < want.size() - tail; ++i) {
        diff << '-' << want[i] << '\n';
    }
    for (std::size_t i = first; i < got.size() - tail; ++i) {
        diff << '+' << got[i] << '\n';
    }
    if (first == want.size() && first == got.size()) {
        diff << "(the texts differ in their line ends)\n";
    }
    return diff.str();
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The whole golden file against what was found.
inline std::string GoldenDiff(const std::string& found, const std::string& goldenPath) {
    if (const char* out = std::getenv("TELMORA_WRITE_GOLDEN"); out != nullptr && *out != '\0') {
        std::ofstream(out, std::ios::binary) << found;
    }
    return LineDiff(ReadText(goldenPath), found, goldenPath);
}

using Sections = std::map<std::string, std::string>;

inline Sections ReadSections(const std::string& path) {
    Sections sections;
    std::ifstream in(path);
    std::string name;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("== ", 0) == 0) {
            name = line.substr(3);
            sections[name];
        } else if (!name.empty()) {
            sections[name] += line + '\n';
        }
    }
    return sections;
}

// The section `name` of the golden file against what was found.
inline std::string GoldenSectionDiff(const std::string& goldenPath, const std::string& name,
                                     const std::string& found) {
    if (const char* out = std::getenv("TELMORA_WRITE_GOLDEN"); out != nullptr && *out != 0) {
        std::ifstream existing(out);
        Sections written = ReadSections(existing ? out : goldenPath);
        written[name] = found;
        std::ofstream file(out, std::ios::trunc);
        for (const auto& [section, text] : written) {
            file << "== " << section << '\n' << text;
        }
    }
    const Sections golden = ReadSections(goldenPath);
    const auto it = golden.find(name);
    if (it == golden.end()) {
        return "no section '" + name + "' in " + goldenPath + "\n";
    }
    return LineDiff(it->second, found, goldenPath + " [" + name + "]");
}

} // namespace telmora::test
