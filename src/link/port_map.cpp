#include "link/port_map.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace telmora {

namespace {

std::string_view Trim(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool IsNone(std::string_view device) {
    if (device.size() != 4)
        return false;
    for (std::size_t k = 0; k < 4; ++k) {
        const char c = device[k];
        if ((c | 0x20) != "none"[k])
            return false;
    }
    return true;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

PortLine ParsePortLine(std::string_view line) {
    line = Trim(line.substr(0, line.find('#')));
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return {};
    const std::string_view number = Trim(line.substr(0, equals));
    const std::string_view device = Trim(line.substr(equals + 1));
    if (number.size() != 1 || number[0] < '1' || number[0] > '0' + kPortCount || device.empty())
        return {};
    return {number[0] - '0', IsNone(device) ? std::string() : std::string(device)};
}

PortDevices DefaultPortDevices() {
    PortDevices devices;
    for (int n = 1; n <= kPortCount; ++n) {
#ifdef _WIN32
        devices[n - 1] = "COM" + std::to_string(n);
#else
        devices[n - 1] = "/dev/ttyS" + std::to_string(n - 1);
#endif
    }
    return devices;
}

std::string PortMapPath() {
#ifdef _WIN32
    return {};
#else
    const std::string configHome = Environment("XDG_CONFIG_HOME");
    if (!configHome.empty() && configHome.front() == '/')
        return configHome + "/telmora/ports";
    const std::string home = Environment("HOME");
    if (home.empty())
        return {};
    return home + "/.config/telmora/ports";
#endif
}

PortDevices ParsePortMap(std::string_view text, PortDevices defaults) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (const PortLine parsed = ParsePortLine(line); parsed.Number != 0)
            defaults[static_cast<std::size_t>(parsed.Number - 1)] = parsed.Device;
    }
    return defaults;
}

std::string SetPortInMap(std::string_view text, int number, std::string_view device) {
    const std::string entry =
        std::to_string(number) + "=" + (device.empty() ? std::string("none") : std::string(device));
    std::string out;
    bool placed = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        const bool lineEnded = end != std::string_view::npos;
        text.remove_prefix(lineEnded ? end + 1 : text.size());
        if (ParsePortLine(line).Number != number) {
            out.append(line);
        } else if (!placed) {
            // The entry takes the place of the first line for the port and keeps its note.
            placed = true;
            out += entry;
            if (const auto note = line.find('#'); note != std::string_view::npos)
                out.append("  ").append(line.substr(note));
        } else {
            continue; // a later line for the port would win over the new entry
        }
        if (lineEnded)
            out += '\n';
    }
    if (!placed) {
        if (out.empty())
            out = "# Telmora serial ports\n";
        else if (out.back() != '\n')
            out += '\n';
        out += entry + "\n";
    }
    return out;
}

PortDevices LoadPortDevices() {
    const std::string path = PortMapPath();
    if (path.empty())
        return DefaultPortDevices();
    std::ifstream file(path);
    if (!file)
        return DefaultPortDevices();
    std::ostringstream text;
    text << file.rdbuf();
    return ParsePortMap(text.str(), DefaultPortDevices());
}

std::string PortDevice(int number) {
    if (number < 1 || number > kPortCount)
        return {};
    return LoadPortDevices()[static_cast<std::size_t>(number - 1)];
}

} // namespace telmora
