// Saves that survive a crash: a child process is killed (SIGKILL) at random moments while it
// saves over an existing file, many times. The file on disk is always the complete old or the
// complete new version, for the model file, the collection file and the settings file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>

#include "foundation/u_param.h"
#include "foundation/u_savetemp.h"
#include "foundation/u_text.h"
#include "kx_test_support.h"
#include "model/u_modelfile.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

/// A model file of `count` parts; `shift` moves every part, so two versions differ throughout.
std::vector<std::string> ModelLines(int count, double shift) {
    TModelFile file;
    for (int i = 0; i < count; ++i) {
        TPartRecord p;
        p.StoredName = "F31010_" + IntToStr(i + 1);
        p.XPos = 15.0 * (i % 100) + shift;
        p.ZPos = 15.0 * (i / 100);
        p.YUp = 1;
        p.ZDir = 1;
        p.Color = 255;
        file.Parts.push_back(p);
    }
    return ModelFileLines(file);
}

std::vector<std::string> CollectionFileLines(int count, int total) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back(IntToStr(30000 + i) + "#" + IntToStr(total));
    }
    return lines;
}

struct TSaveCase {
    const char* Name;
    fs::path File;
    /// Saves the old (false) or the new (true) version over the file; runs in the child too.
    std::function<void(bool)> Save;
};

struct TKillCount {
    int Kills = 0;   ///< children killed before they finished
    int Intact = 0;  ///< rounds after which the file was the whole old or new version
    int Rounds = 0;
};

TKillCount KillWhileSaving(const TSaveCase& c, int rounds, std::mt19937& random) {
    c.Save(true);
    const std::string newBytes = kxtest::ReadFile(c.File);
    const auto start = std::chrono::steady_clock::now();
    c.Save(false);
    const auto once = std::chrono::steady_clock::now() - start;
    const std::string oldBytes = kxtest::ReadFile(c.File);
    EXPECT_NE(oldBytes, newBytes);
    // Most kills land inside the save; a few after it, where the new file must be whole.
    const auto window = std::chrono::duration_cast<std::chrono::microseconds>(once).count();
    std::uniform_int_distribution<long> delay(0, window + window / 5 + 1);

    TKillCount count;
    for (int r = 0; r < rounds; ++r) {
        const pid_t child = ::fork();
        if (child == 0) {
            c.Save(true);
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ++count.Rounds;
        count.Kills += WIFSIGNALED(status) ? 1 : 0;
        const std::string now = kxtest::ReadFile(c.File);
        count.Intact += (now == oldBytes || now == newBytes) ? 1 : 0;
        if (now != oldBytes) {
            c.Save(false);
        }
    }
    return count;
}

}  // namespace

TEST(SaveKill, FilesAreAlwaysWholeWhenTheSavingProcessIsKilled) {
    kxtest::TTempDir dir;
    const auto oldModel = ModelLines(10000, 0), newModel = ModelLines(10000, 7.5);
    const auto oldCollection = CollectionFileLines(5000, 1),
               newCollection = CollectionFileLines(5000, 2);
    TkxParam settings({}, dir.Path() / "config", dir.Path() / "system");
    const std::string longPath(4000, 'p');
    const std::vector<TSaveCase> cases = {
        {"model", dir.Path() / "modell.kxm",
         [&](bool v) {
             ASSERT_TRUE(WriteTextFile(dir.Path() / "modell.kxm", v ? newModel : oldModel));
         }},
        {"collection", dir.Path() / "sammlung.kxc",
         [&](bool v) {
             ASSERT_TRUE(
                 WriteTextFile(dir.Path() / "sammlung.kxc", v ? newCollection : oldCollection));
         }},
        {"settings", dir.Path() / "config" / "settings.ini",
         [&](bool v) {
             settings.SetLastCollectionFile(v ? "/neu/" + longPath : "/alt/" + longPath);
         }},
    };
    std::mt19937 random(20261209);
    for (const TSaveCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TKillCount count = KillWhileSaving(c, 40, random);
        std::printf("%s: %d rounds, %d killed while saving, %d files intact\n", c.Name,
                    count.Rounds, count.Kills, count.Intact);
        EXPECT_EQ(count.Intact, count.Rounds);
        // How many kills land inside the save depends on the machine's load; some always do.
        EXPECT_GT(count.Kills, 0);
        // The temporary files of the killed saves go with the next save of the file.
        c.Save(true);
        c.Save(false);
        int leftovers = 0;
        for (const auto& e : fs::directory_iterator(c.File.parent_path())) {
            leftovers += SaveTempOwner(e.path().filename().string()) != 0 ? 1 : 0;
        }
        EXPECT_EQ(leftovers, 0);
    }
}
