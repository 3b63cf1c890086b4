#include "tests/hardening/random_soak.h"

#include <algorithm>
#include <random>
#include <regex>
#include <set>
#include <sstream>

#include "gui/gui.h"
#include "tests/game/battle_world.h"
#include "tools/bot_targets.h"

namespace {

// The log lines the game is known to write while it is played on the
// shipped data; any other line is a finding.
const char* const kKnownLogLines[] = {
    R"(Shoot dest: -?\d+ -?\d+)",
    R"(Shoot source: -?\d+ -?\d+)",
    R"(i can shoot!!!)",
    R"(change music volume: -?\d+)",
    R"(progress: no saved progress, starting at level 1)",
};

// Battle frames with input that one step may take before it counts as a
// soft-lock: a random player hits a legal cell or Space long before.
const int kStepFrameLimit = 20000;
// Frames with input on one screen other than the battle before the screen
// counts as a trap.
const long long kScreenFrameLimit = 200000;

// Keys besides Escape and the letters.
const int kKeys[] = {TIDEK_SPACE, TIDEK_ENTER, TIDEK_LEFT, TIDEK_UP,
                     TIDEK_RIGHT, TIDEK_DOWN,  TIDEK_TAB,  TIDEK_BACKSPACE};

const char* const kStateNames[4] = {"menu", "options", "level choice", "battle"};

class Rng {
public:
    explicit Rng(uint64_t seed) : r(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(r); }
    float Float(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(r); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(r); }

private:
    std::mt19937_64 r;
};

bool InList(const cGame& g, const cUnit* u) {
    return std::find(g.units.begin(), g.units.end(), u) != g.units.end();
}

std::string CellName(const cCell& c) {
    return std::to_string(c.GetX()) + "," + std::to_string(c.GetY());
}

// The battle's bookkeeping in one line, for findings.
std::string Describe(const cGame& g) {
    std::ostringstream s;
    s << "state " << g.gamestate << ", turn " << cGame::turn << ", step " << g.step << ", locks "
      << cGame::locklvl << (cGame::proj ? ", shot in flight" : "") << ", units:";
    for (const cUnit* u : g.units) {
        s << " [" << (u == g.selunit ? "*" : "") << (u->IsPlayerControlled() ? "P" : "C")
          << u->GetSize() << " hp " << u->GetHealth() << " ap " << u->actionpoint << " st "
          << u->state;
        if (u->GetParent()) s << " at " << u->GetParent()->GetX() << "," << u->GetParent()->GetY();
        s << "]";
    }
    return s.str();
}


// One run: the input generator, the checks and the tallies.
class Soak {
public:
    Soak(const std::string& dataDir, uint64_t seed) : w(dataDir), rng(seed), seed(seed) {
        for (const char* line : kKnownLogLines) known.emplace_back(line);
    }

    RandomSoakReport Run(long long frames) {
        for (r.frames = 0; r.frames < frames && r.findings.empty(); ++r.frames) Step();
        return r;
    }

private:
    cGame& G() { return *w.game; }

    void Step() {
        int before = G().gamestate;
        std::vector<const cUnit*> dead;
        for (const cUnit* u : G().units)
            if (u->IsDead()) dead.push_back(u);

        was = Describe(G());
        bool input = Input();
        bool quit = w.Frame(rng.Float(0.001f, 0.1f));
        ReleaseHeld();
        if (before >= 0 && before < 4) r.framesOn[before]++;

        Check(before, dead, input);
        Tally(before);
        if (quit) NewSession();
    }

    // Random input for one frame; true when any was given.
    bool Input() {
        if (burst > 0) --burst;
        if (G().gamestate == GS_GAME && burst == 0 && rng.Chance(0.002)) burst = rng.Int(50, 2000);
        if (rng.Chance(0.3)) w.hl->SetMouse(rng.Float(0, 1024), rng.Float(0, 768));
        double clicks = burst > 0 ? 0.3 : 0.05;
        if (rng.Chance(clicks)) {
            Point p = ClickPoint();
            w.hl->SetMouse(p.x, p.y);
            Press(rng.Chance(0.9) ? TIDEK_LBUTTON : TIDEK_RBUTTON);
            return true;
        }
        if (rng.Chance(0.01)) {
            w.hl->Wheel(rng.Int(-3, 3));
            return true;
        }
        // Escape is rare: every press leaves the battle for the options,
        // where Leave battle waits.
        if (rng.Chance(0.0002)) {
            Press(TIDEK_ESCAPE);
            return true;
        }
        if (rng.Chance(0.02)) {
            if (rng.Chance(0.5)) {
                int letter = rng.Int(0, 25);
                Press(TIDEK_A + letter);
                w.hl->Char('a' + letter);
            } else {
                Press(kKeys[rng.Int(0, static_cast<int>(std::size(kKeys)) - 1)]);
            }
            return true;
        }
        return false;
    }

