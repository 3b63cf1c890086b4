// Crash-safe configuration: a process that saves the options over and over
// is killed (SIGKILL) at random moments, many times. Afterwards the file must
// always be whole: every section and unit value of the shipped file, and each
// option holding one of the two values the saves alternate between.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "engine/ini.h"
#include "engine/paths.h"
#include "tests/hardening/scratch_data.h"
#include "tests/support/test_support.h"

namespace {

const int kKills = 200;
const char* const kOptions[] = {"music", "sound", "speed"};
// The two sets of option values the saver alternates between.
const int kValues[2][3] = {{10, 20, 30}, {71, 82, 93}};

std::string ReadText(const std::string& path) {
    std::string text;
    tideReadFile(path, text);
    return text;
}

// The child: saves the options as the options screen does, one key at a
// time, the two sets in turn, until it is killed. The first byte on `ready`
// tells the parent a whole save has been made.
[[noreturn]] void SaveForever(const std::string& dir, int ready) {
    HeadlessEngine eng(dir);
    eng.tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
    for (unsigned n = 0;; ++n) {
        const int* set = kValues[n % 2];
        for (int k = 0; k < 3; ++k) eng.tide->Ini_SetInt("options", kOptions[k], set[k]);
        if (n == 0 && write(ready, "!", 1) != 1) _exit(3);
    }
}

// Why `text` is not a whole configuration based on `original`, or "".
std::string Fault(const std::string& original, const std::string& text) {
    if (text.empty()) return "the file is empty";
    // The file must be the original with the options set to what it holds:
    // nothing lost, nothing cut short, nothing added.
    std::string rebuilt = original;
    for (int k = 0; k < 3; ++k) {
        std::string v;
        if (!tideIni::Get(text, "options", kOptions[k], v)) return std::string("no ") + kOptions[k];
        int value = tideIni::ToInt(v);
        if (value != kValues[0][k] && value != kValues[1][k])
            return std::string(kOptions[k]) + " is " + v + ", neither value saved";
        rebuilt = tideIni::Set(rebuilt, "options", kOptions[k], v);
    }
    return text == rebuilt ? "" : "the file differs from the shipped one beyond the options";
}

// How many temporary files of writes cut short lie next to the configuration.
int Leftovers(const std::string& dir) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        std::string name = e.path().filename().string();
        if (name.rfind("config.txt", 0) == 0 && name != "config.txt" && name != "config.txt.lock") ++n;
    }
    return n;
}

}  // namespace

TEST(CrashSafeConfiguration, KilledWhileSavingLeavesAWholeFile) {
    ScratchData data;
    const std::string path = data.dir + "/res/config.txt";
    // Start from the first set, so every key holds one of the two values.
    std::string original = ReadText(path);
    for (int k = 0; k < 3; ++k)
        original = tideIni::Set(original, "options", kOptions[k], std::to_string(kValues[0][k]));
    data.Replace("config.txt", original);
    std::string range;
    ASSERT_TRUE(tideIni::Get(original, "paul", "range", range)) << "not the shipped configuration";

    std::mt19937 rng(20240607);
    int secondSet = 0, insideWrite = 0;
    for (int i = 0; i < kKills; ++i) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            SaveForever(data.dir, fds[1]);
        }
        close(fds[1]);
        char c = 0;
        bool saved = read(fds[0], &c, 1) == 1;
        close(fds[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 20000));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(saved) << "the saver stopped before its first save, status " << status;
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "kill " << i << ": the saver ended by itself, status " << status;

        std::string text = ReadText(path);
        ASSERT_EQ(Fault(original, text), "") << "after kill " << i << ":\n" << text;
        secondSet += text != original;
        // The next save clears a cut-short write's temporary file: they never pile up.
        int left = Leftovers(data.dir + "/res");
        ASSERT_LE(left, 1) << "after kill " << i;
        insideWrite += left;
    }
    std::printf("%d kills: %d with a save of the second set on disk, %d inside a write\n", kKills,
                secondSet, insideWrite);
    // The kills fell all through the saving: after saves of either set, and
    // inside the writing of the file itself (its temporary file left behind).
    EXPECT_GT(secondSet, 0);
    EXPECT_LT(secondSet, kKills);
    EXPECT_GT(insideWrite, 0);
}
