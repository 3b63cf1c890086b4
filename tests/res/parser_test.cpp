#include "res/parser.h"

#include <string>
#include <utility>
#include <vector>

#include "tests/res/res_fixture.h"

namespace {

typedef std::vector<std::pair<int, std::string>> Tokens;

Tokens Tokenize(const char* text) {
    RScriptParser sp("t.txt", text);
    Tokens out;
    while (sp.get_token() != TOKEN_END) out.emplace_back(sp.tokentype, sp.tkn_string());
    return out;
}

class ParserTest : public ResTest {};

TEST_F(ParserTest, EmptyTextEndsAtOnceAndShowsEofInErrors) {
    RScriptParser sp("empty.txt", "");
    EXPECT_EQ(sp.tokentype, TOKEN_NONE);
    EXPECT_EQ(sp.get_token(), TOKEN_END);
    EXPECT_STREQ(sp.tkn_string(), "");
    EXPECT_EQ(sp.get_token(), TOKEN_END);
    sp.put_back();
    EXPECT_EQ(sp.get_token(), TOKEN_END);
    sp.ScriptPostError("Unsupported value ", ".");
    EXPECT_TRUE(Logged("empty.txt, line 1: Unsupported value '<EOF>'."));
}

TEST_F(ParserTest, ErrorLineNamesScriptLineAndToken) {
    RScriptParser sp("Res\\allres.txt", "\n\n\n\n\n\n\n\n\n\n\nFOO");
    sp.get_token();
    sp.ScriptPostError("Unsupported value ", ".");
    EXPECT_TRUE(Logged("Res\\allres.txt, line 12: Unsupported value 'FOO'."));
}

TEST_F(ParserTest, CommentsAreSkippedAndLinesCounted) {
    RScriptParser sp("t.txt", "; a comment line\r\nSprite");
    EXPECT_EQ(sp.get_token(), TOKEN_RES_SPRITE);
    EXPECT_EQ(sp.get_line(), 2);
    EXPECT_EQ(Tokenize("name;x"), (Tokens{{TOKEN_STRING, "name;x"}}));
    EXPECT_EQ(Tokenize("a ;rest = 1\nb"), (Tokens{{TOKEN_STRING, "a"}, {TOKEN_STRING, "b"}}));
}

TEST_F(ParserTest, KeywordsMatchAsPrefixesWithoutWordBoundary) {
    EXPECT_EQ(Tokenize("Texture1"), (Tokens{{TOKEN_RES_TEXTURE, "Texture"}, {TOKEN_NUMBER, "1"}}));
    EXPECT_EQ(Tokenize("spriteName"),
              (Tokens{{TOKEN_PAR_SPRITE, "sprite"}, {TOKEN_STRING, "Name"}}));
    EXPECT_EQ(Tokenize("trueColor"), (Tokens{{TOKEN_BOOL, "true"}, {TOKEN_STRING, "Color"}}));
    EXPECT_EQ(Tokenize("sprites"), (Tokens{{TOKEN_PAR_SPRITE, "sprite"}, {TOKEN_STRING, "s"}}));
    EXPECT_EQ(Tokenize("tex1 Sprit"), (Tokens{{TOKEN_STRING, "tex1"}, {TOKEN_STRING, "Sprit"}}));
    EXPECT_EQ(Tokenize("ALPHABLEND ALPHAADD ALPHA"), (Tokens{{TOKEN_VAL_ALPHABLEND, "ALPHABLEND"},
                                                             {TOKEN_VAL_ALPHAADD, "ALPHAADD"},
                                                             {TOKEN_VAL_ALPHA, "ALPHA"}}));
}

TEST_F(ParserTest, EveryKeywordAloneYieldsItsOwnCode) {
    int n = 0;
    for (const keyword* k = RScriptParser::keytable; k->word; ++k, ++n) {
        RScriptParser sp("t.txt", k->word);
        EXPECT_EQ(sp.get_token(), k->code) << k->word;
        EXPECT_STREQ(sp.tkn_string(), k->word);
    }
    EXPECT_EQ(n, 58);
}

TEST_F(ParserTest, PunctuationNeedsNoWhiteSpace) {
    EXPECT_EQ(Tokenize("rect=0,0,32,32"), (Tokens{{TOKEN_PAR_RECT, "rect"},
                                                  {TOKEN_EQUALS, "="},
                                                  {TOKEN_NUMBER, "0"},
                                                  {TOKEN_SEPARATOR, ","},
                                                  {TOKEN_NUMBER, "0"},
                                                  {TOKEN_SEPARATOR, ","},
                                                  {TOKEN_NUMBER, "32"},
                                                  {TOKEN_SEPARATOR, ","},
                                                  {TOKEN_NUMBER, "32"}}));
    EXPECT_EQ(Tokenize("a:b{c}"), (Tokens{{TOKEN_STRING, "a"},
                                          {TOKEN_BASED, ":"},
                                          {TOKEN_STRING, "b"},
                                          {TOKEN_OPENBLOCK, "{"},
                                          {TOKEN_STRING, "c"},
                                          {TOKEN_CLOSEBLOCK, "}"}}));
}

TEST_F(ParserTest, NumbersAndHexValuesStartingWithADigit) {
    EXPECT_EQ(
        Tokenize("color=80FF80FF"),
        (Tokens{{TOKEN_PAR_COLOR, "color"}, {TOKEN_EQUALS, "="}, {TOKEN_STRING, "80FF80FF"}}));
    EXPECT_EQ(Tokenize("-1.5 .5"), (Tokens{{TOKEN_NUMBER, "-1.5"}, {TOKEN_NUMBER, ".5"}}));
    // No prefix is part of the hex format.
    EXPECT_EQ(Tokenize("0x10"), (Tokens{{TOKEN_NUMBER, "0"}, {TOKEN_STRING, "x10"}}));
    // After the hex letters only hex digits continue the token.
    EXPECT_EQ(Tokenize("1A-2"), (Tokens{{TOKEN_STRING, "1A"}, {TOKEN_NUMBER, "-2"}}));
}

TEST_F(ParserTest, QuotedStrings) {
    EXPECT_EQ(Tokenize("\"a b\" \"Sprite\""),
              (Tokens{{TOKEN_STRING, "a b"}, {TOKEN_STRING, "Sprite"}}));
    EXPECT_EQ(Tokenize("a\"b"), (Tokens{{TOKEN_STRING, "a\"b"}}));

    RScriptParser sp("t.txt", "\"open ; end\nnext");
    EXPECT_EQ(sp.get_token(), TOKEN_STRING);
    EXPECT_STREQ(sp.tkn_string(), "open ; end");
    EXPECT_EQ(sp.get_line(), 1);
    EXPECT_EQ(sp.get_token(), TOKEN_STRING);
    EXPECT_STREQ(sp.tkn_string(), "next");
    EXPECT_EQ(sp.get_line(), 2);

    EXPECT_EQ(Tokenize("\"to the end"), (Tokens{{TOKEN_STRING, "to the end"}}));
}

TEST_F(ParserTest, PutBackRereadsTheSameToken) {
    RScriptParser sp("t.txt", "\n  Sprite\n\"a b\" 80FF name");
    for (int expected : {TOKEN_RES_SPRITE, TOKEN_STRING, TOKEN_STRING, TOKEN_STRING}) {
        int t = sp.get_token();
        EXPECT_EQ(t, expected);
        std::string text = sp.tkn_string();
        int line = sp.get_line();
        sp.put_back();
        EXPECT_EQ(sp.get_line(), line);
        EXPECT_EQ(sp.get_token(), t);
        EXPECT_EQ(sp.tkn_string(), text);
        EXPECT_EQ(sp.get_line(), line);
    }
    EXPECT_EQ(sp.get_token(), TOKEN_END);
}

TEST_F(ParserTest, LongTokensAreCutButConsumedWhole) {
    std::string longname(300, 'x');
    std::string text = longname + " next";
    RScriptParser sp("t.txt", text.c_str());
    EXPECT_EQ(sp.get_token(), TOKEN_STRING);
    EXPECT_EQ(std::string(sp.tkn_string()), std::string(127, 'x'));
    sp.put_back();
    EXPECT_EQ(sp.get_token(), TOKEN_STRING);
    EXPECT_EQ(sp.get_token(), TOKEN_STRING);
    EXPECT_STREQ(sp.tkn_string(), "next");

    std::string quoted = "\"" + longname + "\"" + " after";
    EXPECT_EQ(Tokenize(quoted.c_str()).back(),
              (std::pair<int, std::string>{TOKEN_STRING, "after"}));
}

TEST_F(ParserTest, Conversions) {
    RScriptParser sp("t.txt", "-1.5 12.7 abc 80FF80FF FF00FF00 123456789 True t 1 yes false");
    sp.get_token();
    EXPECT_FLOAT_EQ(sp.tkn_float(), -1.5f);
    EXPECT_EQ(sp.tkn_int(), -1);
    sp.get_token();
    EXPECT_EQ(sp.tkn_int(), 12);
    sp.get_token();
    EXPECT_EQ(sp.tkn_int(), 0);
    EXPECT_FLOAT_EQ(sp.tkn_float(), 0.0f);
    sp.get_token();
    EXPECT_EQ(sp.tkn_hex(), 0x80FF80FFu);
    sp.get_token();
    EXPECT_EQ(sp.tkn_hex(), 0xFF00FF00u);
    sp.get_token();
    EXPECT_EQ(sp.tkn_hex(), 0x23456789u);  // only the last eight digits count
    for (bool expected : {true, true, false, false, false}) {
        sp.get_token();
        EXPECT_EQ(sp.tkn_bool(), expected) << sp.tkn_string();
    }
    RScriptParser letters("t.txt", "zz");
    letters.get_token();
    EXPECT_EQ(letters.tkn_hex(), 0xFFu);
}

}  // namespace
