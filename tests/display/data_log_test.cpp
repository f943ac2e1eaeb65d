#include "display/data_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace telmora {
namespace {

// An open file whose name is gone takes writes without complaint; the log must notice.
TEST(LogFile, FileDeletedWhileLogging_ReportsIt) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("telmora-gone-" + std::to_string(::getpid()) + ".log");
    DataLogFile log;
    std::string error;
    ASSERT_TRUE(log.Open(path.string(), error)) << error;
    ASSERT_TRUE(log.Write(LogLine({1, 2, 3}, 4.0f), error));
    std::filesystem::remove(path);
    EXPECT_FALSE(log.Write(LogLine({1, 2, 4}, 4.0f), error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace telmora
