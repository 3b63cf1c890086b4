// The battle state's text form, hash and dice.
//
//   thalomir battle 1
//   resumes 0
//   level res\lvl2.txt
//   difficulty normal
//   turn 3
//   step 1
//   rng 2654435769
//   nextid 5
//   outcome none
//   stats lostplayer=0 lostcomputer=1 dealt=6 taken=2 actions=4 undone=0
//   pending shooter=2 target=4 damage=3          (only while a shot flies)
//   unit id=1 kind=Aqua side=player x=2 y=3 size=1 health=6 armor=0 damage=3 range=4 melee=0 ammo=0 shot=3 waits=0 ap=0
//   ...
//   end
//
// Every line but "pending" is required exactly once (units as many as there
// are), fields in this order; anything else makes the whole text damaged, so
// a battle is never misread.
#include "battle/battle_state.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>

#include "engine/random.h"

namespace {

const char* const kMagic = "thalomir battle";
// Far more than any level holds; a bigger file is not one of ours.
const std::size_t kMaxUnits = 256;
const std::size_t kMaxText = 1 << 20;
const int kBoardW = 16, kBoardH = 12;
const int kMaxTurn = 1000000;

const char* const kOutcomes[] = {"none", "won", "lost", "nocontest"};

// The shortest text that reads back as the same float. Not std::to_chars:
// the browser build's C++ library has no floating-point form of it.
std::string Float(float v) {
    char buf[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(v));
        if (std::strtof(buf, nullptr) == v) break;
    }
    return buf;
}

// A kind is one word: it sits in a line of space-separated fields.
bool PlainWord(const std::string& s) {
    if (s.empty() || s.size() > 64) return false;
    for (char c : s)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
              c == '-'))
            return false;
    return true;
}

