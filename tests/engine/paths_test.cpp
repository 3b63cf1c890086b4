#include <gtest/gtest.h>

#include "engine/paths.h"
#include "tests/support/test_support.h"

namespace {

class Paths : public ::testing::Test {
protected:
    HeadlessEngine e;
};

TEST_F(Paths, BackSlashesAndAnyCaseFindTheFile) {
    e.WriteFile("res/allres.txt", "x");
    e.WriteFile("Res2/Sub/Level1.TXT", "y");
    EXPECT_EQ(tideResolvePath(e.dir, "Res\\allres.txt", false), e.dir + "/res/allres.txt");
    EXPECT_EQ(tideResolvePath(e.dir, "RES/ALLRES.TXT", false), e.dir + "/res/allres.txt");
    EXPECT_EQ(tideResolvePath(e.dir, "res2\\sub\\level1.txt", false), e.dir + "/Res2/Sub/Level1.TXT");
    EXPECT_EQ(tideResolvePath(e.dir, ".\\res\\\\allres.txt", false), e.dir + "/res/allres.txt");
    EXPECT_EQ(tideResolvePath(e.dir, "res\\missing.txt", false), "");
    EXPECT_EQ(tideResolvePath(e.dir, "nores\\allres.txt", false), "");
    EXPECT_EQ(tideResolvePath(e.dir, "", false), "");
}

TEST_F(Paths, AFileToCreateKeepsItsNameInTheExistingFolder) {
    e.WriteFile("res/a.txt", "x");
    EXPECT_EQ(tideResolvePath(e.dir, "Res\\New.txt", true), e.dir + "/res/New.txt");
    EXPECT_EQ(tideResolvePath(e.dir, "Res\\A.TXT", true), e.dir + "/res/a.txt");
    EXPECT_EQ(tideResolvePath(e.dir, "nofolder\\New.txt", true), "");
}

TEST_F(Paths, ResourceLoadReadsWholeFilesAndLogsMissingOnes) {
    e.WriteFile("res/data.bin", std::string("ab\0cd", 5));
    DWORD size = 0;
    char* d = static_cast<char*>(e.tide->Resource_Load("Res\\DATA.bin", &size));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::string(d, 5), std::string("ab\0cd", 5));
    EXPECT_EQ(d[5], 0); // NUL-padded for text parsers
    e.tide->Resource_Free(d);

    EXPECT_EQ(e.tide->Resource_Load("res\\nothing.txt", &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(e.LogHas("res\\nothing.txt"));
    EXPECT_EQ(e.tide->Resource_Load("res", &size), nullptr); // a folder is no file
}

TEST(DataFolder, TheFirstPlaceHoldingAResFolderWins) {
    std::string dir = MakeTempDir();
    ASSERT_EQ(system(("mkdir -p " + dir + "/a " + dir + "/b/RES " + dir + "/c/res").c_str()), 0);
    EXPECT_EQ(tidePickDataPath({dir + "/a", dir + "/b", dir + "/c"}), dir + "/b");
    EXPECT_EQ(tidePickDataPath({dir + "/missing", dir + "/c"}), dir + "/c");
    ASSERT_EQ(system(("rm -rf " + dir).c_str()), 0);
}

TEST(DataFolder, BesideTheExecutableComesFirstAndTheWorkingDirectoryLast) {
    std::vector<std::string> c = tideDataPathCandidates("/usr/share/thalomir");
    ASSERT_GE(c.size(), 4u);
    EXPECT_EQ(c[0].substr(c[0].size() - 5), "/data");
    EXPECT_EQ(c[c.size() - 3], "/usr/share/thalomir");
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    EXPECT_EQ(c.back(), std::string(here));
}

}  // namespace

namespace {

TEST_F(Paths, MemoryFilesAreReadBeforeTheDataFolder) {
    e.WriteFile("res/a.txt", "disk");
    e.hl->SetMemoryFile("Res\\A.TXT", "memory");
    e.hl->SetMemoryFile("res/only.txt", std::string("x\0y", 3));
    DWORD size = 0;
    char* d = static_cast<char*>(e.tide->Resource_Load("res/a.txt", &size));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(std::string(d, size), "memory");
    e.tide->Resource_Free(d);
    d = static_cast<char*>(e.tide->Resource_Load(".\\RES\\\\only.txt", &size));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(std::string(d, size), std::string("x\0y", 3));
    e.tide->Resource_Free(d);
    e.hl->ClearMemoryFiles();
    d = static_cast<char*>(e.tide->Resource_Load("res/a.txt", &size));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(std::string(d, size), "disk");
    e.tide->Resource_Free(d);
}

}  // namespace
