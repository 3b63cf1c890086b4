// The resource script grammar: scripts, blocks and their parameters.
#include "res/resources.h"

#include <cstring>
#include <vector>

#include "gfx/animation.h"
#include "res/resource_manager.h"

Tide* ResDesc::tide = nullptr;

ResDesc::ResDesc() {
    tide = tideCreate(TIDE_VERSION);
}

ResDesc::~ResDesc() {
    tide->Release();
}

void ResCopyName(char (&dst)[MAXRESCHARS], const char* src) {
    size_t n = src ? strnlen(src, MAXRESCHARS - 1) : 0;
    if (n) memcpy(dst, src, n);
    dst[n] = 0;
}

// The index files each description under its own name, which never changes
// once the description is in a list. A newer description of a name already
// there stands first in the list, so it takes the name over.
void AddRes(tideResourceManager* rm, int type, ResDesc* resource) {
    resource->next = rm->res[type];
    rm->res[type] = resource;
    rm->index[type].Put(resource->name, resource);
}

ResDesc* FindRes(tideResourceManager* rm, int type, const char* name) {
    return rm->index[type].Find(name);
}

namespace {

// Names never fit cut: two long ones would alias one resource.
const char kTooLong[] = " is longer than 127 characters.";

// Scripts being parsed in this pass, the top-level one included.
thread_local int parse_depth = 0;

// Drops tokens, starting with the current one, up to the next command or kind
// keyword or the end, and leaves that token to be read again.
void skip_to_command(RScriptParser* sp) {
    while (!IsCommandToken(sp->tokentype) && sp->tokentype != TOKEN_END) sp->get_token();
    sp->put_back();
}

// A value follows one token ("=" or "," by convention) that is not examined.
RScriptParser* value(RScriptParser* sp) {
    sp->get_token();
    sp->get_token();
    return sp;
}
int read_int(RScriptParser* sp) {
    return value(sp)->tkn_int();
}
float read_float(RScriptParser* sp) {
    return value(sp)->tkn_float();
}
bool read_bool(RScriptParser* sp) {
    return value(sp)->tkn_bool();
}
DWORD read_hex(RScriptParser* sp) {
    return value(sp)->tkn_hex();
}
// A value too long for its field leaves the field as it was.
void read_string(RScriptParser* sp, char (&dst)[MAXRESCHARS]) {
    if (value(sp)->tkn_cut())
        sp->ScriptPostError("Value ", kTooLong);
    else
        ResCopyName(dst, sp->tkn_string());
}

void read_rect(RScriptParser* sp, float* x, float* y, float* w, float* h) {
    *x = read_float(sp);
    *y = read_float(sp);
    *w = read_float(sp);
    *h = read_float(sp);
}

ResDesc* find_base(tideResourceManager* rm, int type, const char* basename) {
    return basename && *basename ? FindRes(rm, type, basename) : nullptr;
}

// A block's description starts as a copy of its base of the same kind when
// there is one, from the kind's defaults otherwise.
template <class T>
void init_block_desc(T* rc, T* base, const char* name) {
    if (base)
        *rc = *base;
    else
        rc->Defaults();
    rc->handle = 0;
    rc->next = nullptr;
    ResCopyName(rc->name, name);
}

template <class T>
T* new_block_desc(tideResourceManager* rm, int type, const char* name, const char* basename) {
    T* rc = new T;
    init_block_desc(rc, static_cast<T*>(find_base(rm, type, basename)), name);
    return rc;
}

// The parameter loop of one block. `accept` reads the values of a parameter
// the kind knows and returns false for any other token; "resgroup" is common
// to every kind.
template <class Accept>
void parse_params(RScriptParser* sp, ResDesc* rc, Accept accept) {
    while (ScriptSkipToNextParameter(sp, false)) {
        if (sp->tokentype == TOKEN_PAR_RESGROUP)
            rc->resgroup = read_int(sp);
        else if (!accept(sp->tokentype))
            ScriptSkipToNextParameter(sp, true);
    }
}

// A whole block of a kind: its description, parameters and registration.
template <class T, class Accept>
void parse_block(tideResourceManager* rm, RScriptParser* sp, int type, const char* name,
                 const char* basename, Accept accept) {
    T* rc = new_block_desc<T>(rm, type, name, basename);
    parse_params(sp, rc, [&](int code) { return accept(rc, code); });
    AddRes(rm, type, rc);
}

struct BitRule {
    int code;
    int bit;
    bool set;
};

const BitRule kBlendRules[] = {
    {TOKEN_VAL_COLORMUL, BLEND_COLORADD, false},    {TOKEN_VAL_COLORADD, BLEND_COLORADD, true},
    {TOKEN_VAL_ALPHABLEND, BLEND_ALPHABLEND, true}, {TOKEN_VAL_ALPHAADD, BLEND_ALPHABLEND, false},
    {TOKEN_VAL_ZWRITE, BLEND_ZWRITE, true},         {TOKEN_VAL_NOZWRITE, BLEND_ZWRITE, false}};

const BitRule kModeRules[] = {
    {TOKEN_VAL_FORWARD, ANIM_REV, false},      {TOKEN_VAL_REVERSE, ANIM_REV, true},
    {TOKEN_VAL_PINGPONG, ANIM_PINGPONG, true}, {TOKEN_VAL_NOPINGPONG, ANIM_PINGPONG, false},
    {TOKEN_VAL_LOOP, ANIM_LOOP, true},         {TOKEN_VAL_NOLOOP, ANIM_LOOP, false}};

// Edits `bits` by "= value, value, ..."; the list ends at the first token
// that is neither "=" nor ",".
void parse_bit_list(RScriptParser* sp, int* bits, const BitRule (&rules)[6]) {
    for (;;) {
        int t = sp->get_token();
        if (t != TOKEN_EQUALS && t != TOKEN_SEPARATOR) {
            sp->put_back();
            return;
        }
        t = sp->get_token();
        const BitRule* rule = nullptr;
        for (const BitRule& r : rules)
            if (r.code == t) rule = &r;
        if (!rule)
            sp->ScriptPostError("Unsupported value ", ".");
        else if (rule->set)
            *bits |= rule->bit;
        else
            *bits &= ~rule->bit;
    }
}

bool read_file_param(RScriptParser* sp, RFileDesc* rc, int code) {
    if (code != TOKEN_PAR_FILENAME) return false;
    read_string(sp, rc->filename);
    return true;
}

// Parameters the drawing kinds share, read into fields of the same names.
template <class D>
bool read_look_param(RScriptParser* sp, D* rc, int code) {
    switch (code) {
        case TOKEN_PAR_BLENDMODE:
            ScriptParseBlendMode(sp, &rc->blend);
            return true;
        case TOKEN_PAR_COLOR:
            rc->color = read_hex(sp);
            return true;
        case TOKEN_PAR_ZORDER:
            rc->z = read_float(sp);
            return true;
    }
    return false;
}

template <class D>
bool read_textured_param(RScriptParser* sp, D* rc, int code) {
    switch (code) {
        case TOKEN_PAR_TEXTURE:
            read_string(sp, rc->texname);
            return true;
        case TOKEN_PAR_RECT:
            read_rect(sp, &rc->tx, &rc->ty, &rc->w, &rc->h);
            return true;
    }
    return read_look_param(sp, rc, code);
}

typedef void (*BlockParser)(tideResourceManager*, RScriptParser*, const char*, const char*);

const BlockParser kBlockParsers[RESTYPES] = {
    nullptr,          RResource::Parse, RTexture::Parse,    REffect::Parse,    RMusic::Parse,
    RStream::Parse,   RTarget::Parse,   RSprite::Parse,     RAnimation::Parse, RFont::Parse,
    RParticle::Parse, RDistort::Parse,  RStringTable::Parse};

// One block item, with its kind keyword just read.
void parse_block_item(tideResourceManager* rm, RScriptParser* sp, int type) {
    char name[MAXRESCHARS];
    char basename[MAXRESCHARS] = {};

    sp->get_token();
    if (sp->tkn_cut()) {
        sp->ScriptPostError("Resource name ", kTooLong);
        skip_to_command(sp);
        return;
    }
    if (FindRes(rm, type, sp->tkn_string())) {
        sp->ScriptPostError("Resource ", " of the same type already has been defined.");
        skip_to_command(sp);
        return;
    }
    ResCopyName(name, sp->tkn_string());

    if (sp->get_token() == TOKEN_BASED) {
        sp->get_token();
        if (!sp->tkn_cut() && FindRes(rm, type, sp->tkn_string()))
            ResCopyName(basename, sp->tkn_string());
        else
            sp->ScriptPostError("Base resource ", " is not defined.");
        sp->get_token();
    }

    if (sp->tokentype == TOKEN_OPENBLOCK) {
        kBlockParsers[type](rm, sp, name, basename);
    } else {
        sp->ScriptPostError("Illegal resource syntax, ", " found; '{' expected.");
        skip_to_command(sp);
    }
}

}  // namespace

