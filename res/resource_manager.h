// tideResourceManager: the single point of access to named resources. It
// parses a resource script into descriptions and makes each resource on its
// first lookup. Everything it hands out is borrowed: it stays valid until
// Purge, ChangeScript or the manager's destruction, and callers never delete it.
#pragma once

#include <cstdint>

#include "engine/tide.h"
#include "res/name_index.h"
#include "res/resources.h"

class tideSprite;
class tideAnimation;
class tideFont;
class tideParticleSystem;
class tideDistortionMesh;
class tideStringTable;

class tideResourceManager {
public:
    explicit tideResourceManager(const char* scriptname = nullptr);
    ~tideResourceManager();
    tideResourceManager(const tideResourceManager&) = delete;
    tideResourceManager& operator=(const tideResourceManager&) = delete;

    void ChangeScript(const char* scriptname = nullptr);
    // Makes the resources of one group (0: all); false once one fails, and
    // the rest are then left for their first lookup.
    bool Precache(int groupid = 0);
    // Frees the resources of one group (0: all); the descriptions stay.
    void Purge(int groupid = 0);

    // A name no description has is taken as a file name: the file is loaded
    // and registered under that name. Every lookup refuses, with one log
    // line, a name longer than MAXRESCHARS - 1 characters.
    void* GetResource(const char* name, int resgroup = 0);
    HTEXTURE GetTexture(const char* name, int resgroup = 0);
    HEFFECT GetEffect(const char* name, int resgroup = 0);
    HMUSIC GetMusic(const char* name, int resgroup = 0);
    HSTREAM GetStream(const char* name, int resgroup = 0);
    // Always gives a table, an empty one when the file is missing; null only
    // for a name too long to register.
    tideStringTable* GetStringTable(const char* name, int resgroup = 0);

    // Declared resources only.
    HTARGET GetTarget(const char* name);
    tideSprite* GetSprite(const char* name);
    tideAnimation* GetAnimation(const char* name);
    tideFont* GetFont(const char* name);
    tideParticleSystem* GetParticleSystem(const char* name);
    tideDistortionMesh* GetDistortionMesh(const char* name);

    ResDesc* res[RESTYPES];  // one list per kind index, newest first

private:
    friend void AddRes(tideResourceManager* rm, int type, ResDesc* resource);
    friend ResDesc* FindRes(tideResourceManager* rm, int type, const char* name);

    // Beside each list, its descriptions by name: the first of each name in
    // list order. Descriptions leave a list only with the whole list.
    ResNameIndex index[RESTYPES];

    void _parse_script(const char* scriptname);
    void _remove_all();
    bool name_fits(const char* name);
    uintptr_t get_declared(int type, const char* name);
    template <class D, class Load>
    uintptr_t get_or_load(int type, const char* name, int resgroup, Load load);

    static Tide* tide;
};
