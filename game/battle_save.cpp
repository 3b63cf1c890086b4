// The saved battle: "battle.txt" beside the saved progress in the user's data
// folder. It is written whenever an action has resolved and when the game
// ends, read at start to offer Continue, and removed once the battle is won,
// lost or given up. A damaged file is kept aside; a newer game's file is left
// as it is and never written over. Each Continue counts one more start of the
// battle until the game next ends cleanly: a battle that has brought the game
// down twice in a row is kept aside, so it cannot lock the player out.

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include "game/battle_saver.h"

#include "engine/files.h"
#include "game/game.h"
#include "units/kinds.h"

namespace {

const char* const kBattleFile = "battle.txt";

// A battle saved with this many starts not followed by a clean end is not
// started again.
const int kMaxResumes = 2;

}  // namespace

std::string cGame::BattleFile(bool create) { return UserFile(TIDE_USERDATADIR, kBattleFile, create); }

BattleRead cGame::ReadSavedBattle(const std::string& text, BattleState& out, std::string& why, int& starts) {
    BattleRead r = ReadBattle(text, out, &why, &starts);
    if (r != BattleRead::Ok) return r;
    for (const BattleUnit& u : out.units)
        if (const cUnitKind* k = KindNamed(u.kind); !k || !k->Usable()) {
            why = (k ? "unusable unit kind " : "unknown unit kind ") + u.kind;
            return BattleRead::Damaged;
        }
    if (out.outcome != BattleOutcome::None) {
        why = "the battle is over";
        return BattleRead::Damaged;
    }
    return BattleRead::Ok;
}

void cGame::KeepBattleAside(const std::string& path, const std::string& what) {
    std::string kept;
    tideFileStatus st = tideKeepAside(path, kept);
    if (st)
        tide->System_Log("%s %s, kept as %s", path.c_str(), what.c_str(), kept.c_str());
    else
        tide->System_Log("%s %s and could not be moved aside (%s)", path.c_str(), what.c_str(), st.why.c_str());
}

void cGame::CheckSavedBattle() {
    savedBattle = false;
    std::string path = BattleFile(false);
    if (path.empty()) return;
    std::string text, why;
    tideFileStatus st = tideReadFile(path, text, kTideTextCap);
    if (st.Missing()) return;
    if (!st) {
        KeepBattleAside(path, "cannot be read (" + st.why + ")");
        return;
    }
    BattleState s;
    int starts = 0;
    switch (ReadSavedBattle(text, s, why, starts)) {
    case BattleRead::Ok:
        if (starts >= kMaxResumes)
            KeepBattleAside(path, "ended the game abnormally " + std::to_string(starts) + " times in a row");
        else
            savedBattle = true;
        break;
    case BattleRead::Newer:
        // Another version's battle: not ours to resume or to write over.
        saveBlocked = true;
        tide->System_Log("%s was saved by a newer version of the game (%s); left as it is", path.c_str(),
                         why.c_str());
        break;
    case BattleRead::Damaged:
        KeepBattleAside(path, "is damaged (" + why + ")");
        break;
    }
}

bool cGame::ResumeBattle() {
    saver->Flush();
    std::string path = BattleFile(false);
    std::string text, why;
    BattleState s;
    int starts = 0;
    tideFileStatus st = path.empty() ? tideFileStatus{ENOENT, ""} : tideReadFile(path, text, kTideTextCap);
    BattleRead r = st ? ReadSavedBattle(text, s, why, starts) : BattleRead::Damaged;
    savedBattle = false;
    // It may have changed since the game started (another game, the user).
    if (r == BattleRead::Newer)
        saveBlocked = true;
    else if (r == BattleRead::Damaged && !st.Missing())
        KeepBattleAside(path, st ? "is damaged (" + why + ")" : "cannot be read (" + st.why + ")");
    if (r != BattleRead::Ok) return false;
    StartBattle(s, true);
    curlvl = LevelNumber(s.level);
    // Counted as started until the game ends cleanly.
    battleStarts = starts + 1;
    SaveBattle();
    return true;
}

