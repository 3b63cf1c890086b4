// Saved progress: read once at start, written whenever a win or a better
// score changes it.
//
// The file is a small INI-like text:
//   [progress]
//   version=2
//   [level lvl3.txt]
//   won=1
//   stars_easy=0
//   stars_normal=2
//   stars_hard=0
// Its predecessor (no version) held "maxlvl=3" and "won=1,2" by level number.
// Anything else in a file of a version we know (an unknown line, a value out
// of range, a level twice) makes the whole file suspect: it is kept aside as
// NAME.bad (or .bad.1, ...) and the campaign starts again at its first level.
// Games running side by side each save under a lock, merging what the other
// saved meanwhile.
#include "game/progress.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <sstream>
#include <vector>

#include "engine/files.h"
#include "game/campaign.h"
#include "game/game.h"

namespace {

Difficulty DifficultyAt(int i) { return static_cast<Difficulty>(i); }
std::string StarsKey(int i) { return std::string("stars_") + DifficultyName(DifficultyAt(i)); }

// In the user's data folder ($XDG_DATA_HOME/thalomir), or beside the
// configuration in the data folder's "res" when portable.
const char* const kProgressFile = "progress.txt";
const char* const kLevelPrefix = "level ";
// The predecessor format was written by a campaign of this many levels,
// named "lvl1.txt" and on.
const int kVersion1Levels = 8;

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

bool ParseInt(const std::string& s, int lo, int hi, int& out) {
    std::string t = Trim(s);
    const char* end = t.data() + t.size();
    auto r = std::from_chars(t.data(), end, out);
    return !t.empty() && r.ec == std::errc() && r.ptr == end && out >= lo && out <= hi;
}

std::string Version1Key(int n) { return "lvl" + std::to_string(n) + ".txt"; }

// A level key stands in a section header: it must read back as itself.
bool Writable(const std::string& key) {
    return !key.empty() && key == Trim(key) && key.find_first_of("[]\r\n") == std::string::npos;
}

struct Line {
    std::string section;  // the header it stands under, "" before any
    std::string key, value;
};

// Splits the text into key lines under their sections; false for a line that
// is neither a comment, a header nor a key.
bool Lines(const std::string& text, std::vector<Line>& out, std::vector<std::string>& sections) {
    std::stringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            sections.push_back(section);
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) return false;
        out.push_back({section, Trim(line.substr(0, eq)), line.substr(eq + 1)});
    }
    return true;
}

// The predecessor: one [progress] section with maxlvl and won.
bool ReadVersion1(const std::vector<Line>& lines, const std::vector<std::string>& sections,
                  cProgress& out) {
    if (sections.size() != 1 || sections[0] != "progress") return false;
    int maxlvl = 0;
    std::vector<int> won;
    bool haveMax = false, haveWon = false;
    for (const Line& l : lines) {
        if (l.section != "progress") return false;
        if (l.key == "maxlvl" && !haveMax) {
            if (!ParseInt(l.value, 1, kVersion1Levels, maxlvl)) return false;
            haveMax = true;
        } else if (l.key == "won" && !haveWon) {
            haveWon = true;
            if (Trim(l.value).empty()) continue;
            std::stringstream list(l.value);
            std::string item;
            while (std::getline(list, item, ',')) {
                int n = 0;
                if (!ParseInt(item, 1, kVersion1Levels, n)) return false;
                won.push_back(n);
            }
        } else {
            return false;
        }
    }
    if (!haveMax) return false;
    cProgress p;
    // Only a win opened the next level, so every level below maxlvl was won.
    for (int n = 1; n < maxlvl; ++n) p.Win(Version1Key(n));
    for (int n : won) {
        // A win must have opened what maxlvl says it did.
        if (maxlvl < std::min(n + 1, kVersion1Levels)) return false;
        p.Win(Version1Key(n));
    }
    out = p;
    return true;
}

