// Resource descriptions: one record per resource a script declares, with the
// parameters it was given. Parsing makes descriptions only; Get builds the
// engine resource or object on first request and Free releases it.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/tide.h"
#include "res/parser.h"

class tideResourceManager;
class tideSprite;

// Kind indices: a kind keyword's token code minus 11.
enum {
    RES_SCRIPT = 0,
    RES_RESOURCE = 1,
    RES_TEXTURE = 2,
    RES_EFFECT = 3,
    RES_MUSIC = 4,
    RES_STREAM = 5,
    RES_TARGET = 6,
    RES_SPRITE = 7,
    RES_ANIMATION = 8,
    RES_FONT = 9,
    RES_PARTICLE = 10,
    RES_DISTORT = 11,
    RES_STRTABLE = 12,
    RESTYPES = 13
};

const int MAXRESCHARS = 128;  // name and file name fields, NUL included
// Includes nest at most this deep below the top-level script.
const int MAXINCLUDEDEPTH = 64;

// Copies `src` into a fixed field, cut to fit.
void ResCopyName(char (&dst)[MAXRESCHARS], const char* src);

class ResDesc {
public:
    ResDesc();
    virtual ~ResDesc();

    virtual uintptr_t Get(tideResourceManager* rm) = 0;
    virtual void Free() = 0;

    char name[MAXRESCHARS] = {};
    int resgroup = 0;
    uintptr_t handle = 0;
    ResDesc* next = nullptr;

protected:
    // Base copies go through the kinds' assignment; the engine reference is
    // per object and is not copied.
    ResDesc(const ResDesc&) = delete;
    ResDesc& operator=(const ResDesc&) = default;

    static Tide* tide;
};

// Every kind below is built zero-filled; Defaults() gives what a block
// without a base starts from.

// Script description: only marks a script as parsed during one pass.
class RScript : public ResDesc {
public:
    static void Parse(tideResourceManager* rm, RScriptParser* sp, const char* name,
                      const char* basename);
    uintptr_t Get(tideResourceManager* rm) override;
    void Free() override;
};

// Kinds made from one file.
class RFileDesc : public ResDesc {
public:
    void Defaults() {}

    char filename[MAXRESCHARS] = {};
};

#define RES_KIND_OPERATIONS                                                         \
    static void Parse(tideResourceManager* rm, RScriptParser* sp, const char* name, \
                      const char* basename);                                        \
    uintptr_t Get(tideResourceManager* rm) override;                                \
    void Free() override

class RResource : public RFileDesc {
public:
    RES_KIND_OPERATIONS;
};

class RTexture : public RFileDesc {
public:
    RES_KIND_OPERATIONS;
    void Defaults() { mipmap = false; }

    bool mipmap = false;
};

class REffect : public RFileDesc {
public:
    RES_KIND_OPERATIONS;
};

class RMusic : public RFileDesc {
public:
    RES_KIND_OPERATIONS;
    void Defaults() { amplify = 50; }

    int amplify = 0;
};

class RStream : public RFileDesc {
public:
    RES_KIND_OPERATIONS;
};

class RTarget : public ResDesc {
public:
    RES_KIND_OPERATIONS;
    void Defaults() {
        width = height = 256;
        zbuffer = false;
    }

    int width = 0;
    int height = 0;
    bool zbuffer = false;
};

// A share in a sprite that keeps it alive for a borrower. Descriptions copy
// their base's fields, never what the base has made, so a copy starts empty.
struct SpriteShare {
    SpriteShare() = default;
    SpriteShare(const SpriteShare&) {}
    SpriteShare& operator=(const SpriteShare&) { return *this; }

    std::shared_ptr<tideSprite> sprite;
};

class RSprite : public ResDesc {
public:
    RES_KIND_OPERATIONS;
    void Defaults();
    // The made sprite with a share in it (made on first request).
    std::shared_ptr<tideSprite> Share(tideResourceManager* rm);

    char texname[MAXRESCHARS] = {};
    float tx = 0, ty = 0, w = 0, h = 0;  // texture rectangle in texture pixels
    float hotx = 0, hoty = 0;
    int blend = 0;
    DWORD color = 0;
    float z = 0;
    bool bXFlip = false, bYFlip = false;

private:
    SpriteShare made;
};

class RAnimation : public RSprite {
public:
    RES_KIND_OPERATIONS;
    void Defaults();

    int frames = 0;
    float fps = 0;
    int mode = 0;
};

class RFont : public RFileDesc {
public:
    RES_KIND_OPERATIONS;
    void Defaults();

    bool mipmap = false;
    int blend = 0;
    DWORD color = 0;
    float z = 0;
    float scale = 0;
    float proportion = 0;
    float tracking = 0;
    float spacing = 0;
    float rotation = 0;
};

class RParticle : public RFileDesc {
public:
    RES_KIND_OPERATIONS;

    char spritename[MAXRESCHARS] = {};

private:
    // A particle system draws with its sprite until it goes, even when the
    // sprite's own group is purged first.
    SpriteShare borrowed;
};

class RDistort : public ResDesc {
public:
    RES_KIND_OPERATIONS;
    void Defaults();

    // A mesh is built with node counts kept in this range.
    static constexpr int MINNODES = 2;
    static constexpr int MAXNODES = 512;

    char texname[MAXRESCHARS] = {};
    float tx = 0, ty = 0, w = 0, h = 0;
    int cols = 0, rows = 0;
    int blend = 0;
    DWORD color = 0;
    float z = 0;
};

class RStringTable : public RFileDesc {
public:
    RES_KIND_OPERATIONS;
};

#undef RES_KIND_OPERATIONS

// Grammar helpers shared by the kinds.
void AddRes(tideResourceManager* rm, int type, ResDesc* resource);
ResDesc* FindRes(tideResourceManager* rm, int type, const char* name);
bool ScriptSkipToNextParameter(RScriptParser* sp, bool ignore);
void ScriptParseFileResource(tideResourceManager* rm, RScriptParser* sp, const char* name,
                             const char* basename, RFileDesc* rr, int restype);
void ScriptParseBlendMode(RScriptParser* sp, int* blend);
void ScriptParseSpriteAnim(RScriptParser* sp, RSprite* rc, bool anim);
