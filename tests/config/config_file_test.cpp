// The configuration file: its byte layout, the load and save commands, and every way a
// file can fail to be read or written.
#include "codec_test_support.h"
#include "config/config_file.h"
#include "config/config_file_commands.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace telmora;
using namespace telmora::testing;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

class ConfigFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "telmora-config-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path path(const std::string& name) const { return folder_ / name; }
    // Each name in the folder: a link's target, "folder", "pipe", or a file's size,
    // permissions and the sum of its bytes.
    std::map<std::string, std::string> listing() const {
        std::map<std::string, std::string> found;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            const fs::path& p = entry.path();
            found[p.filename()] = entry.is_symlink()     ? "-> " + fs::read_symlink(p).string()
                                  : entry.is_directory() ? "folder"
                                  : entry.is_fifo()      ? "pipe"
                                                         : "";
            if (found[p.filename()].empty()) {
                const auto bytes = fileBytes(p);
                char file[64];
                std::snprintf(file, sizeof file, "%zu bytes %03o sum %d", bytes.size(),
                              static_cast<unsigned>(fs::status(p).permissions() & fs::perms::all),
                              std::accumulate(bytes.begin(), bytes.end(), 0));
                found[p.filename()] = file;
            }
        }
        return found;
    }

    fs::path folder_;
};

// Runs `run` as it is, in a folder it cannot write to (as an unprivileged user even under
// root), or while files may grow to 100 bytes only, as on a full disk.
enum class Conditions { AsItIs, WithoutWriteAccess, OnAFullDisk };
FileResult Under(Conditions conditions, const fs::path& folder,
                 const std::function<FileResult()>& run) {
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const bool locked = conditions == Conditions::WithoutWriteAccess;
    if (locked)
        fs::permissions(folder, write, fs::perm_options::remove);
    const bool dropped = locked && ::geteuid() == 0 && ::seteuid(65534) == 0;
    EXPECT_TRUE(!locked || ::geteuid() != 0) << "cannot take an unprivileged user for this check";
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit reduced = saved;
    reduced.rlim_cur = conditions == Conditions::OnAFullDisk ? 100 : saved.rlim_cur;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &reduced);
    const FileResult result = run();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    if (dropped)
        (void)::seteuid(0);
    fs::permissions(folder, write, fs::perm_options::add);
    return result;
}

} // namespace

TEST(ConfigFileFormat, ElementsAreSigned16BitLeastSignificantByteFirst) {
    RegisterImage image{};
    image[0] = 0x12;
    image[1] = 300;
    image[5] = -2;
    image[127] = 255;
    image[128] = 99; // not stored
    const ConfigFileBytes bytes = ImageToFileBytes(image);
    EXPECT_EQ((std::vector<int>{bytes[0], bytes[1], bytes[2], bytes[3], bytes[10], bytes[11],
                                bytes[254], bytes[255]}),
              (std::vector<int>{0x12, 0, 0x2C, 0x01, 0xFE, 0xFF, 255, 0}));
    RegisterImage back;
    back.fill(7);
    FileBytesToImage(bytes, back);
    EXPECT_EQ((std::vector<int>{back[1], back[5], back[127], back[128]}),
              (std::vector<int>{300, -2, 255, 7}));
}