// Today's format. `lenient` (a newer version) passes over what it does not
// know instead of refusing the file.
bool ReadLevels(const std::vector<Line>& lines, const std::vector<std::string>& sections,
                bool lenient, cProgress& out) {
    cProgress p;
    for (const std::string& s : sections) {
        if (s == "progress") continue;
        if (s.rfind(kLevelPrefix, 0) != 0 || !Writable(s.substr(std::strlen(kLevelPrefix)))) {
            if (lenient) continue;
            return false;
        }
        if (!p.levels.emplace(s.substr(std::strlen(kLevelPrefix)), cLevelRecord{}).second &&
            !lenient)
            return false;  // a level twice
    }
    for (const Line& l : lines) {
        if (l.section == "progress") continue;
        auto it = l.section.rfind(kLevelPrefix, 0) == 0
                      ? p.levels.find(l.section.substr(std::strlen(kLevelPrefix)))
                      : p.levels.end();
        if (it == p.levels.end()) {
            if (lenient) continue;
            return false;
        }
        cLevelRecord& r = it->second;
        int v = 0;
        bool known = false;
        if (l.key == "won") {
            known = ParseInt(l.value, 0, 1, v);
            if (known) r.won = v == 1;
        }
        for (int d = 0; d < kDifficulties; ++d) {
            if (l.key != StarsKey(d)) continue;
            known = ParseInt(l.value, 0, kMaxStars, v);
            if (known) r.stars[d] = v;
        }
        if (!known && !lenient) return false;
    }
    for (auto it = p.levels.begin(); it != p.levels.end();)
        it = it->second.Empty() ? p.levels.erase(it) : std::next(it);
    out = p;
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

bool cLevelRecord::Empty() const {
    return !won && std::all_of(std::begin(stars), std::end(stars), [](int s) { return s == 0; });
}

bool cLevelRecord::operator==(const cLevelRecord& o) const {
    return won == o.won && std::equal(std::begin(stars), std::end(stars), std::begin(o.stars));
}

bool cProgress::Won(const std::string& key) const {
    auto it = levels.find(key);
    return it != levels.end() && it->second.won;
}

int cProgress::BestStars(const std::string& key, Difficulty d) const {
    auto it = levels.find(key);
    int i = static_cast<int>(d);
    if (it == levels.end() || i < 0 || i >= kDifficulties) return 0;
    return it->second.stars[i];
}

bool cProgress::Win(const std::string& key) {
    if (!Writable(key) || Won(key)) return false;
    levels[key].won = true;
    return true;
}

bool cProgress::RecordStars(const std::string& key, Difficulty d, int stars) {
    int i = static_cast<int>(d);
    if (!Writable(key) || i < 0 || i >= kDifficulties) return false;
    stars = std::clamp(stars, 0, kMaxStars);
    if (stars <= BestStars(key, d)) return false;
    levels[key].stars[i] = stars;
    return true;
}

cProgress cProgress::Merge(const cProgress& a, const cProgress& b) {
    cProgress m = a;
    for (const auto& [key, r] : b.levels) {
        cLevelRecord& to = m.levels[key];
        to.won = to.won || r.won;
        for (int d = 0; d < kDifficulties; ++d) to.stars[d] = std::max(to.stars[d], r.stars[d]);
    }
    return m;
}

std::string cProgress::Text() const {
    std::string t = "; Thalomir saved progress\n[progress]\nversion=" +
                    std::to_string(kProgressVersion) + "\n";
    for (const auto& [key, r] : levels) {
        if (r.Empty() || !Writable(key)) continue;
        t += "\n[" + std::string(kLevelPrefix) + key + "]\nwon=" + (r.won ? "1" : "0") + "\n";
        for (int d = 0; d < kDifficulties; ++d)
            t += StarsKey(d) + "=" + std::to_string(r.stars[d]) + "\n";
    }
    return t;
}

cProgressRead cProgress::Read(const std::string& text, cProgress& out) {
    std::vector<Line> lines;
    std::vector<std::string> sections;
    if (!Lines(text, lines, sections) || sections.empty() || sections[0] != "progress")
        return cProgressRead::Damaged;
    int version = 0;
    bool haveVersion = false;
    for (const Line& l : lines) {
        if (l.section != "progress" || l.key != "version") continue;
        if (haveVersion || !ParseInt(l.value, 2, 1 << 30, version)) return cProgressRead::Damaged;
        haveVersion = true;
    }
    if (!haveVersion) return ReadVersion1(lines, sections, out) ? cProgressRead::Ok : cProgressRead::Damaged;
    if (std::count(sections.begin(), sections.end(), "progress") != 1)
        return cProgressRead::Damaged;
    for (const Line& l : lines)
        if (l.section == "progress" && l.key != "version" && version == kProgressVersion)
            return cProgressRead::Damaged;
    bool newer = version > kProgressVersion;
    if (!ReadLevels(lines, sections, newer, out)) return cProgressRead::Damaged;
    return newer ? cProgressRead::Newer : cProgressRead::Ok;
}

void cGame::LoadProgress() {
    progress = cProgress();
    progressReadOnly = false;
    std::string path = UserFile(TIDE_USERDATADIR, kProgressFile, false);
    std::string text;
    tideFileStatus read = path.empty() ? tideFileStatus{ENOENT, ""} : tideReadFile(path, text, kTideTextCap);
    if (read.Missing()) {
        tide->System_Log("progress: no saved progress, starting at level 1");
        return;
    }
    cProgressRead r = read ? cProgress::Read(text, progress) : cProgressRead::Damaged;
    if (r == cProgressRead::Damaged) {
        // Another game may be saving this very moment: look again under the
        // lock before moving anything aside.
        tideWithLock(path, [&] {
            read = tideReadFile(path, text, kTideTextCap);
            r = read ? cProgress::Read(text, progress) : cProgressRead::Damaged;
            if (r != cProgressRead::Damaged) return;
            progress = cProgress();
            if (read)
                SetAside(tide, path, "is damaged", kStartAnew);
            else if (!read.Missing())
                SetAside(tide, path, "cannot be read (" + read.why + ")", kStartAnew);
        });
    }
    if (r == cProgressRead::Newer) {
        // Left as it is: a newer game wrote it and may need what we cannot read.
        progressReadOnly = true;
        tide->System_Log("progress: %s is from a newer version of the game; it is read but "
                         "not written over, so nothing won in this game is saved",
                         path.c_str());
    }
}

void cGame::SaveProgress() {
    if (progressReadOnly) return;
    // The user's data folder, made on the first save.
    std::string path = UserFile(TIDE_USERDATADIR, kProgressFile, true);
    if (path.empty()) {
        tide->System_Log("progress: cannot write %s: no folder for it", kProgressFile);
        return;
    }
    // Another game running beside this one may have saved since this one
    // read the file: its wins are kept, and this game learns them too. A
    // newer game's file is never written over.
    tideFileStatus st = tideUpdateFile(path, kTideTextCap, [&](std::string& text, bool exists) {
        cProgress saved;
        cProgressRead r = exists ? cProgress::Read(text, saved) : cProgressRead::Ok;
        if (r == cProgressRead::Newer) {
            progressReadOnly = true;
            tide->System_Log("progress: %s was saved by a newer version of the game meanwhile; "
                             "it is not written over",
                             path.c_str());
            return false;
        }
        if (r == cProgressRead::Damaged) SetAside(tide, path, "is damaged", "saved anew");
        progress = cProgress::Merge(progress, saved);
        text = progress.Text();
        return true;
    });
    if (!st) tide->System_Log("progress: cannot write %s", st.why.c_str());
}

bool cGame::LevelOpen(int n) const {
    const cLevelInfo* l = campaign.Level(n);
    if (!l) return false;
    if (n == 1 || progress.Won(l->key)) return true;
    return progress.Won(campaign.Level(n - 1)->key);
}

int cGame::MaxOpenLevel() const {
    int open = 0;
    for (int n = 1; n <= campaign.Count(); ++n)
        if (LevelOpen(n)) open = n;
    return open;
}

void cGame::WinLevel(int stars) {
    const cLevelInfo* l = campaign.Level(curlvl);
    if (!l) return;
    bool changed = progress.Win(l->key);
    // Stars are kept by the difficulty the battle was played at.
    changed = progress.RecordStars(l->key, battle.difficulty, stars) || changed;
    if (changed) SaveProgress();
}
