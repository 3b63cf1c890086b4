#include "res/strtable.h"

#include <string>

#include "tests/res/res_fixture.h"

namespace {

class StringTableTest : public ResTest {
protected:
    // Builds a table from a file with the header line and then `body`.
    std::unique_ptr<tideStringTable> Table(const std::string& body,
                                           const std::string& header = "[TIDESTRINGTABLE]\n") {
        eng.WriteFile("st.txt", header + body);
        eng.hl->ClearLog();
        return std::make_unique<tideStringTable>("st.txt");
    }
    static int Entries(const tideStringTable& st) {
        int n = 0;
        for (NamedString* s = st.strings; s; s = s->next) ++n;
        return n;
    }
};

TEST_F(StringTableTest, LooksUpNamesExactly) {
    auto st = Table("greeting = \"Hi\"\n; a comment = \"no\"\ntitle=\"Main; menu\" two=\"2\"");
    EXPECT_STREQ(st->GetString("greeting"), "Hi");
    EXPECT_EQ(st->GetString("Greeting"), nullptr);
    EXPECT_EQ(st->GetString("a"), nullptr);
    EXPECT_STREQ(st->GetString("title"), "Main; menu");
    EXPECT_STREQ(st->GetString("two"), "2");
    EXPECT_EQ(Entries(*st), 3);
    EXPECT_EQ(LogSize(), 0u);
}

TEST_F(StringTableTest, LaterDuplicateWins) {
    auto st = Table("a = \"first\"\na = \"second\"\n");
    EXPECT_STREQ(st->GetString("a"), "second");
    EXPECT_EQ(Entries(*st), 2);
}

TEST_F(StringTableTest, EscapesAndWrappedLines) {
    auto st = Table(
        "esc = \"a\\nb \\\"q\\\" back\\\\slash \\x\"\n"
        "wrapped = \"first part   \r\n"
        "      second part\n"
        "\n"
        "\tthird\"\n"
        "keepbreak = \"line one\\n\n"
        "    line two\"\n");
    EXPECT_STREQ(st->GetString("esc"), "a\nb \"q\" back\\slash x");
    EXPECT_STREQ(st->GetString("wrapped"), "first part second part third");
    EXPECT_STREQ(st->GetString("keepbreak"), "line one\n line two");
}

TEST_F(StringTableTest, HeaderMayEndWithCrLf) {
    auto st = Table("x = \"1\"", "[TIDESTRINGTABLE]\r\n");
    EXPECT_STREQ(st->GetString("x"), "1");
}

// A file's long name is stored cut, as it always was; a lookup by a name
// longer than the field is refused, so it cannot alias the cut entry.
TEST_F(StringTableTest, LongNamesAndTextsAreCut) {
    std::string name(70, 'n');
    std::string text(9000, 't');
    auto st = Table(name + " = \"v\"\nbig = \"" + text + "\"\nafter = \"ok\"");
    EXPECT_STREQ(st->GetString(std::string(63, 'n').c_str()), "v");
    EXPECT_EQ(std::string(st->GetString("big")), std::string(8191, 't'));
    EXPECT_STREQ(st->GetString("after"), "ok");
    EXPECT_EQ(LogSize(), 0u);
    EXPECT_EQ(st->GetString(name.c_str()), nullptr);
    EXPECT_EQ(st->GetString(std::string(64, 'n').c_str()), nullptr);
    EXPECT_TRUE(Logged("String name '" + std::string(63, 'n') +
                       "...' is longer than 63 characters."));
    EXPECT_EQ(LogSize(), 2u);
}

TEST_F(StringTableTest, FormatErrorsKeepEarlierEntries) {
    auto st = Table("one = \"1\"\ntwo \"2\"\nthree = \"3\"\n");
    EXPECT_STREQ(st->GetString("one"), "1");
    EXPECT_EQ(st->GetString("three"), nullptr);
    EXPECT_TRUE(Logged("String table st.txt has incorrect format."));
    EXPECT_EQ(LogSize(), 1u);

    auto noquote = Table("one = \"1\" two = 2\n");
    EXPECT_EQ(Entries(*noquote), 1);
    EXPECT_TRUE(Logged("String table st.txt has incorrect format."));
}

TEST_F(StringTableTest, BadHeaderGivesEmptyTable) {
    for (const char* header : {"[TIDESTRINGTABL]\n", "", "[tidestringtable]\n"}) {
        auto st = Table("a = \"1\"\n", header);
        EXPECT_EQ(st->strings, nullptr) << header;
        EXPECT_TRUE(Logged("String table st.txt has incorrect format.")) << header;
    }
}

TEST_F(StringTableTest, TruncatedFilesEndQuietly) {
    auto unterminated = Table("a = \"cut off");
    EXPECT_STREQ(unterminated->GetString("a"), "cut off");
    auto backslash = Table("a = \"end\\");
    EXPECT_STREQ(backslash->GetString("a"), "end");
    auto nameonly = Table("a = \"1\"\nlonely");
    EXPECT_EQ(Entries(*nameonly), 1);
    EXPECT_EQ(LogSize(), 0u);
    auto headeronly = Table("", "[TIDESTRINGTABLE]");
    EXPECT_EQ(headeronly->strings, nullptr);
}

TEST_F(StringTableTest, MissingFileIsSilentAndEmpty) {
    eng.hl->ClearLog();
    tideStringTable st("nothing.txt");
    EXPECT_EQ(st.strings, nullptr);
    EXPECT_EQ(st.GetString("a"), nullptr);
    EXPECT_EQ(LogSize(), 0u);
}

}  // namespace