cGame::BattleSave cGame::WriteBattleFile(const std::string& path, const std::string& text, std::string* why) {
    bool newer = false;
    tideFileStatus st = tideUpdateFile(path, kTideTextCap, [&](std::string& old, bool exists) {
        BattleState other;
        // A newer game's battle, saved meanwhile, is not ours to write over.
        newer = exists && ReadBattle(old, other) == BattleRead::Newer;
        if (!newer) old = text;
        return !newer;
    });
    if (why) *why = st.why;
    return newer ? BattleSave::Newer : st ? BattleSave::Saved : BattleSave::Failed;
}

void cGame::SaveBattle() {
    // What the saves made meanwhile found.
    if (saveNewer.exchange(false)) {
        saveBlocked = true;
        tide->System_Log("%s was saved by a newer version of the game meanwhile; this battle is not saved",
                         BattleFile(false).c_str());
    }
    {
        std::lock_guard<std::mutex> lock(saveMutex);
        // Said once a battle, not at every action.
        if (!saveError.empty() && !saveFailed) tide->System_Log("battle not saved: %s", saveError.c_str());
        saveFailed = saveFailed || !saveError.empty();
        saveError.clear();
    }
    if (!battleLive || !battleSaved || saveBlocked || battle.outcome != BattleOutcome::None) return;
    std::string path = BattleFile(true);
    if (path.empty()) return;
    saver->Save(path, WriteBattle(battle, battleStarts));
    savedHash = BattleHash(battle);
    savedBattle = true;
}

void cGame::SaveSettledBattle() {
    // The action has resolved: nothing plays out, the dead have gone, the
    // next unit is chosen.
    if (!battleLive || IsControlLocked() || battle.pending || BattleHash(battle) == savedHash) return;
    for (const BattleUnit& u : battle.units)
        if (u.health <= 0) return;
    SaveBattle();
}

void cGame::ForgetBattle() {
    battleLive = false;
    saver->Flush();
    if (!battleSaved || saveBlocked) return;
    std::string path = BattleFile(false);
    if (path.empty()) return;
    tideWithLock(path, [&] {
        std::string text;
        BattleState other;
        // A newer game's battle saved meanwhile stays.
        if (tideReadFile(path, text, kTideTextCap) && ReadBattle(text, other) == BattleRead::Newer) return;
        tideRemoveFile(path);
    });
    savedBattle = false;
}

void cGame::EndSession() {
    // A clean end: the battle under way is kept for Continue, and its starts
    // count from nothing again.
    if (!battleLive || battle.outcome != BattleOutcome::None) return;
    battleStarts = 0;
    savedHash = 0;
    SaveBattle();
}

#ifdef __EMSCRIPTEN__
// A page is hidden or closed without the game being told it ends: that is the
// clean end on the web (app/web/pre.js calls this).
extern "C" EMSCRIPTEN_KEEPALIVE void thalomir_page_hidden() {
    if (cGame* g = cGame::Instance()) g->EndSession();
}
#endif

void cGame::StartSaver() {
    saver = std::make_unique<cBattleSaver>([this](const std::string& path, const std::string& text) {
        std::string why;
        switch (WriteBattleFile(path, text, &why)) {
        case BattleSave::Newer:
            saveNewer = true;
            break;
        case BattleSave::Failed: {
            std::lock_guard<std::mutex> lock(saveMutex);
            saveError = why;
            break;
        }
        case BattleSave::Saved:
            break;
        }
    });
}

void cGame::StartBattle(const BattleState& s, bool saved) {
    ClearBattle();
    battle = s;
    battleLive = true;
    battleSaved = saved;
    battleStarts = 0;
    savedHash = 0;
    SyncViews();
    SelectUnit(static_cast<int>(step));
    ComposeBackdrop();
}