    // A key or button goes down now and up after 0 to 3 frames; 0 is a tap,
    // both edges within one frame.
    void Press(int vk) {
        if (std::any_of(held.begin(), held.end(), [&](const Held& h) { return h.vk == vk; }))
            return;
        w.hl->Key(vk, true);
        int frames = rng.Int(0, 3);
        if (frames == 0)
            w.hl->Key(vk, false);
        else
            held.push_back({vk, frames});
    }

    void ReleaseHeld() {
        for (Held& h : held)
            if (--h.frames == 0) w.hl->Key(h.vk, false);
        held.erase(std::remove_if(held.begin(), held.end(), [](const Held& h) { return h.frames <= 0; }),
                   held.end());
    }

    struct Point {
        float x, y;
    };

    // Anywhere on the window, or where play goes on: a control of the screen
    // shown, or in a battle a cell near the acting unit or an enemy.
    Point ClickPoint() {
        cGame& g = G();
        if (g.gamestate == GS_GAME && g.selunit && g.selunit->GetParent() && rng.Chance(0.8)) {
            const cCell* at = g.selunit->GetParent();
            // Now and then the player sees an enemy worth a shot and aims.
            if (rng.Chance(0.3)) {
                if (cUnit* e = FindBotTargets(g, g.selunit).weakest) {
                    const cCell* c = e->GetParent();
                    return {static_cast<float>(c->GetX() * 64) + rng.Float(0, 63),
                            static_cast<float>(c->GetY() * 64) + rng.Float(0, 63)};
                }
            }
            if (at) {
                float x = static_cast<float>((at->GetX() + rng.Int(-1, 2)) * 64) + rng.Float(0, 64);
                float y = static_cast<float>((at->GetY() + rng.Int(-1, 2)) * 64) + rng.Float(0, 64);
                return {std::clamp(x, 0.f, 1023.f), std::clamp(y, 0.f, 767.f)};
            }
        }
        tideGUI* gui = g.gamestate == GS_MMENU     ? g.gui
                       : g.gamestate == GS_OPTIONS ? g.guioptions
                       : g.gamestate == GS_CHLVL   ? g.chlvlgui
                                                   : nullptr;
        if (gui && rng.Chance(0.5)) {
            std::vector<tideGUIObject*> ctrls;
            for (tideGUIObject* c = gui->ctrls; c; c = c->next) ctrls.push_back(c);
            if (!ctrls.empty()) {
                const tideRect& rc = ctrls[rng.Int(0, static_cast<int>(ctrls.size()) - 1)]->rect;
                return {rng.Float(rc.x1, std::max(rc.x1, rc.x2 - 0.01f)),
                        rng.Float(rc.y1, std::max(rc.y1, rc.y2 - 0.01f))};
            }
        }
        return {rng.Float(0, 1024), rng.Float(0, 768)};
    }

    void Check(int before, const std::vector<const cUnit*>& dead, bool input) {
        cGame& g = G();
        if (std::string f = BattleInvariantFault(g); !f.empty()) return Finding(f);
        if (before == GS_GAME) {
            for (const cUnit* u : dead)
                if (InList(g, u)) return Finding("a dead unit outlived a battle frame");
        }
        for (const std::string& line : w.hl->Log()) {
            bool ok = std::any_of(known.begin(), known.end(),
                                  [&](const std::regex& re) { return std::regex_match(line, re); });
            if (!ok) return Finding("unexpected log line \"" + line + "\"");
        }
        w.hl->ClearLog();
        w.hl->ClearSounds();

        // The watchdogs count frames with input only.
        if (!input) return;
        if (g.gamestate == GS_GAME && before == GS_GAME) {
            StepKey k{cGame::turn, g.step, g.selunit};
            if (k == stepKey) {
                r.longestStep = std::max(r.longestStep, ++stepFrames);
                if (stepFrames > kStepFrameLimit)
                    return Finding("soft-lock: one step took " + std::to_string(stepFrames) +
                                   " battle frames with input (turn " + std::to_string(cGame::turn) +
                                   ", locks " + std::to_string(cGame::locklvl) + ")");
            } else {
                stepKey = k;
                stepFrames = 0;
            }
        }
        if (g.gamestate != GS_GAME && g.gamestate == before) {
            if (++screenFrames > kScreenFrameLimit)
                return Finding(std::string("trapped on the ") + kStateNames[g.gamestate] + " screen");
        } else {
            screenFrames = 0;
        }
    }

