// The port mapping file and "CustFile".

#include "link/cust_file.h"
#include "link/port_map.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace telmora {
namespace {

namespace fs = std::filesystem;

// A fresh folder for one test, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = ::testing::TempDir() + "telmora-link-XXXXXX";
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(PortMap, UnnamedPortsAreTheFirstFourSerialDevices) {
    const PortDevices devices = ParsePortMap("", DefaultPortDevices());
    EXPECT_EQ(devices[0], "/dev/ttyS0");
    EXPECT_EQ(devices[3], "/dev/ttyS3");
}

TEST(PortMap, LinesPointPortsAtDevicesOrAtNothing) {
    const PortDevices devices = ParsePortMap("# bench setup\n"
                                             "1=/dev/ttyUSB0\n"
                                             "  2 = /dev/pts/7   # the simulator\r\n"
                                             "3=none\n"
                                             "4=NONE\n",
                                             DefaultPortDevices());
    EXPECT_EQ(devices[0], "/dev/ttyUSB0");
    EXPECT_EQ(devices[1], "/dev/pts/7");
    EXPECT_EQ(devices[2], "");
    EXPECT_EQ(devices[3], "");
}

TEST(PortMap, LinesThatDoNotFitAreIgnoredAndTheLastLineForAPortWins) {
    const PortDevices devices = ParsePortMap("0=/dev/a\n5=/dev/b\n12=/dev/c\n1\n1=\n=x\n"
                                             "2=/dev/first\n2=/dev/second",
                                             DefaultPortDevices());
    EXPECT_EQ(devices[0], "/dev/ttyS0");
    EXPECT_EQ(devices[1], "/dev/second");
}

TEST(PortMap, FileLivesInTheUsersConfigFolder) {
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/tmp/cfg");
        EXPECT_EQ(PortMapPath(), "/tmp/cfg/telmora/ports");
    }
    {
        ScopedEnv home("HOME", "/home/ann");
        ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(PortMapPath(), "/home/ann/.config/telmora/ports");
        ScopedEnv unset("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(PortMapPath(), "/home/ann/.config/telmora/ports");
    }
}

TEST(PortMap, PortDeviceReadsTheFileEachTime) {
    TempFolder folder;
    ScopedEnv config("XDG_CONFIG_HOME", folder.path().c_str());
    EXPECT_EQ(PortDevice(2), "/dev/ttyS1"); // no file yet

    fs::create_directories(folder.path() / "telmora");
    WriteBytes(folder.path() / "telmora" / "ports", "2=/dev/pts/9\n4=none\n");
    EXPECT_EQ(PortDevice(2), "/dev/pts/9");
    EXPECT_EQ(PortDevice(4), "");
    EXPECT_EQ(PortDevice(0), "");
    EXPECT_EQ(PortDevice(5), "");
}

TEST(CustFile, MissingFileIsCreatedEmptyAndReadsAsNoPort) {
    TempFolder folder;
    const fs::path file = folder.path() / "CustFile";
    EXPECT_EQ(ReadCustFile(file), 0);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), 0u);
}

TEST(CustFile, FirstTwoBytesAreALittleEndianSigned16BitNumber) {
    TempFolder folder;
    const fs::path file = folder.path() / "CustFile";
    WriteBytes(file, std::string("\x02\x00", 2));
    EXPECT_EQ(ReadCustFile(file), 2);
    WriteBytes(file, std::string("\x03\x01trailing", 10));
    EXPECT_EQ(ReadCustFile(file), 259);
    WriteBytes(file, "\xff\xff");
    EXPECT_EQ(ReadCustFile(file), -1);
    WriteBytes(file, "\x04");
    EXPECT_EQ(ReadCustFile(file), 0); // one byte is no number
}

TEST(CustFile, WritingReplacesTheFirstTwoBytesAndKeepsTheRest) {
    TempFolder folder;
    const fs::path file = folder.path() / "CustFile";
    ASSERT_TRUE(WriteCustFile(file, 2));
    EXPECT_EQ(FileBytes(file), std::string("\x02\x00", 2));

    WriteBytes(file, std::string("\x01\x00kept", 6));
    ASSERT_TRUE(WriteCustFile(file, 4));
    EXPECT_EQ(FileBytes(file), std::string("\x04\x00kept", 6));
}

TEST(CustFile, UnwritableFileIsReported) {
    TempFolder folder;
    EXPECT_FALSE(WriteCustFile(folder.path() / "missing-folder" / "CustFile", 1));
}

} // namespace
} // namespace telmora