bool ScriptSkipToNextParameter(RScriptParser* sp, bool ignore) {
    if (!ignore) {
        int t = sp->get_token();
        if (t == TOKEN_CLOSEBLOCK) return false;
        if (IsCommandToken(t) || t == TOKEN_END) {
            sp->put_back();
            sp->ScriptPostError("'}' missed, ", " encountered.");
            return false;
        }
        return true;
    }

    sp->put_back();
    sp->get_token();
    sp->ScriptPostError("Unsupported resource parameter ", ".");
    for (;;) {
        int t = sp->get_token();
        if (IsParameterToken(t) || IsCommandToken(t) || t == TOKEN_CLOSEBLOCK || t == TOKEN_END)
            break;
    }
    sp->put_back();
    return true;
}

void ScriptParseBlendMode(RScriptParser* sp, int* blend) {
    parse_bit_list(sp, blend, kBlendRules);
}

void ScriptParseFileResource(tideResourceManager* rm, RScriptParser* sp, const char* name,
                             const char* basename, RFileDesc* rr, int restype) {
    init_block_desc(rr, static_cast<RFileDesc*>(find_base(rm, restype, basename)), name);
    parse_params(sp, rr, [&](int code) { return read_file_param(sp, rr, code); });
    AddRes(rm, restype, rr);
}

