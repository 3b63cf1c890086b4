// Crash-safe configuration: a process that saves the options over and over
// is killed (SIGKILL) at random moments, many times. Afterwards the file must
// always be whole: every section and unit value of the shipped file, and each
// option holding one of the two values the saves alternate between.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "engine/ini.h"
#include "engine/paths.h"
#include "tests/hardening/scratch_data.h"
#include "tests/support/child_process.h"
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

// The saver, a child process running this program's disabled test below on
// the folder in this variable.
const char* const kSaverDir = "THALOMIR_SAVER_DIR";
const char* const kSaverReady = "saver: saved once";  // a line of its own
const unsigned kSaverSeconds = 60;

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

// The child: saves the options as the options screen does, one key at a
// time, the two sets in turn, until it is killed. It says when a whole save
// has been made.
TEST(CrashSafeConfiguration, DISABLED_SaveForever) {
    const char* dir = std::getenv(kSaverDir);
    ASSERT_NE(dir, nullptr);
    HeadlessEngine eng(dir);
    eng.tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
    for (unsigned n = 0;; ++n) {
        const int* set = kValues[n % 2];
        for (int k = 0; k < 3; ++k) eng.tide->Ini_SetInt("options", kOptions[k], set[k]);
        if (n == 0) {
            std::printf("%s\n", kSaverReady);
            std::fflush(stdout);
        }
    }
}

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

    SetEnv(kSaverDir, data.dir.c_str());
    std::mt19937 rng(20240607);
    int secondSet = 0, insideWrite = 0;
    for (int i = 0; i < kKills; ++i) {
        ChildProcess saver;
        ASSERT_TRUE(saver.Start(TestProgram(), OneTest("CrashSafeConfiguration.DISABLED_SaveForever"),
                                kSaverSeconds));
        while (saver.out.find(kSaverReady) == std::string::npos && !saver.Read(1).empty()) {
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 20000));
        const bool running = saver.Kill();
        saver.Wait();
        ASSERT_NE(saver.out.find(kSaverReady), std::string::npos)
            << "the saver stopped before its first save: " << saver.how << "\n" << saver.out;
        ASSERT_TRUE(running) << "kill " << i << ": the saver ended by itself: " << saver.how;

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
