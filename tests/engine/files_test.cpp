// The file layer against what a hostile or unlucky machine puts in its way:
// saves overlapping, links and FIFOs where files should be, devices, modes,
// a step of a save failing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "engine/files.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTempDir(); }
    void TearDown() override {
        tideSaveHook = nullptr;
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // Windows removes no read-only file: it is made writable first.
    static void Remove(const std::string& path) {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove(path, ec);
    }
    std::string Read(const std::string& path) {
        std::string text;
        tideReadFile(path, text);
        return text;
    }
    // Everything in the folder but `keep`: what a save must not leave behind.
    std::vector<std::string> Others(std::initializer_list<std::string> keep) {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) {
            std::string name = e.path().filename().string();
            if (std::find(keep.begin(), keep.end(), name) == keep.end()) out.push_back(name);
        }
        return out;
    }
    unsigned Mode(const std::string& path) {
        std::error_code ec;
        return unsigned(fs::status(path, ec).permissions() & fs::perms::mask);
    }
    // A mode as the file system keeps it: Windows keeps one bit, read-only or not.
    static unsigned Kept(unsigned mode) {
#ifdef _WIN32
        return mode & 0200 ? 0666 : 0444;
#else
        return mode;
#endif
    }
    std::string dir;
};

// A second save made while the first one is paused at each of its steps:
// both succeed, and the file is always one of them whole.
TEST_F(Files, ASaveMadeWhileAnotherIsUnderWayTearsNeither) {
    const std::string path = dir + "/progress.txt";
    const std::string first(5000, 'a'), second = "maxlvl=3\nwon=2\n";
    for (tideSaveStep pause : {tideSaveStep::TempCreated, tideSaveStep::BeforeRename}) {
        SCOPED_TRACE(int(pause));
        bool secondSaved = false;
        tideSaveHook = [&](tideSaveStep step, const std::string&) {
            if (step != pause || secondSaved) return;
            secondSaved = true;
            EXPECT_TRUE(tideWriteFileAtomic(path, second));
            EXPECT_EQ(Read(path), second);
        };
        tideFileStatus st = tideWriteFileAtomic(path, first);
        EXPECT_TRUE(st) << st.why;
        EXPECT_TRUE(secondSaved);
        EXPECT_EQ(Read(path), first) << "the save that renamed last holds the file whole";
        EXPECT_EQ(Others({"progress.txt"}), std::vector<std::string>{});
    }
}

TEST_F(Files, ALinkWhereATemporaryFileMightGoIsNeverFollowed) {
#ifdef _WIN32
    GTEST_SKIP() << "Wine makes no symbolic links (CreateFileW's CREATE_NEW follows none)";
#endif
    const std::string path = dir + "/progress.txt", victim = dir + "/victim";
    std::ofstream(victim) << "precious";
    // The names a save's temporary file could have had before.
    for (const char* tmp : {"/progress.txt.tmp", "/progress.txt.new", "/.progress.txt.tmp"})
        fs::create_symlink(victim, dir + tmp);
    ASSERT_TRUE(tideWriteFileAtomic(path, "saved"));
    EXPECT_EQ(Read(victim), "precious");
    EXPECT_EQ(Read(path), "saved");
    EXPECT_FALSE(fs::is_symlink(path));
}

// A user who keeps the file elsewhere through a link keeps the link; the
// file it names is replaced, as editors and most programs do.
TEST_F(Files, ALinkedFileIsReplacedWhereItLives) {
#ifdef _WIN32
    GTEST_SKIP() << "Wine makes no symbolic links";
#endif
    fs::create_directory(dir + "/elsewhere");
    const std::string target = dir + "/elsewhere/progress.txt", path = dir + "/progress.txt";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms(0640));
    fs::create_symlink("elsewhere/progress.txt", path);
    ASSERT_TRUE(tideWriteFileAtomic(path, "new"));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(Mode(target), 0640u);
    EXPECT_EQ(Others({"progress.txt", "elsewhere"}), std::vector<std::string>{});
}