void ScriptParseSpriteAnim(RScriptParser* sp, RSprite* rc, bool anim) {
    RAnimation* ra = anim ? static_cast<RAnimation*>(rc) : nullptr;
    parse_params(sp, rc, [&](int code) {
        switch (code) {
            case TOKEN_PAR_HOTSPOT:
                rc->hotx = read_float(sp);
                rc->hoty = read_float(sp);
                return true;
            case TOKEN_PAR_FLIP:
                rc->bXFlip = read_bool(sp);
                rc->bYFlip = read_bool(sp);
                return true;
        }
        if (read_textured_param(sp, rc, code)) return true;
        if (!ra) return false;
        switch (code) {
            case TOKEN_PAR_FRAMES:
                ra->frames = read_int(sp);
                return true;
            case TOKEN_PAR_FPS:
                ra->fps = read_float(sp);
                return true;
            case TOKEN_PAR_MODE:
                parse_bit_list(sp, &ra->mode, kModeRules);
                return true;
        }
        return false;
    });
}

// ---- Scripts ----------------------------------------------------------------

void RScript::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name, const char*) {
    if (!name) name = "";
    if (FindRes(rm, RES_SCRIPT, name)) {
        if (sp) sp->ScriptPostError("Script ", " already has been parsed.");
        return;
    }
    // Each level of a chain holds a parser and a copy of its script on the stack.
    if (parse_depth > MAXINCLUDEDEPTH) {
        if (sp) sp->ScriptPostError("Script ", " not parsed: includes nest deeper than 64.");
        return;
    }
    static_assert(MAXINCLUDEDEPTH == 64, "the log line names the depth");

    RScript* rc = new RScript;
    DWORD size = 0;
    void* data = tide->Resource_Load(name, &size);
    if (!data) {
        if (sp)
            sp->ScriptPostError("Script ", " not found.");
        else
            tide->System_Log("Script '%s' not found.", name);
        delete rc;
        return;
    }
    std::vector<char> text(size_t(size) + 1);
    memcpy(text.data(), data, size);
    text[size] = 0;
    tide->Resource_Free(data);

    ResCopyName(rc->name, name);
    AddRes(rm, RES_SCRIPT, rc);

    struct Nest {
        Nest() { ++parse_depth; }
        ~Nest() { --parse_depth; }
    } nest;
    RScriptParser parser(rc->name, text.data());
    for (;;) {
        int t = parser.get_token();
        if (t == TOKEN_END) break;
        if (t == TOKEN_CMD_INCLUDE) {
            parser.get_token();
            if (parser.tkn_cut())
                parser.ScriptPostError("Script ", kTooLong);
            else
                RScript::Parse(rm, &parser, parser.tkn_string(), nullptr);
        } else if (IsCommandToken(t)) {
            parse_block_item(rm, &parser, t - TOKEN_CMD_INCLUDE);
        } else {
            parser.ScriptPostError("Unrecognized resource specificator ", ".");
            skip_to_command(&parser);
        }
    }
}

uintptr_t RScript::Get(tideResourceManager*) {
    return 0;
}

void RScript::Free() {}

// ---- Blocks -----------------------------------------------------------------

void RResource::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                      const char* basename) {
    ScriptParseFileResource(rm, sp, name, basename, new RResource, RES_RESOURCE);
}

void REffect::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                    const char* basename) {
    ScriptParseFileResource(rm, sp, name, basename, new REffect, RES_EFFECT);
}

