// RScriptParser: the tokenizer under the resource script grammar. It walks a
// NUL-terminated text once and hands out one token at a time; it never fails,
// the grammar decides what is wrong and reports it through ScriptPostError.
#pragma once

#include <cstdint>

#include "engine/tide.h"

enum {
    TOKEN_NONE = 0,
    TOKEN_END = 1,
    TOKEN_NUMBER = 2,
    TOKEN_STRING = 3,
    TOKEN_BOOL = 4,
    TOKEN_EQUALS = 5,
    TOKEN_BASED = 6,
    TOKEN_SEPARATOR = 7,
    TOKEN_OPENBLOCK = 8,
    TOKEN_CLOSEBLOCK = 9,

    // Commands and resource kinds; a kind's code minus 11 is its kind index.
    TOKEN_CMD_INCLUDE = 11,
    TOKEN_RES_RESOURCE = 12,
    TOKEN_RES_TEXTURE = 13,
    TOKEN_RES_SOUND = 14,
    TOKEN_RES_MUSIC = 15,
    TOKEN_RES_STREAM = 16,
    TOKEN_RES_TARGET = 17,
    TOKEN_RES_SPRITE = 18,
    TOKEN_RES_ANIMATION = 19,
    TOKEN_RES_FONT = 20,
    TOKEN_RES_PARTICLE = 21,
    TOKEN_RES_DISTORT = 22,
    TOKEN_RES_STRTABLE = 23,

    // Parameters.
    TOKEN_PAR_FILENAME = 26,
    TOKEN_PAR_RESGROUP = 27,
    TOKEN_PAR_MIPMAP = 28,
    TOKEN_PAR_AMPLIFY = 29,
    TOKEN_PAR_SIZE = 30,
    TOKEN_PAR_ZBUFFER = 31,
    TOKEN_PAR_TEXTURE = 32,
    TOKEN_PAR_RECT = 33,
    TOKEN_PAR_HOTSPOT = 34,
    TOKEN_PAR_BLENDMODE = 35,
    TOKEN_PAR_COLOR = 36,
    TOKEN_PAR_ZORDER = 37,
    TOKEN_PAR_FLIP = 38,
    TOKEN_PAR_SCALE = 39,
    TOKEN_PAR_PROPORTION = 40,
    TOKEN_PAR_ROTATION = 41,
    TOKEN_PAR_FRAMES = 42,
    TOKEN_PAR_FPS = 43,
    TOKEN_PAR_MODE = 44,
    TOKEN_PAR_TRACKING = 45,
    TOKEN_PAR_SPACING = 46,
    TOKEN_PAR_SPRITE = 47,
    TOKEN_PAR_MESH = 48,

    // Values.
    TOKEN_VAL_COLORMUL = 51,
    TOKEN_VAL_COLORADD = 52,
    TOKEN_VAL_ALPHABLEND = 53,
    TOKEN_VAL_ALPHAADD = 54,
    TOKEN_VAL_ZWRITE = 55,
    TOKEN_VAL_NOZWRITE = 56,
    TOKEN_VAL_FORWARD = 57,
    TOKEN_VAL_REVERSE = 58,
    TOKEN_VAL_PINGPONG = 59,
    TOKEN_VAL_NOPINGPONG = 60,
    TOKEN_VAL_LOOP = 61,
    TOKEN_VAL_NOLOOP = 62,
    TOKEN_VAL_CIRCLE = 63,
    TOKEN_VAL_RECT = 64,
    TOKEN_VAL_ALPHA = 65
};

// Keyword groups as the grammar tests them.
inline bool IsCommandToken(int code) {
    return code > 10 && code < 24;
}
inline bool IsParameterToken(int code) {
    return code > 25 && code <= 48;
}

struct keyword {
    const char* word;
    int code;
};

class RScriptParser {
public:
    RScriptParser(const char* name, const char* scr);
    ~RScriptParser();
    RScriptParser(const RScriptParser&) = delete;
    RScriptParser& operator=(const RScriptParser&) = delete;

    int get_token();
    void put_back();
    int get_line() const { return line; }
    const char* get_name() const { return scriptname; }

    const char* tkn_string() const { return tokenvalue; }
    // Whether the current token was longer than its buffer and was cut.
    bool tkn_cut() const { return tokencut; }
    int tkn_int() const;
    float tkn_float() const;
    bool tkn_bool() const;
    DWORD tkn_hex() const;

    // One log line: "<script>, line <n>: <prefix>'<token>'<suffix>".
    void ScriptPostError(const char* msg1, const char* msg2);

    // False exactly when `text` begins with the whole keyword.
    static bool strtkcmp(const char* keyword, const char* text);

    static const keyword keytable[];

    int tokentype;
    char tokenvalue[128];
    const char* script;
    const char* scriptname;
    int line;

private:
    // Script characters the current token took, quotes and cut-off tail
    // included, so that put_back returns exactly to its start.
    int tokenlen;
    bool tokencut;

    void copy_while(bool (*keep)(char c));

    static Tide* tide;
};