// A level name runs to the end of its line.
bool PlainLine(const std::string& s) {
    if (s.size() > 4096) return false;
    for (char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

// Reads "key=value" fields in a fixed order from one line's words.
class Fields {
public:
    Fields(const std::vector<std::string>& words, std::size_t first) : w(words), i(first) {}

    template <class T>
    bool Int(const char* key, T& out, long long lo, long long hi) {
        std::string v;
        long long n = 0;
        if (!Value(key, v)) return false;
        auto r = std::from_chars(v.data(), v.data() + v.size(), n);
        if (r.ec != std::errc() || r.ptr != v.data() + v.size() || n < lo || n > hi) return false;
        out = static_cast<T>(n);
        return true;
    }
    bool Bool(const char* key, bool& out) {
        int n = 0;
        if (!Int(key, n, 0, 1)) return false;
        out = n != 0;
        return true;
    }
    bool Real(const char* key, float& out) {
        std::string v;
        if (!Value(key, v)) return false;
        // strtof, not std::from_chars (see Float); a plain decimal only.
        if (v.empty() || v.find_first_not_of("0123456789.eE+-") != std::string::npos) return false;
        char* end = nullptr;
        out = std::strtof(v.c_str(), &end);
        return end == v.c_str() + v.size() && std::isfinite(out) && out >= 0;
    }
    bool Word(const char* key, std::string& out) { return Value(key, out) && PlainWord(out); }
    bool Done() const { return i == w.size(); }

private:
    bool Value(const char* key, std::string& out) {
        if (i >= w.size()) return false;
        const std::string& f = w[i++];
        std::size_t n = std::strlen(key);
        if (f.size() <= n || f.compare(0, n, key) != 0 || f[n] != '=') return false;
        out = f.substr(n + 1);
        return true;
    }
    const std::vector<std::string>& w;
    std::size_t i;
};

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

bool ReadUnit(const std::vector<std::string>& w, BattleUnit& u) {
    Fields f(w, 1);
    std::string side;
    bool ok = f.Int("id", u.id, 1, INT32_MAX) && f.Word("kind", u.kind) && f.Word("side", side) &&
              (side == "player" || side == "computer") && f.Int("x", u.x, 0, kBoardW - 1) &&
              f.Int("y", u.y, 0, kBoardH - 1) && f.Int("size", u.size, 1, 2) &&
              f.Int("health", u.health, -kMaxUnitValue, kMaxUnitValue) &&
              f.Int("armor", u.armor, -kMaxUnitValue, kMaxUnitValue) &&
              f.Int("damage", u.damage, -kMaxUnitValue, kMaxUnitValue) &&
              f.Real("range", u.range) && f.Bool("melee", u.melee) &&
              f.Int("ammo", u.ammo, 0, 255) &&
              f.Int("shot", u.shot, -kMaxUnitValue, kMaxUnitValue) &&
              f.Int("waits", u.waits, 0, kMaxTurn) && f.Int("ap", u.actionpoint, 0, 1) && f.Done();
    u.player = side == "player";
    // The whole footprint lies on the board.
    return ok && u.x + u.size <= kBoardW && u.y + u.size <= kBoardH;
}

// What no battle played by the rules can hold.
const char* Inconsistency(const BattleState& s) {
    std::set<int> ids;
    bool cell[kBoardW][kBoardH] = {};
    for (const BattleUnit& u : s.units) {
        if (!ids.insert(u.id).second) return "two units share an id";
        if (u.id >= s.nextid) return "a unit id is not below nextid";
        for (int dy = 0; dy < u.size; ++dy)
            for (int dx = 0; dx < u.size; ++dx) {
                if (cell[u.x + dx][u.y + dy]) return "two units share a cell";
                cell[u.x + dx][u.y + dy] = true;
            }
    }
    if (s.units.empty() ? s.step != 0 : s.step >= s.units.size()) return "the step is past the units";
    if (s.pending && !ids.count(s.pending->target)) return "the shot in flight has no target";
    return nullptr;
}

struct Hasher {
    uint64_t h = 14695981039346656037ull;
    void Byte(unsigned char b) {
        h ^= b;
        h *= 1099511628211ull;
    }
    void Int(int64_t v) {
        for (int i = 0; i < 8; ++i) Byte(static_cast<unsigned char>(static_cast<uint64_t>(v) >> (8 * i)));
    }
    void Str(const std::string& s) {
        Int(static_cast<int64_t>(s.size()));
        for (char c : s) Byte(static_cast<unsigned char>(c));
    }
    void Real(float f) {
        if (f == 0) f = 0;  // -0 equals 0, so it must hash the same
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        Int(bits);
    }
};

}  // namespace

std::string WriteBattle(const BattleState& s, int resumes) {
    const BattleStats& st = s.stats;
    std::ostringstream o;
    o << kMagic << " " << kBattleVersion << "\n"
      << "resumes " << resumes << "\n"
      << "level " << s.level << "\n"
      << "difficulty " << DifficultyName(s.difficulty) << "\n"
      << "turn " << s.turn << "\n"
      << "step " << s.step << "\n"
      << "rng " << s.rng << "\n"
      << "nextid " << s.nextid << "\n"
      << "outcome " << kOutcomes[static_cast<int>(s.outcome)] << "\n"
      << "stats lostplayer=" << st.lostPlayer << " lostcomputer=" << st.lostComputer
      << " dealt=" << st.dealt << " taken=" << st.taken << " actions=" << st.actions
      << " undone=" << st.undone << "\n";
    if (s.pending)
        o << "pending shooter=" << s.pending->shooter << " target=" << s.pending->target
          << " damage=" << s.pending->damage << "\n";
    for (const BattleUnit& u : s.units)
        o << "unit id=" << u.id << " kind=" << u.kind << " side=" << (u.player ? "player" : "computer")
          << " x=" << u.x << " y=" << u.y << " size=" << u.size << " health=" << u.health
          << " armor=" << u.armor << " damage=" << u.damage << " range=" << Float(u.range)
          << " melee=" << u.melee << " ammo=" << u.ammo << " shot=" << u.shot << " waits=" << u.waits
          << " ap=" << u.actionpoint << "\n";
    o << "end\n";
    return o.str();
}

BattleRead ReadBattle(const std::string& text, BattleState& out, std::string* why, int* resumes) {
    auto damaged = [&](const std::string& reason) {
        if (why) *why = reason;
        return BattleRead::Damaged;
    };
    if (text.size() > kMaxText) return damaged("too large");
    if (text.find('\0') != std::string::npos) return damaged("not text");

    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line.compare(0, std::strlen(kMagic), kMagic) != 0)
        return damaged("not a saved battle");
    {
        std::string v = line.substr(std::strlen(kMagic));
        int version = 0;
        auto r = std::from_chars(v.data() + (v.empty() ? 0 : 1), v.data() + v.size(), version);
        if (v.empty() || v[0] != ' ' || r.ec != std::errc() || r.ptr != v.data() + v.size() || version < 1)
            return damaged("bad version line");
        if (version > kBattleVersion) {
            if (why) *why = "version " + std::to_string(version) + ", this game reads up to " +
                            std::to_string(kBattleVersion);
            return BattleRead::Newer;
        }
    }

    // Fixed lines, in order; then "pending" or not; then units; then "end".
    BattleState s;
    int resumed = 0;
    const char* const order[] = {"resumes", "level", "difficulty", "turn", "step",
                                 "rng",     "nextid", "outcome",   "stats"};
    for (const char* key : order) {
        if (!std::getline(in, line)) return damaged(std::string("no ") + key + " line");
        std::size_t n = std::strlen(key);
        if (line.compare(0, n, key) != 0 || line.size() < n + 1 || line[n] != ' ')
            return damaged(std::string("expected ") + key);
        std::string value = line.substr(n + 1);
        std::vector<std::string> w = Words(line);
        Fields one(w, 1);
        bool ok = true;
        if (!std::strcmp(key, "level")) {
            ok = PlainLine(value);
            s.level = value;
        } else if (!std::strcmp(key, "difficulty")) {
            ok = ParseDifficulty(value, s.difficulty);
        } else if (!std::strcmp(key, "outcome")) {
            ok = false;
            for (int i = 0; i < 4; ++i)
                if (value == kOutcomes[i]) {
                    s.outcome = static_cast<BattleOutcome>(i);
                    ok = true;
                }
        } else if (!std::strcmp(key, "stats")) {
            BattleStats& st = s.stats;
            ok = one.Int("lostplayer", st.lostPlayer, 0, INT32_MAX) &&
                 one.Int("lostcomputer", st.lostComputer, 0, INT32_MAX) &&
                 one.Int("dealt", st.dealt, 0, INT32_MAX) && one.Int("taken", st.taken, 0, INT32_MAX) &&
                 one.Int("actions", st.actions, 0, INT32_MAX) &&
                 one.Int("undone", st.undone, 0, INT32_MAX) && one.Done();
        } else {
            // A bare number.
            long long n = 0, lo = 0, hi = INT32_MAX;
            if (!std::strcmp(key, "rng")) {
                lo = 1;
                hi = UINT32_MAX;
            } else if (!std::strcmp(key, "turn")) {
                hi = kMaxTurn;
            } else if (!std::strcmp(key, "nextid")) {
                lo = 1;
            }
            auto r = std::from_chars(value.data(), value.data() + value.size(), n);
            ok = r.ec == std::errc() && r.ptr == value.data() + value.size() && n >= lo && n <= hi;
            if (!std::strcmp(key, "resumes")) resumed = static_cast<int>(n);
            if (!std::strcmp(key, "turn")) s.turn = static_cast<int>(n);
            if (!std::strcmp(key, "step")) s.step = static_cast<unsigned>(n);
            if (!std::strcmp(key, "rng")) s.rng = static_cast<uint32_t>(n);
            if (!std::strcmp(key, "nextid")) s.nextid = static_cast<int>(n);
        }
        if (!ok) return damaged(std::string("bad ") + key + " line");
    }

    bool ended = false;
    while (std::getline(in, line)) {
        std::vector<std::string> w = Words(line);
        if (ended) {
            if (!w.empty()) return damaged("text after the end");
            continue;
        }
        if (w.empty()) return damaged("empty line");
        if (w[0] == "end" && w.size() == 1) {
            ended = true;
        } else if (w[0] == "pending" && !s.pending && s.units.empty()) {
            PendingHit p;
            Fields f(w, 1);
            if (!(f.Int("shooter", p.shooter, 1, INT32_MAX) &&
                  f.Int("target", p.target, 1, INT32_MAX) &&
                  f.Int("damage", p.damage, -kMaxUnitValue, kMaxUnitValue) && f.Done()))
                return damaged("bad pending line");
            s.pending = p;
        } else if (w[0] == "unit") {
            BattleUnit u;
            if (s.units.size() >= kMaxUnits || !ReadUnit(w, u))
                return damaged("bad unit line " + std::to_string(s.units.size() + 1));
            s.units.push_back(u);
        } else {
            return damaged("unexpected line");
        }
    }
    if (!ended) return damaged("cut short");
    if (const char* bad = Inconsistency(s)) return damaged(bad);
    out = std::move(s);
    if (resumes) *resumes = resumed;
    return BattleRead::Ok;
}

