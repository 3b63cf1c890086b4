#include "res/resource_manager.h"

#include <cstring>

#include "res/strtable.h"

Tide* tideResourceManager::tide = nullptr;

tideResourceManager::tideResourceManager(const char* scriptname) : res{} {
    tide = tideCreate(TIDE_VERSION);
    _parse_script(scriptname);
}

tideResourceManager::~tideResourceManager() {
    _remove_all();
    tide->Release();
}

void tideResourceManager::ChangeScript(const char* scriptname) {
    _remove_all();
    _parse_script(scriptname);
}

// The script list only guards against including a script twice within one
// pass, so it is emptied as soon as the pass is over.
void tideResourceManager::_parse_script(const char* scriptname) {
    if (scriptname && name_fits(scriptname)) RScript::Parse(this, nullptr, scriptname, nullptr);
    index[RES_SCRIPT].Clear();
    while (ResDesc* rc = res[RES_SCRIPT]) {
        res[RES_SCRIPT] = rc->next;
        rc->Free();
        delete rc;
    }
}

void tideResourceManager::_remove_all() {
    for (int type = 0; type < RESTYPES; ++type) {
        index[type].Clear();
        while (ResDesc* rc = res[type]) {
            res[type] = rc->next;
            rc->Free();
            delete rc;
        }
    }
}

bool tideResourceManager::Precache(int groupid) {
    bool ok = true;
    for (ResDesc* head : res)
        for (ResDesc* rc = head; rc && ok; rc = rc->next)
            if (!groupid || rc->resgroup == groupid) ok = rc->Get(this) != 0;
    return ok;
}

void tideResourceManager::Purge(int groupid) {
    for (ResDesc* head : res)
        for (ResDesc* rc = head; rc; rc = rc->next)
            if (!groupid || rc->resgroup == groupid) rc->Free();
}

// Names are never cut to fit: two long names would alias one resource, and a
// cut name would load a file other than the one asked for.
bool tideResourceManager::name_fits(const char* name) {
    if (strnlen(name, MAXRESCHARS) < MAXRESCHARS) return true;
    tide->System_Log("Resource name '%.*s...' is longer than %d characters.", MAXRESCHARS - 1,
                     name, MAXRESCHARS - 1);
    return false;
}

uintptr_t tideResourceManager::get_declared(int type, const char* name) {
    if (!name || !name_fits(name)) return 0;
    ResDesc* rc = FindRes(this, type, name);
    return rc ? rc->Get(this) : 0;
}

// A description made for a file that no script declared; a failed load
// registers nothing, so the next request tries again.
template <class D, class Load>
uintptr_t tideResourceManager::get_or_load(int type, const char* name, int resgroup, Load load) {
    if (!name || !name_fits(name)) return 0;
    if (ResDesc* rc = FindRes(this, type, name)) return rc->Get(this);
    uintptr_t handle = load();
    if (!handle) return 0;
    D* rc = new D;
    rc->handle = handle;
    rc->resgroup = resgroup;
    ResCopyName(rc->name, name);
    ResCopyName(rc->filename, name);
    AddRes(this, type, rc);
    return handle;
}

void* tideResourceManager::GetResource(const char* name, int resgroup) {
    return reinterpret_cast<void*>(get_or_load<RResource>(RES_RESOURCE, name, resgroup, [&] {
        return reinterpret_cast<uintptr_t>(tide->Resource_Load(name));
    }));
}

HTEXTURE tideResourceManager::GetTexture(const char* name, int resgroup) {
    return HTEXTURE(get_or_load<RTexture>(RES_TEXTURE, name, resgroup, [&] {
        return uintptr_t(tide->Texture_Load(name, 0, false));
    }));
}

HEFFECT tideResourceManager::GetEffect(const char* name, int resgroup) {
    return HEFFECT(get_or_load<REffect>(RES_EFFECT, name, resgroup,
                                        [&] { return uintptr_t(tide->Effect_Load(name, 0)); }));
}

HMUSIC tideResourceManager::GetMusic(const char* name, int resgroup) {
    return HMUSIC(get_or_load<RMusic>(RES_MUSIC, name, resgroup,
                                      [&] { return uintptr_t(tide->Music_Load(name, 0)); }));
}

HSTREAM tideResourceManager::GetStream(const char* name, int resgroup) {
    return HSTREAM(get_or_load<RStream>(RES_STREAM, name, resgroup,
                                        [&] { return uintptr_t(tide->Stream_Load(name, 0)); }));
}

// A table is always made, empty when its file is missing, so it registers
// even then and later requests get that same table.
tideStringTable* tideResourceManager::GetStringTable(const char* name, int resgroup) {
    return reinterpret_cast<tideStringTable*>(get_or_load<RStringTable>(
        RES_STRTABLE, name, resgroup,
        [&] { return reinterpret_cast<uintptr_t>(new tideStringTable(name)); }));
}

HTARGET tideResourceManager::GetTarget(const char* name) {
    return HTARGET(get_declared(RES_TARGET, name));
}

tideSprite* tideResourceManager::GetSprite(const char* name) {
    return reinterpret_cast<tideSprite*>(get_declared(RES_SPRITE, name));
}

tideAnimation* tideResourceManager::GetAnimation(const char* name) {
    return reinterpret_cast<tideAnimation*>(get_declared(RES_ANIMATION, name));
}

tideFont* tideResourceManager::GetFont(const char* name) {
    return reinterpret_cast<tideFont*>(get_declared(RES_FONT, name));
}

tideParticleSystem* tideResourceManager::GetParticleSystem(const char* name) {
    return reinterpret_cast<tideParticleSystem*>(get_declared(RES_PARTICLE, name));
}

tideDistortionMesh* tideResourceManager::GetDistortionMesh(const char* name) {
    return reinterpret_cast<tideDistortionMesh*>(get_declared(RES_DISTORT, name));
}
