// The port mapping file and "CustFile".

#include "link/cust_file.h"
#include "link/port_map.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace telmora {
namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh folder, removed after each test. No other test of this program reads the
// environment these tests change.
class PortSettings : public ::testing::Test {
  protected:
    ~PortSettings() override { fs::remove_all(folder); }
    std::string pattern = ::testing::TempDir() + "telmora-link-XXXXXX";
    fs::path folder = ::mkdtemp(pattern.data());
    fs::path custFile = folder / "CustFile";
};

TEST(PortMap, LinesPointPortsAtDevicesOrAtNothingAndOddLinesAreIgnored) {
    const PortDevices devices = ParsePortMap("# bench setup\n"
                                             "0=/dev/a\n5=/dev/b\n12=/dev/c\n1\n1=\n=x\n"
                                             "  2 = /dev/pts/7   # the simulator\r\n"
                                             "3=NONE\n"
                                             "4=/dev/first\n4=/dev/second",
                                             DefaultPortDevices());
    // Unnamed ports are the first four serial devices; the last line for a port wins.
    const PortDevices expected{"/dev/ttyS0", "/dev/pts/7", "", "/dev/second"};
    EXPECT_EQ(devices, expected);
    EXPECT_EQ(ParsePortMap("1=/dev/ttyUSB0\n4=none", DefaultPortDevices()),
              (PortDevices{"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS2", ""}));
}

TEST(PortMap, SettingAPortReplacesItsLineAndKeepsEveryOtherLine) {
    struct Case {
        const char* text;
        int number;
        const char* device;
        const char* expected;
    };
    const Case cases[] = {
        {"", 2, "/dev/serial/by-id/usb-x", "# Telmora serial ports\n2=/dev/serial/by-id/usb-x\n"},
        {"# mine\n1=/dev/a\nodd line\n", 3, "", "# mine\n1=/dev/a\nodd line\n3=none\n"},
        {"1=/dev/a", 4, "/dev/b", "1=/dev/a\n4=/dev/b\n"},
        // In place, with its note; later lines for the port would win, so they go.
        {" 2 = /dev/old  # bench\r\n3=x\n2=/dev/later\n2=\n", 2, "/dev/new",
         "2=/dev/new  # bench\r\n3=x\n2=\n"},
        {"#2=/dev/commented\n12=/dev/c\n", 1, "/dev/d", "#2=/dev/commented\n12=/dev/c\n1=/dev/d\n"},
    };
    for (const Case& c : cases) {
        const std::string written = SetPortInMap(c.text, c.number, c.device);
        EXPECT_EQ(written, c.expected) << c.text;
        EXPECT_EQ(ParsePortMap(written, DefaultPortDevices())[c.number - 1], c.device) << c.text;
    }
}

TEST_F(PortSettings, MapFileLivesInTheUsersConfigFolderAndIsReadEachTime) {
    ::setenv("HOME", "/home/ann", 1);
    ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    EXPECT_EQ(PortMapPath(), "/home/ann/.config/telmora/ports");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(PortMapPath(), "/home/ann/.config/telmora/ports");

    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    EXPECT_EQ(PortMapPath(), (folder / "telmora" / "ports").string());
    EXPECT_EQ(PortDevice(2), "/dev/ttyS1"); // no file yet
    fs::create_directories(folder / "telmora");
    WriteBytes(folder / "telmora" / "ports", "2=/dev/pts/9\n4=none\n");
    EXPECT_EQ(PortDevice(2), "/dev/pts/9");
    EXPECT_EQ(PortDevice(4), "");
    EXPECT_EQ(PortDevice(0), "");
    EXPECT_EQ(PortDevice(5), "");
}

TEST_F(PortSettings, CustFileStartsWithALittleEndianSigned16BitNumberThatWritesReplace) {
    EXPECT_EQ(ReadCustFile(custFile), 0); // a missing file is created empty
    EXPECT_TRUE(fs::exists(custFile));
    EXPECT_EQ(fs::file_size(custFile), 0u);
    const std::pair<std::string, int> cases[] = {
        {std::string("\x02\x00", 2), 2},
        {std::string("\x03\x01trailing", 10), 259},
        {"\xff\xff", -1},
        {"\x04", 0}, // one byte is no number
    };
    for (const auto& [bytes, number] : cases) {
        WriteBytes(custFile, bytes);
        EXPECT_EQ(ReadCustFile(custFile), number);
    }

    ASSERT_TRUE(WriteCustFile(custFile, 2));
    EXPECT_EQ(FileBytes(custFile), std::string("\x02\x00", 2));
    WriteBytes(custFile, std::string("\x01\x00kept", 6));
    ASSERT_TRUE(WriteCustFile(custFile, 4));
    EXPECT_EQ(FileBytes(custFile), std::string("\x04\x00kept", 6));
    EXPECT_FALSE(WriteCustFile(folder / "missing-folder" / "CustFile", 1));
}

} // namespace
} // namespace telmora
