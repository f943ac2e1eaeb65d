#include "display/data_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace telmora {
namespace {

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct LogFileFixture : ::testing::Test {
    std::filesystem::path folder;
    void SetUp() override {
        folder =
            std::filesystem::temp_directory_path() /
            ("telmora-log-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
};

TEST(LogLine, TimeThenDistanceWithTwoDecimalsAndCrLf) {
    EXPECT_EQ(LogLine({13, 45, 12}, 123.456f), "13:45:12 123.46\r\n");
    EXPECT_EQ(LogLine({7, 5, 9}, 12.3456f), "07:05:09 12.35\r\n");
    EXPECT_EQ(LogLine({0, 0, 0}, 0.0f), "00:00:00 0.00\r\n"); // a lost echo is logged too
    EXPECT_EQ(LogLine({23, 59, 59}, 0.4f), "23:59:59 0.40\r\n");
}

TEST_F(LogFileFixture, TwoReadingsInTheSameSecond_GiveTwoLinesWithTheSameTime) {
    DataLogFile log;
    std::string error;
    const auto path = folder / "run.log";
    ASSERT_TRUE(log.Open(path.string(), error)) << error;
    ASSERT_TRUE(log.Write(LogLine({9, 30, 0}, 10.0f), error));
    ASSERT_TRUE(log.Write(LogLine({9, 30, 0}, 10.5f), error));
    // Each line is in the file as soon as it is written, before the log is closed.
    EXPECT_EQ(Contents(path), "09:30:00 10.00\r\n09:30:00 10.50\r\n");
    EXPECT_TRUE(log.Close(error));
}

TEST_F(LogFileFixture, OpeningAnExistingFile_ReplacesItsContents) {
    const auto path = folder / "old.log";
    std::ofstream(path) << "an earlier run\r\nwith many lines\r\n";
    DataLogFile log;
    std::string error;
    ASSERT_TRUE(log.Open(path.string(), error));
    EXPECT_EQ(Contents(path), "");
    log.Write(LogLine({1, 2, 3}, 4.0f), error);
    log.Close(error);
    EXPECT_EQ(Contents(path), "01:02:03 4.00\r\n");
}

TEST_F(LogFileFixture, FolderThatDoesNotExist_FailsToOpenWithAReason) {
    DataLogFile log;
    std::string error;
    EXPECT_FALSE(log.Open((folder / "missing" / "x.log").string(), error));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_FALSE(error.empty());
}

TEST(LogFile, FullDisk_ReportsTheWriteError) {
    DataLogFile log;
    std::string error;
    ASSERT_TRUE(log.Open("/dev/full", error)) << error;
    EXPECT_FALSE(log.Write(LogLine({1, 2, 3}, 4.0f), error));
    EXPECT_NE(error.find("space"), std::string::npos) << error;
}

TEST_F(LogFileFixture, FileDeletedWhileLogging_ReportsIt) {
    const auto path = folder / "gone.log";
    DataLogFile log;
    std::string error;
    ASSERT_TRUE(log.Open(path.string(), error));
    ASSERT_TRUE(log.Write(LogLine({1, 2, 3}, 4.0f), error));
    std::filesystem::remove(path);
    EXPECT_FALSE(log.Write(LogLine({1, 2, 4}, 4.0f), error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace telmora
