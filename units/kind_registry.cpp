#include "units/kind_registry.h"

#include <algorithm>
#include <cctype>

#include "engine/ini.h"
#include "engine/tide.h"

const char* const kKindsFile = "res\\kinds.txt";

namespace {

// The longest a kind may hold back: longer would be a kind that never comes.
const int kMaxWaits = 99;

// True when `text` begins with `prefix`, in any case.
bool StartsAnyCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

bool SameAnyCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && StartsAnyCase(a, b);
}

// Reads one kind's section; the first problem found becomes its fault.
class KindReader {
public:
    KindReader(const tideIniSection& sec, cUnitKind& k) : sec(sec), k(k) {}

    // A key the kind cannot do without.
    std::string Need(const char* key) {
        std::string v = sec.GetString(key);
        if (v.empty()) Fail(std::string("has no ") + key + "=");
        return v;
    }
    // A key with one of two words; true for the first.
    bool Either(const char* key, const char* first, const char* second) {
        std::string v = Need(key);
        if (SameAnyCase(v, first)) return true;
        if (!v.empty() && !SameAnyCase(v, second))
            Fail(std::string(key) + "=" + v + " is neither " + first + " nor " + second);
        return false;
    }
    int Number(const char* key, int def, int lo, int hi) {
        std::string v = sec.GetString(key);
        int n = def;
        if (!v.empty() && (!tideIni::ReadInt(v, n) || n < lo || n > hi)) {
            Fail(std::string(key) + "=" + v + " is not a whole number from " + std::to_string(lo) +
                 " to " + std::to_string(hi));
            n = def;
        }
        return n;
    }
    void Fail(const std::string& what) {
        if (k.Usable()) k.fault = what;
    }

private:
    const tideIniSection& sec;
    cUnitKind& k;
};

}  // namespace

bool cKindRegistry::Load(Tide* tide, const char* file) {
    kinds.clear();
    projectiles.clear();
    tideIniFile ini;
    if (!tide->Ini_Load(file, ini)) return false;  // the engine has said why
    Read(ini, tide);
    bool any = std::any_of(kinds.begin(), kinds.end(), [](const cUnitKind& k) { return k.Usable(); });
    if (!any) tide->System_Log("%s: no unit kinds", file);
    return any;
}

void cKindRegistry::Read(const tideIniFile& ini, Tide* tide) {
    for (const std::string& name : ini.Sections()) {
        if (Named(name)) continue;  // the first section of a name holds
        tideIniSection sec = ini.Section(name);
        cUnitKind k;
        k.name = name;
        KindReader r(sec, k);
        // Saved battles write the name as one word among others.
        if (name.find_first_of(" \t=") != std::string::npos) r.Fail("has a space or '=' in its name");
        k.title = sec.GetString("title", name);
        k.plcontrolled = r.Either("side", "player", "computer");
        k.cellsize = r.Number("size", 0, 1, 2);
        if (k.cellsize == 0) r.Fail("has no size= (1 or 2)");
        k.melee = r.Either("attack", "melee", "shot");
        k.idle = r.Need("idle");
        k.move = r.Need("move");
        k.attack = sec.GetString("strike");
        k.turn_on = r.Need("marker_on");
        k.turn_off = r.Need("marker_off");
        k.snd_move = sec.GetString("sound_move");
        k.snd_attack = sec.GetString("sound_attack");
        k.waits = r.Number("waits", 0, 0, kMaxWaits);
        if (!k.melee && k.Usable()) {
            k.projectile = r.Need("projectile");
            auto at = std::find(projectiles.begin(), projectiles.end(), k.projectile);
            k.ammotype = static_cast<int>(at - projectiles.begin());
            if (k.Usable() && at == projectiles.end()) projectiles.push_back(k.projectile);
        }
        if (!k.Usable())
            tide->System_Log("%s: [%s] %s; its units are skipped", ini.Name().c_str(), name.c_str(),
                             k.fault.c_str());
        kinds.push_back(std::move(k));
    }
}

const cUnitKind* cKindRegistry::Find(const std::string& levelName) const {
    for (const cUnitKind& k : kinds)
        if (StartsAnyCase(levelName, k.name)) return &k;
    return nullptr;
}

const cUnitKind* cKindRegistry::Named(const std::string& name) const {
    for (const cUnitKind& k : kinds)
        if (SameAnyCase(name, k.name)) return &k;
    return nullptr;
}

const char* cKindRegistry::ProjectileSprite(int type) const {
    if (type < 0 || type >= static_cast<int>(projectiles.size())) return "arrow";
    return projectiles[static_cast<std::size_t>(type)].c_str();
}

int cKindRegistry::ProjectileDamage(int type) const {
    for (const cUnitKind& k : kinds)
        if (!k.melee && k.Usable() && k.ammotype == type) return k.param.dmg;
    return 1;
}