void RStream::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                    const char* basename) {
    ScriptParseFileResource(rm, sp, name, basename, new RStream, RES_STREAM);
}

void RStringTable::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                         const char* basename) {
    ScriptParseFileResource(rm, sp, name, basename, new RStringTable, RES_STRTABLE);
}

void RTexture::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                     const char* basename) {
    parse_block<RTexture>(rm, sp, RES_TEXTURE, name, basename, [&](RTexture* rc, int code) {
        if (code != TOKEN_PAR_MIPMAP) return read_file_param(sp, rc, code);
        rc->mipmap = read_bool(sp);
        return true;
    });
}

void RMusic::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                   const char* basename) {
    parse_block<RMusic>(rm, sp, RES_MUSIC, name, basename, [&](RMusic* rc, int code) {
        if (code != TOKEN_PAR_AMPLIFY) return read_file_param(sp, rc, code);
        rc->amplify = read_int(sp);
        return true;
    });
}

void RTarget::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                    const char* basename) {
    parse_block<RTarget>(rm, sp, RES_TARGET, name, basename, [&](RTarget* rc, int code) {
        switch (code) {
            case TOKEN_PAR_SIZE:
                rc->width = read_int(sp);
                rc->height = read_int(sp);
                return true;
            case TOKEN_PAR_ZBUFFER:
                rc->zbuffer = read_bool(sp);
                return true;
        }
        return false;
    });
}

void RSprite::Defaults() {
    tx = ty = w = h = 0;
    hotx = hoty = 0;
    blend = BLEND_DEFAULT;
    color = 0xFFFFFFFF;
    z = 0.5f;
    bXFlip = bYFlip = false;
}

void RSprite::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                    const char* basename) {
    RSprite* rc = new_block_desc<RSprite>(rm, RES_SPRITE, name, basename);
    ScriptParseSpriteAnim(sp, rc, false);
    AddRes(rm, RES_SPRITE, rc);
}

void RAnimation::Defaults() {
    RSprite::Defaults();
    frames = 1;
    fps = 12.0f;
    mode = ANIM_FWD | ANIM_LOOP;
}

void RAnimation::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                       const char* basename) {
    RAnimation* rc = new_block_desc<RAnimation>(rm, RES_ANIMATION, name, basename);
    ScriptParseSpriteAnim(sp, rc, true);
    AddRes(rm, RES_ANIMATION, rc);
}

void RFont::Defaults() {
    mipmap = false;
    blend = BLEND_DEFAULT;
    color = 0xFFFFFFFF;
    z = 0.5f;
    scale = 1.0f;
    proportion = 1.0f;
    rotation = 0.0f;
    tracking = 0.0f;
    spacing = 1.0f;
}

void RFont::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                  const char* basename) {
    parse_block<RFont>(rm, sp, RES_FONT, name, basename, [&](RFont* rc, int code) {
        switch (code) {
            case TOKEN_PAR_FILENAME:
                read_string(sp, rc->filename);
                return true;
            case TOKEN_PAR_MIPMAP:
                rc->mipmap = read_bool(sp);
                return true;
            case TOKEN_PAR_SCALE:
                rc->scale = read_float(sp);
                return true;
            case TOKEN_PAR_PROPORTION:
                rc->proportion = read_float(sp);
                return true;
            case TOKEN_PAR_ROTATION:
                rc->rotation = read_float(sp);
                return true;
            case TOKEN_PAR_TRACKING:
                rc->tracking = read_float(sp);
                return true;
            case TOKEN_PAR_SPACING:
                rc->spacing = read_float(sp);
                return true;
        }
        return read_look_param(sp, rc, code);
    });
}

void RParticle::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                      const char* basename) {
    parse_block<RParticle>(rm, sp, RES_PARTICLE, name, basename, [&](RParticle* rc, int code) {
        if (code != TOKEN_PAR_SPRITE) return read_file_param(sp, rc, code);
        read_string(sp, rc->spritename);
        return true;
    });
}

void RDistort::Defaults() {
    tx = ty = w = h = 0;
    cols = rows = 2;
    blend = BLEND_DEFAULT;
    color = 0xFFFFFFFF;
    z = 0.5f;
}

void RDistort::Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                     const char* basename) {
    parse_block<RDistort>(rm, sp, RES_DISTORT, name, basename, [&](RDistort* rc, int code) {
        if (code != TOKEN_PAR_MESH) return read_textured_param(sp, rc, code);
        rc->cols = read_int(sp);
        rc->rows = read_int(sp);
        return true;
    });
}
