#include "res/parser.h"

#include <cstdlib>
#include <cstring>
#include <vector>

Tide* RScriptParser::tide = nullptr;

// Scanned in this order with a prefix match: longer keywords that share a
// beginning with a shorter one must stand before it.
const keyword RScriptParser::keytable[] = {
    {"=", TOKEN_EQUALS},
    {":", TOKEN_BASED},
    {",", TOKEN_SEPARATOR},
    {"{", TOKEN_OPENBLOCK},
    {"}", TOKEN_CLOSEBLOCK},
    {"true", TOKEN_BOOL},
    {"false", TOKEN_BOOL},

    {"Include", TOKEN_CMD_INCLUDE},
    {"Resource", TOKEN_RES_RESOURCE},
    {"Texture", TOKEN_RES_TEXTURE},
    {"Sound", TOKEN_RES_SOUND},
    {"Music", TOKEN_RES_MUSIC},
    {"Stream", TOKEN_RES_STREAM},
    {"Target", TOKEN_RES_TARGET},
    {"Sprite", TOKEN_RES_SPRITE},
    {"Animation", TOKEN_RES_ANIMATION},
    {"Font", TOKEN_RES_FONT},
    {"Particle", TOKEN_RES_PARTICLE},
    {"Distortion", TOKEN_RES_DISTORT},
    {"StringTable", TOKEN_RES_STRTABLE},

    {"filename", TOKEN_PAR_FILENAME},
    {"resgroup", TOKEN_PAR_RESGROUP},
    {"mipmap", TOKEN_PAR_MIPMAP},
    {"amplify", TOKEN_PAR_AMPLIFY},
    {"size", TOKEN_PAR_SIZE},
    {"zbuffer", TOKEN_PAR_ZBUFFER},
    {"texture", TOKEN_PAR_TEXTURE},
    {"rect", TOKEN_PAR_RECT},
    {"hotspot", TOKEN_PAR_HOTSPOT},
    {"blendmode", TOKEN_PAR_BLENDMODE},
    {"color", TOKEN_PAR_COLOR},
    {"zorder", TOKEN_PAR_ZORDER},
    {"flip", TOKEN_PAR_FLIP},
    {"scale", TOKEN_PAR_SCALE},
    {"proportion", TOKEN_PAR_PROPORTION},
    {"rotation", TOKEN_PAR_ROTATION},
    {"frames", TOKEN_PAR_FRAMES},
    {"fps", TOKEN_PAR_FPS},
    {"mode", TOKEN_PAR_MODE},
    {"tracking", TOKEN_PAR_TRACKING},
    {"spacing", TOKEN_PAR_SPACING},
    {"sprite", TOKEN_PAR_SPRITE},
    {"mesh", TOKEN_PAR_MESH},

    {"COLORMUL", TOKEN_VAL_COLORMUL},
    {"COLORADD", TOKEN_VAL_COLORADD},
    {"ALPHABLEND", TOKEN_VAL_ALPHABLEND},
    {"ALPHAADD", TOKEN_VAL_ALPHAADD},
    {"ZWRITE", TOKEN_VAL_ZWRITE},
    {"NOZWRITE", TOKEN_VAL_NOZWRITE},
    {"FORWARD", TOKEN_VAL_FORWARD},
    {"REVERSE", TOKEN_VAL_REVERSE},
    {"PINGPONG", TOKEN_VAL_PINGPONG},
    {"NOPINGPONG", TOKEN_VAL_NOPINGPONG},
    {"LOOP", TOKEN_VAL_LOOP},
    {"NOLOOP", TOKEN_VAL_NOLOOP},
    {"CIRCLE", TOKEN_VAL_CIRCLE},
    {"RECT", TOKEN_VAL_RECT},
    {"ALPHA", TOKEN_VAL_ALPHA},

    {nullptr, 0},
};

