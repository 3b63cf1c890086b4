// Saved progress: read once at start, written whenever a win changes it.
//
// The file is a tiny INI-like text:
//   [progress]
//   maxlvl=3
//   won=1,2
// Anything else in it (an unknown line, a number out of range, a won level
// that maxlvl does not account for) makes the whole file suspect: it is kept
// aside as NAME.bad and the campaign starts again at level 1.
#include "game/progress.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "engine/files.h"
#include "game/game.h"

namespace {

// In the user's data folder ($XDG_DATA_HOME/thalomir), or beside the
// configuration in the data folder's "res" when portable.
const char* const kProgressFile = "progress.txt";

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

bool ParseLevel(const std::string& s, int& out) {
    std::string t = Trim(s);
    const char* end = t.data() + t.size();
    auto r = std::from_chars(t.data(), end, out);
    return !t.empty() && r.ec == std::errc() && r.ptr == end && out >= 1 && out <= kLastLevel;
}

bool ParseWon(const std::string& s, unsigned& out) {
    out = 0;
    if (Trim(s).empty()) return true;
    std::stringstream in(s);
    std::string item;
    while (std::getline(in, item, ',')) {
        int n = 0;
        if (!ParseLevel(item, n)) return false;
        out |= 1u << (n - 1);
    }
    return true;
}

// Every won level must have unlocked what maxlvl says it did.
bool Consistent(const cProgress& p) {
    for (int n = 1; n <= kLastLevel; ++n)
        if (p.Won(n) && p.maxlvl < std::min(n + 1, kLastLevel)) return false;
    return true;
}

// Moves a progress file the game cannot use aside for a look, with one log
// line saying what was wrong and what happens `next`.
void SetAside(Tide* tide, const std::string& path, const std::string& what, const char* next) {
    std::string kept;
    tideFileStatus st = tideKeepAside(path, kept);
    if (st)
        tide->System_Log("progress: %s %s, kept as %s; %s", path.c_str(), what.c_str(), kept.c_str(), next);
    else
        tide->System_Log("progress: %s %s and could not be moved aside (%s); %s", path.c_str(),
                         what.c_str(), st.why.c_str(), next);
}

const char* const kStartAnew = "starting at level 1";

}  // namespace

void cProgress::Merge(const cProgress& other) {
    won |= other.won;
    maxlvl = std::max(maxlvl, other.maxlvl);
}

bool cProgress::Win(int n) {
    if (n < 1 || n > kLastLevel) return false;
    cProgress before = *this;
    won |= 1u << (n - 1);
    maxlvl = std::max(maxlvl, std::min(n + 1, kLastLevel));
    return before.won != won || before.maxlvl != maxlvl;
}

std::string cProgress::Text() const {
    std::string list;
    for (int n = 1; n <= kLastLevel; ++n)
        if (Won(n)) list += (list.empty() ? "" : ",") + std::to_string(n);
    return "; Thalomir saved progress\n[progress]\nmaxlvl=" + std::to_string(maxlvl) +
           "\nwon=" + list + "\n";
}

bool cProgress::Parse(const std::string& text, cProgress& out) {
    cProgress p;
    bool section = false, haveMax = false, haveWon = false;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line == "[progress]" && !section) {
            section = true;
            continue;
        }
        std::size_t eq = line.find('=');
        if (!section || eq == std::string::npos) return false;
        std::string key = Trim(line.substr(0, eq)), value = line.substr(eq + 1);
        if (key == "maxlvl" && !haveMax) {
            if (!ParseLevel(value, p.maxlvl)) return false;
            haveMax = true;
        } else if (key == "won" && !haveWon) {
            if (!ParseWon(value, p.won)) return false;
            haveWon = true;
        } else {
            return false;
        }
    }
    if (!haveMax || !Consistent(p)) return false;
    out = p;
    return true;
}

void cGame::LoadProgress() {
    cProgress p;
    std::string path = UserFile(TIDE_USERDATADIR, kProgressFile, false);
    std::string text;
    tideFileStatus read = path.empty() ? tideFileStatus{ENOENT, ""} : tideReadFile(path, text, kTideTextCap);
    if (read.Missing()) {
        tide->System_Log("progress: no saved progress, starting at level 1");
    } else if (!read || !cProgress::Parse(text, p)) {
        // Another game may be saving this very moment: look again under the
        // lock before moving anything aside.
        p = cProgress();
        tideWithLock(path, [&] {
            read = tideReadFile(path, text, kTideTextCap);
            if (read && cProgress::Parse(text, p)) return;
            p = cProgress();
            if (read)
                SetAside(tide, path, "is damaged", kStartAnew);
            else if (!read.Missing())
                SetAside(tide, path, "cannot be read (" + read.why + ")", kStartAnew);
        });
    }
    maxlvl = p.maxlvl;
    wonlevels = p.won;
}

void cGame::SaveProgress() {
    cProgress p;
    p.maxlvl = maxlvl;
    p.won = wonlevels;
    // The user's data folder, made on the first save.
    std::string path = UserFile(TIDE_USERDATADIR, kProgressFile, true);
    if (path.empty()) {
        tide->System_Log("progress: cannot write %s: no folder for it", kProgressFile);
        return;
    }
    // Another game running beside this one may have saved since this one
    // read the file: its wins are kept, and this game learns them too.
    tideFileStatus st = tideUpdateFile(path, kTideTextCap, [&](std::string& text, bool exists) {
        cProgress saved;
        if (exists && cProgress::Parse(text, saved))
            p.Merge(saved);
        else if (exists)
            SetAside(tide, path, "is damaged", "saved anew");
        text = p.Text();
        return true;
    });
    if (!st) {
        tide->System_Log("progress: cannot write %s", st.why.c_str());
        return;
    }
    maxlvl = p.maxlvl;
    wonlevels = p.won;
}

void cGame::WinLevel(int n) {
    cProgress p;
    p.maxlvl = maxlvl;
    p.won = wonlevels;
    if (!p.Win(n)) return;
    maxlvl = p.maxlvl;
    wonlevels = p.won;
    SaveProgress();
}