// Loads and saves on every kind of target, as they are, without
// write access and on a full disk: the outcome with its message, what changed in the record
// and the image, and what changed in the folder. A failure names the file and the reason and
// changes nothing: no file made, none left behind, the earlier file whole. keep.cfg holds a
// family B file of 400 bytes, of which a load reads the first 256, and a save replaces it
// through its link, keeping the link and the permissions; element 128 is in no file.
TEST_F(ConfigFile, EveryTargetAndConditionGivesItsOutcome) {
    const std::pair<Conditions, const char*> conditions[] = {
        {Conditions::AsItIs, ""},
        {Conditions::WithoutWriteAccess, " without write access"},
        {Conditions::OnAFullDisk, " on a full disk"}};
    std::string found;
    for (const auto& [conditionsOf, conditionsName] : conditions) {
        for (const std::string operation : {"load", "save"}) {
            for (const char* name :
                 {"keep.cfg", "link", "missing", "short.cfg", "empty.cfg", "folder", "pipe",
                  "dangling", "chain", "to-pipe", "to-device", "nowhere/x"}) {
                fs::remove_all(folder_);
                fs::create_directory(folder_);
                SensorConfig saved = DefaultsB();
                LoadFactoryDefaultsA(saved); // switches 3 and 4 keep their family B values
                saved.Sw3Setpoint = 40;
                saved.CountDistance = kCountDistanceLong; // the encoder chooses it again
                SensorConfig encoded = saved;
                RegisterImage savedImage{};
                EncodeImageB(encoded, savedImage);
                const ConfigFileBytes file = ImageToFileBytes(savedImage);
                std::vector<std::uint8_t> bytes(file.begin(), file.end());
                bytes.resize(400, 0xFF);
                writeBytes(path("keep.cfg"), bytes);
                fs::permissions(path("keep.cfg"), fs::perms(0640));
                writeBytes(path("short.cfg"), std::vector<std::uint8_t>(100, 0));
                writeBytes(path("empty.cfg"), {});
                fs::create_directory(path("folder"));
                ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
                for (const auto& [link, to] : {std::pair{"link", "keep.cfg"},
                                               {"dangling", "missing"},
                                               {"chain", "dangling"},
                                               {"to-pipe", "pipe"},
                                               {"to-device", "/dev/null"}})
                    fs::create_symlink(to, path(link));
                const auto before = listing();
                SensorConfig config = saved;
                RegisterImage image;
                image.fill(5);
                const RegisterImage imageBefore = image;
                const FileResult result = Under(conditionsOf, folder_, [&] {
                    if (operation == "load")
                        return LoadConfigurationFile(path(name), image, config);
                    return SaveConfigurationFile(path(name), config, image);
                });
                std::string message = result.Error;
                if (const auto at = message.find(folder_.string()); at != std::string::npos)
                    message.replace(at, folder_.string().size(), "<dir>");
                found += operation + " " + name + conditionsName + ": " +
                         (result.Ok ? "ok" : "failed: " + message);
                std::string changes = Changes(saved, config);
                std::replace(changes.begin(), changes.end(), '\n', ' ');
                found += (changes == "no change " ? "" : "; record " + changes) +
                         (image == imageBefore ? "" : "; image changed") +
                         (image[128] == 5 ? "" : "; element 128 changed");
                const auto after = listing();
                for (const auto& [entry, kind] : after)
                    if (before.count(entry) == 0 || before.at(entry) != kind)
                        found += "; " + entry + " now " + kind;
                for (const auto& [entry, kind] : before)
                    if (after.count(entry) == 0)
                        found += "; " + entry + " gone";
                found += "\n";
            }
        }
    }
    ExpectGolden("every target and condition", found);
}

// A save killed at any moment leaves the old or the new file whole, and nothing beside it
// once the next save has run (only a kill between naming the complete file and the rename
// leaves one).
TEST_F(ConfigFile, SavesKilledAtRandomMomentsLeaveTheTargetWhole) {
    ConfigFileBytes first{}, second{};
    first.fill(0x11);
    second.fill(0x22);
    ASSERT_TRUE(WriteConfigFile(path("x.cfg"), first).Ok);
    std::mt19937 random(7);
    std::uniform_int_distribution<long> delayNs(0, 3'000'000);
    for (int round = 0; round < 50; ++round) {
        const long delay = delayNs(random);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The child's own clock ends it mid-save, whatever it is doing then: nothing
            // handles the alarm.
            itimerval when{};
            when.it_value.tv_usec = delay / 1000 + 1;
            if (::setitimer(ITIMER_REAL, &when, nullptr) != 0)
                ::_exit(3);
            for (int i = 0;; ++i)
                (void)WriteConfigFile(path("x.cfg"), i % 2 == 0 ? second : first);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) << status;
        const auto bytes = fileBytes(path("x.cfg"));
        ASSERT_TRUE(bytes == std::vector<std::uint8_t>(first.begin(), first.end()) ||
                    bytes == std::vector<std::uint8_t>(second.begin(), second.end()))
            << "round " << round << ": " << bytes.size() << " bytes";
        ASSERT_TRUE(WriteConfigFile(path("x.cfg"), first).Ok);
        ASSERT_EQ(listing().size(), 1u) << "round " << round;
    }
}