uint64_t BattleHash(const BattleState& s) {
    Hasher h;
    h.Str(s.level);
    h.Int(static_cast<int>(s.difficulty));
    h.Int(s.step);
    h.Int(s.turn);
    h.Int(s.rng);
    h.Int(s.nextid);
    h.Int(s.pending.has_value());
    if (s.pending) {
        h.Int(s.pending->shooter);
        h.Int(s.pending->target);
        h.Int(s.pending->damage);
    }
    h.Int(static_cast<int>(s.outcome));
    const BattleStats& st = s.stats;
    for (int v : {st.lostPlayer, st.lostComputer, st.dealt, st.taken, st.actions, st.undone}) h.Int(v);
    h.Int(static_cast<int64_t>(s.units.size()));
    for (const BattleUnit& u : s.units) {
        h.Int(u.id);
        h.Str(u.kind);
        for (int v : {int(u.player), u.x, u.y, u.size, u.health, u.armor, u.damage, int(u.melee), u.ammo,
                      u.shot, u.waits, u.actionpoint})
            h.Int(v);
        h.Real(u.range);
    }
    return h.h;
}

void SeedBattle(BattleState& s, uint32_t seed) {
    tideRandom r;
    r.Seed(seed);
    s.rng = r.GetState();
}

int RollBattle(BattleState& s, int min, int max) {
    tideRandom r;
    r.SetState(s.rng);
    int v = r.Int(min, max);
    s.rng = r.GetState();
    return v;
}