TEST_F(Files, AFileKeepsItsModeANewOneIsTheUsersAloneAReadOnlyOneIsLeftAlone) {
    struct Case {
        int before;  // -1: no file
        unsigned after;
        bool written;
    };
    const Case cases[] = {{-1, 0600, true}, {0600, 0600, true}, {0640, 0640, true},
                          {0664, 0664, true}, {0444, 0444, false}, {0400, 0400, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        const std::string path = dir + "/config.txt";
        Remove(path);
        if (c.before >= 0) {
            std::ofstream(path) << "old";
            fs::permissions(path, fs::perms(c.before));
        }
        tideFileStatus st = tideWriteFileAtomic(path, "new");
        EXPECT_EQ(bool(st), c.written) << st.why;
        EXPECT_EQ(Read(path), c.written ? "new" : "old");
        EXPECT_EQ(Mode(path), Kept(c.after));
        if (!c.written) {
            EXPECT_NE(st.why.find("read-only"), std::string::npos) << st.why;
        }
        EXPECT_EQ(Others({"config.txt"}), std::vector<std::string>{});
    }
    Remove(dir + "/config.txt");
}

// Names in UTF-8 whatever the system: a user called Jürgen keeps his files.
TEST_F(Files, ANameOutsideAsciiIsFoundListedAndRemoved) {
    const std::string name = "J\u00fcrgen \u00d1and\u00fa.txt";
    const std::string path = dir + "/" + name;
    ASSERT_TRUE(tideWriteFileAtomic(path, "x"));
    EXPECT_TRUE(tideExists(path));
    EXPECT_EQ(tideListFolder(dir), std::vector<std::string>{name});
    EXPECT_TRUE(tideRemoveFile(path));
    EXPECT_FALSE(tideExists(path));
    EXPECT_TRUE(tideRemoveFile(path).Missing());
    EXPECT_EQ(tideListFolder(dir + "/none"), std::vector<std::string>{});
}

// A step failing after the temporary file is written: the failure is
// reported, the temporary file removed, the old file kept whole.
TEST_F(Files, ASaveThatFailsSaysSoAndLeavesTheOldFileWhole) {
    const std::string path = dir + "/config.txt";
    ASSERT_TRUE(tideWriteFileAtomic(path, "old"));
    // The rename cannot replace a folder that is not empty.
    const std::string folder = dir + "/battle.txt";
    fs::create_directories(folder + "/inside");
    tideFileStatus st = tideWriteFileAtomic(folder, "x");
    EXPECT_FALSE(st);
    EXPECT_NE(st.why.find("battle.txt"), std::string::npos) << st.why;

    tideSaveHook = [&](tideSaveStep step, const std::string&) {
        if (step != tideSaveStep::BeforeRename) return;
        // The target turns into a folder just before the rename.
        fs::remove(path);
        fs::create_directories(path + "/inside");
    };
    st = tideWriteFileAtomic(path, "new");
    EXPECT_FALSE(st);
    EXPECT_NE(st.why.find("config.txt"), std::string::npos) << st.why;
    EXPECT_EQ(Others({"config.txt", "battle.txt"}), std::vector<std::string>{}) << "no temporary file left";
}

// Contents written piece by piece as they are made: whole when the maker
// succeeds; when it gives up halfway, the old file stays and nothing is left.
TEST_F(Files, AStreamedSaveIsWholeOrNotAtAll) {
    const std::string path = dir + "/shot.png";
    ASSERT_TRUE(tideWriteFileAtomic(path, [](const tideFileSink& out) { return out("new ", 4) && out("picture", 7); }));
    std::string text;
    ASSERT_TRUE(tideReadFile(path, text));
    EXPECT_EQ(text, "new picture");
    tideFileStatus st = tideWriteFileAtomic(path, [](const tideFileSink& out) { return out("half", 4) && false; });
    EXPECT_FALSE(st);
    EXPECT_NE(st.why.find("shot.png"), std::string::npos) << st.why;
    ASSERT_TRUE(tideReadFile(path, text));
    EXPECT_EQ(text, "new picture");
    EXPECT_EQ(Others({"shot.png"}), std::vector<std::string>{}) << "no temporary file left";
}

TEST_F(Files, OnlyRegularFilesAreReadAndNoneBeyondItsCap) {
    fs::create_directory(dir + "/folder");
    std::ofstream(dir + "/big") << std::string(2000, 'x');
    struct Case {
        std::string path;
        std::size_t cap;
        const char* why;  // nullptr: read
    };
    const Case cases[] = {
#ifdef _WIN32
        // Device names, in any folder and with any extension.
        {"NUL", kTideTextCap, "not a regular file"},
        {dir + "/con.txt", kTideTextCap, "not a regular file"},
        {dir + "/Com1", kTideTextCap, "not a regular file"},
#else
        // A FIFO that would block forever, were it opened to wait for a writer.
        {dir + "/fifo", kTideTextCap, "not a regular file"},
        {"/dev/zero", kTideTextCap, "not a regular file"},
        {"/dev/null", kTideTextCap, "not a regular file"},
        // Reports no size, yet reads on: held to the cap all the same.
        {"/proc/self/maps", 16, "larger than"},
#endif
        {dir + "/folder", kTideTextCap, "folder"},
        {dir + "/big", 1000, "larger than"},
        {dir + "/big", 2000, nullptr},
    };
#ifndef _WIN32
    alarm(20);
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string out = "stale";
        tideFileStatus st = tideReadFile(c.path, out, c.cap);
        EXPECT_EQ(bool(st), c.why == nullptr) << st.why;
        if (c.why) {
            EXPECT_NE(st.why.find(c.why), std::string::npos) << st.why;
            EXPECT_NE(st.why.find(c.path), std::string::npos) << st.why;
            EXPECT_EQ(out, "");
        } else {
            EXPECT_EQ(out.size(), 2000u);
        }
    }
    std::string none;
    EXPECT_TRUE(tideReadFile(dir + "/none", none).Missing());
#ifndef _WIN32
    alarm(0);
#endif
}