    void Tally(int before) {
        cGame& g = G();
        if (before == GS_CHLVL && g.gamestate == GS_GAME) {
            r.battlesStarted++;
            if (g.curlvl >= 1) r.levelsStarted[g.curlvl]++;
        }
        if (before == GS_GAME && g.gamestate == GS_CHLVL) {
            bool player = false, computer = false;
            for (const cUnit* u : g.units) (u->IsPlayerControlled() ? player : computer) = true;
            if (!computer && player)
                r.victories++;
            else if (!player)
                r.defeats++;
            else
                r.left++;
        }
        if (before == GS_OPTIONS && g.gamestate == GS_CHLVL && inBattle) r.left++;
        if (g.gamestate == GS_GAME) inBattle = true;
        if (g.gamestate == GS_CHLVL || g.gamestate == GS_MMENU) inBattle = false;
    }

    // Exit ends the session, as it ends the program; the next session is a
    // new game, as the next start would be.
    void NewSession() {
        delete w.game;
        w.game = nullptr;
        if (cGame::locklvl != 0) return Finding("a game ended with its control lock held");
        if (cGame::proj) return Finding("a game ended with a projectile left behind");
        w.game = new cGame();
        r.sessions++;
        inBattle = false;
    }

    // The finding, with the battle as it stood before and after the frame.
    void Finding(const std::string& what) {
        std::ostringstream s;
        s << "seed " << seed << ", frame " << r.frames << ": " << what << "\n  before: " << was;
        if (w.game) s << "\n  after:  " << Describe(*w.game);
        r.findings.push_back(s.str());
    }

    struct Held {
        int vk;
        int frames;
    };
    struct StepKey {
        int turn;
        unsigned step;
        const cUnit* unit;
        bool operator==(const StepKey&) const = default;
    };

    BattleWorld w;
    Rng rng;
    uint64_t seed;
    RandomSoakReport r;
    std::vector<std::regex> known;
    std::vector<Held> held;
    std::string was;  // the battle before the current frame
    int burst = 0;
    StepKey stepKey{};
    int stepFrames = 0;
    long long screenFrames = 0;
    bool inBattle = false;
};

}  // namespace

std::string BattleInvariantFault(const cGame& g) {
    if (cGame::locklvl < 0 || cGame::locklvl > 1)
        return "control lock at " + std::to_string(cGame::locklvl);
    if (g.gamestate < GS_MMENU || g.gamestate > GS_GAME)
        return "game state " + std::to_string(g.gamestate);

    for (const cCell& c : g.cells) {
        const cUnit* u = c.GetUnit();
        if (u && !InList(g, u)) return "cell " + CellName(c) + " holds a unit not in the list";
    }
    for (std::size_t i = 0; i < g.units.size(); ++i) {
        const cUnit* u = g.units[i];
        if (!u->GetParent()) return "unit " + std::to_string(i) + " stands nowhere";
        cCell* cells[4];
        int n = u->Footprint(u->GetParent(), cells);
        for (int k = 0; k < n; ++k)
            if (!cells[k] || cells[k]->GetUnit() != u)
                return "unit " + std::to_string(i) + " at " + CellName(*u->GetParent()) +
                       " is missing from its footprint";
    }

    if (g.selunit && !InList(g, g.selunit)) return "the acting unit is not in the list";
    if (g.units.empty()) return "";
    if (g.step >= g.units.size())
        return "step " + std::to_string(g.step) + " past " + std::to_string(g.units.size()) + " units";
    if (g.selunit != g.units[g.step]) return "the acting unit is not the one at step";
    // Those before the step have acted this turn, the rest have not.
    for (std::size_t i = 0; i < g.units.size(); ++i) {
        int want = i < g.step ? 0 : 1;
        if (g.units[i]->actionpoint != want)
            return "unit " + std::to_string(i) + " of " + std::to_string(g.units.size()) +
                   " has " + std::to_string(g.units[i]->actionpoint) + " action points at step " +
                   std::to_string(g.step);
    }
    return "";
}

std::string RandomSoakReport::Summary() const {
    std::ostringstream s;
    s << frames << " frames (";
    for (int i = 0; i < 4; ++i) s << (i ? ", " : "") << kStateNames[i] << " " << framesOn[i];
    s << "), " << sessions << " sessions, " << battlesStarted << " battles started (per level:";
    for (const auto& [level, n] : levelsStarted) s << " " << level << ":" << n;
    s << "), "
      << BattlesEnded() << " ended (" << victories << " won, " << defeats << " lost, " << left
      << " left), longest step " << longestStep << " frames with input, " << findings.size()
      << " findings";
    return s.str();
}

RandomSoakReport RunRandomSoak(const std::string& dataDir, long long frames, uint64_t seed) {
    Soak soak(dataDir, seed);
    return soak.Run(frames);
}