namespace {

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_hex_letter(char c) {
    return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool is_number_char(char c) {
    return is_digit(c) || c == '.' || c == '-';
}
bool is_hex_digit(char c) {
    return is_digit(c) || is_hex_letter(c);
}
bool is_quoted_char(char c) {
    return c != '"' && c != '\n' && c != '\r' && c != 0;
}
bool is_identifier_char(char c) {
    return c != 0 && !is_space(c) && c != ',' && c != '=' && c != '{' && c != '}' && c != ':';
}

// The keyword table split by first character, each part in table order, so a
// token is matched against the few keywords it can begin with and the first
// match in table order still wins.
class KeywordsByFirstChar {
public:
    KeywordsByFirstChar() {
        for (const keyword* k = RScriptParser::keytable; k->word; ++k) {
            entries[static_cast<unsigned char>(k->word[0])].push_back(k);
        }
    }
    // `text` is not at its end: the first character is there to compare.
    const keyword* match(const char* text) const {
        for (const keyword* k : entries[static_cast<unsigned char>(*text)])
            if (!RScriptParser::strtkcmp(k->word + 1, text + 1)) return k;
        return nullptr;
    }

private:
    std::vector<const keyword*> entries[256];
};

const KeywordsByFirstChar& keywords() {
    static const KeywordsByFirstChar byFirstChar;
    return byFirstChar;
}

}  // namespace

RScriptParser::RScriptParser(const char* name, const char* scr)
    : tokentype(TOKEN_NONE), script(scr), scriptname(name), line(1), tokenlen(0), tokencut(false) {
    tokenvalue[0] = 0;
    tide = tideCreate(TIDE_VERSION);
}

RScriptParser::~RScriptParser() {
    tide->Release();
}

bool RScriptParser::strtkcmp(const char* keyword, const char* text) {
    for (; *keyword; ++keyword, ++text)
        if (*text != *keyword) return true;  // also when the text ends first
    return false;
}

// Appends characters to the token while `keep` accepts them. The script is
// always consumed whole; the token text keeps only what fits its buffer.
void RScriptParser::copy_while(bool (*keep)(char c)) {
    size_t len = strlen(tokenvalue);
    while (keep(*script)) {
        if (len < sizeof(tokenvalue) - 1)
            tokenvalue[len++] = *script;
        else
            tokencut = true;
        ++script;
        ++tokenlen;
    }
    tokenvalue[len] = 0;
}

int RScriptParser::get_token() {
    tokenvalue[0] = 0;
    tokenlen = 0;
    tokencut = false;

    for (;;) {
        while (is_space(*script)) {
            if (*script == '\n') ++line;
            ++script;
        }
        if (*script != ';') break;
        while (*script && *script != '\n' && *script != '\r') ++script;
    }

    if (!*script) return tokentype = TOKEN_END;

    if (is_number_char(*script)) {
        tokentype = TOKEN_NUMBER;
        copy_while(is_number_char);
        if (is_hex_letter(*script)) {
            tokentype = TOKEN_STRING;  // a hex value that starts with a digit
            copy_while(is_hex_digit);
        }
        return tokentype;
    }

    if (*script == '"') {
        tokentype = TOKEN_STRING;
        ++script;
        tokenlen = 1;
        copy_while(is_quoted_char);
        if (*script == '"') {
            ++script;
            ++tokenlen;
        }
        return tokentype;
    }

    if (const keyword* k = keywords().match(script)) {
        size_t len = strlen(k->word);
        memcpy(tokenvalue, k->word, len + 1);
        script += len;
        tokenlen = int(len);
        return tokentype = k->code;
    }

    tokentype = TOKEN_STRING;
    copy_while(is_identifier_char);
    return tokentype;
}

void RScriptParser::put_back() {
    script -= tokenlen;
    tokenlen = 0;  // a second put_back must not step further back
}

int RScriptParser::tkn_int() const {
    return atoi(tokenvalue);
}

float RScriptParser::tkn_float() const {
    return float(atof(tokenvalue));
}

bool RScriptParser::tkn_bool() const {
    return tokenvalue[0] == 't' || tokenvalue[0] == 'T';
}

DWORD RScriptParser::tkn_hex() const {
    DWORD result = 0;
    for (const char* p = tokenvalue; *p; ++p) {
        DWORD digit;
        char c = *p;
        if (is_digit(c))
            digit = DWORD(c - '0');
        else if (is_hex_letter(c))
            digit = DWORD((c | 0x20) - 'a' + 10);
        else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            digit = 15;
        else
            digit = 0;  // punctuation carries no digit value
        result = (result << 4) | digit;
    }
    return result;
}

void RScriptParser::ScriptPostError(const char* msg1, const char* msg2) {
    tide->System_Log("%s, line %d: %s'%s'%s", scriptname ? scriptname : "", line, msg1,
                     tokenvalue[0] ? tokenvalue : "<EOF>", msg2);
}