// While one game holds the lock, no other can take it; the one that waited
// reads what the first one wrote.
TEST_F(Files, UpdatesUnderTheLockFollowOneAnother) {
    const std::string path = dir + "/progress.txt";
    std::thread other;
    bool excluded = false;
    tideSaveHook = [&](tideSaveStep step, const std::string&) {
        if (step != tideSaveStep::Locked || other.joinable()) return;
        excluded = LockIsHeld(path + ".lock");
        other = std::thread([&] {
            tideUpdateFile(path, kTideTextCap, [](std::string& text, bool exists) {
                EXPECT_TRUE(exists);
                text += "B";
                return true;
            });
        });
    };
    tideFileStatus st = tideUpdateFile(path, kTideTextCap, [](std::string& text, bool exists) {
        EXPECT_FALSE(exists);
        text += "A";
        return true;
    });
    ASSERT_TRUE(other.joinable());
    other.join();
    EXPECT_TRUE(st) << st.why;
    EXPECT_TRUE(excluded);
    EXPECT_EQ(Read(path), "AB");
}

TEST_F(Files, AnUpdateLeavesAFileItCannotReadAlone) {
    const std::string path = dir + "/config.txt";
    std::ofstream(path) << std::string(3000, 'x');
    bool changed = false;
    tideFileStatus st = tideUpdateFile(path, 1000, [&](std::string&, bool) { return changed = true; });
    EXPECT_FALSE(st);
    EXPECT_FALSE(changed);
    EXPECT_EQ(Read(path).size(), 3000u);
}

// A second browser tab of the game: nothing under the user's folders is
// written, locked or moved, and each refusal says why.
TEST_F(Files, WritesRefusedUnderAFolderLeaveItUntouched) {
    const std::string path = dir + "/progress.txt";
    ASSERT_TRUE(tideWriteFileAtomic(path, "old"));
    tideRefuseWritesUnder(dir, "the game is open in another tab");
    std::string kept;
    for (tideFileStatus st : {tideWriteFileAtomic(path, "new"),
                              tideUpdateFile(path, kTideTextCap, [](std::string&, bool) { return true; }),
                              tideKeepAside(path, kept)}) {
        EXPECT_FALSE(st);
        EXPECT_NE(st.why.find("open in another tab"), std::string::npos) << st.why;
    }
    EXPECT_TRUE(tideWriteFileAtomic(dir + "x/other.txt", "x").err != EROFS) << "only under that folder";
    tideRefuseWritesUnder(dir, "");
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Others({"progress.txt"}), std::vector<std::string>{});
    EXPECT_TRUE(tideWriteFileAtomic(path, "new"));
}

}  // namespace
