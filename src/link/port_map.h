#pragma once

#include <array>
#include <string>
#include <string_view>

// Where the serial ports 1 to 4 lead. On Windows port N is the device "COMN". Elsewhere
// each user maps them in a small text file, PortMapPath():
//
//     # Telmora serial ports
//     1=/dev/ttyUSB0
//     2=none
//
// A line "N=device" (N from 1 to 4) points port N at any serial device; "none" leads it
// nowhere; "#" starts a comment. A port the file does not name is /dev/ttyS0 to
// /dev/ttyS3 for ports 1 to 4.
namespace telmora {

inline constexpr int kPortCount = 4;

// One device per port, index 0 for port 1; "" for a port that leads nowhere.
using PortDevices = std::array<std::string, kPortCount>;

PortDevices DefaultPortDevices();

// $XDG_CONFIG_HOME/telmora/ports, or ~/.config/telmora/ports when XDG_CONFIG_HOME is
// unset, empty or not absolute; "" when neither is known (and always on Windows).
std::string PortMapPath();

// `defaults` with the ports that `text` names replaced. Lines that do not fit the form
// are ignored; a later line for the same port wins.
PortDevices ParsePortMap(std::string_view text, PortDevices defaults);

// One line of the file: the port it points (0 when the line does not fit the form) and the
// device ("" for "none").
struct PortLine {
    int Number = 0;
    std::string Device;
};
PortLine ParsePortLine(std::string_view line);

// The file's text `text` with port `number` pointed at `device` ("" leads it nowhere):
// the port's first line is replaced, its later lines dropped, every other line (comments,
// lines this program does not understand) kept as it was; a port the file did not name
// gets a line at the end.
std::string SetPortInMap(std::string_view text, int number, std::string_view device);

// The defaults with the user's file applied (a missing or unreadable file changes none).
PortDevices LoadPortDevices();

// The device of port `number` as LoadPortDevices gives it; "" when `number` is not 1 to
// 4 or the port leads nowhere.
std::string PortDevice(int number);

} // namespace telmora
