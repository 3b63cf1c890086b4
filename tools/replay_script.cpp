#include "tools/replay_script.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "engine/tide.h"
#include "engine/tide_headless.h"

namespace {

// A run longer than this (about 46 hours at 60 frames a second) is a typo.
const long kMaxFrame = 10000000;

// The whole word must be the number: a NUL byte inside it ends the C string
// early, so the end is checked against the word's own length.
bool ParseInt(const std::string& s, long lo, long hi, long& out) {
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (errno != 0 || end != s.c_str() + s.size() || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool ParseFloat(const std::string& s, float& out) {
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (errno != 0 || end != s.c_str() + s.size() || !std::isfinite(v) || std::fabs(v) > 1e6)
        return false;
    out = static_cast<float>(v);
    return true;
}

// A word of the script as messages show it: quoted, bytes that are not
// printable as \xNN, and cut short, since a broken script may hold binary
// junk or a line of megabytes.
std::string Quote(const std::string& w) {
    const std::size_t kShown = 40;
    std::string q = "'";
    for (std::size_t i = 0; i < w.size() && i < kShown; ++i) {
        unsigned char c = static_cast<unsigned char>(w[i]);
        if (c >= 0x20 && c < 0x7F) {
            q += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            q += hex;
        }
    }
    if (w.size() > kShown) q += "...";
    return q + "'";
}

// Snapshot names become file names inside the output folder: keep them plain.
bool ValidShotName(const std::string& s) {
    if (s.empty() || s.size() > 100 || s[0] == '.') return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == '.';
    });
}

struct Syntax {
    const char* word;
    ReplayCommand::Kind kind;
    size_t nargs;
    const char* usage;
};

const Syntax kSyntax[] = {
    {"move", ReplayCommand::Move, 2, "move X Y"},
    {"down", ReplayCommand::Down, 1, "down CODE"},
    {"up", ReplayCommand::Up, 1, "up CODE"},
    {"click", ReplayCommand::Click, 2, "click X Y"},
    {"shot", ReplayCommand::Shot, 1, "shot NAME"},
    {"state", ReplayCommand::State, 1, "state NAME"},
    {"end", ReplayCommand::End, 0, "end"},
};

// Parses one non-empty line's words; returns an empty string or what is wrong.
std::string ParseWords(const std::vector<std::string>& w, ReplayCommand& c) {
    long frame = 0;
    if (!ParseInt(w[0], 0, kMaxFrame, frame)) return "bad frame number " + Quote(w[0]);
    c.frame = static_cast<int>(frame);
    if (w.size() < 2) return "missing command";
    const Syntax* syn = nullptr;
    for (const Syntax& s : kSyntax)
        if (w[1] == s.word) syn = &s;
    if (!syn) return "unknown command " + Quote(w[1]);
    if (w.size() - 2 != syn->nargs) return std::string("expected '") + syn->usage + "'";
    c.kind = syn->kind;
    switch (c.kind) {
    case ReplayCommand::Move:
    case ReplayCommand::Click:
        if (!ParseFloat(w[2], c.x) || !ParseFloat(w[3], c.y)) return "bad coordinates";
        break;
    case ReplayCommand::Down:
    case ReplayCommand::Up: {
        long code = 0;
        if (!ParseInt(w[2], 1, 255, code)) return "bad key code " + Quote(w[2]) + " (1..255)";
        c.code = static_cast<int>(code);
        break;
    }
    case ReplayCommand::Shot:
    case ReplayCommand::State:
        if (!ValidShotName(w[2])) return "bad " + std::string(c.kind == ReplayCommand::Shot ? "snapshot" : "state") +
                                         " name " + Quote(w[2]) + " (letters, digits, _ - .)";
        c.name = w[2];
        break;
    case ReplayCommand::End:
        break;
    }
    return "";
}

}  // namespace

bool ReplayScript::Parse(const std::string& text, std::string& error) {
    cmds.clear();
    std::vector<ReplayCommand> out;
    std::istringstream in(text);
    std::string line;
    int lineno = 0;
    while (std::getline(in, line)) {
        ++lineno;
        line = line.substr(0, line.find('#'));
        std::istringstream ws(line);
        std::vector<std::string> words;
        for (std::string w; ws >> w;) words.push_back(w);
        if (words.empty()) continue;
        ReplayCommand c;
        c.line = lineno;
        std::string why = ParseWords(words, c);
        if (!why.empty()) {
            error = "line " + std::to_string(lineno) + ": " + why;
            return false;
        }
        out.push_back(c);
    }
    std::stable_sort(out.begin(), out.end(), ByFrame);
    cmds = std::move(out);
    return true;
}

std::pair<ReplayScript::Iter, ReplayScript::Iter> ReplayScript::At(int frame) const {
    ReplayCommand key;
    key.frame = frame;
    return std::equal_range(cmds.begin(), cmds.end(), key, ByFrame);
}

void ReplayScript::ApplyInput(int frame, tideHeadless* hl) const {
    auto prev = At(frame - 1);
    for (auto it = prev.first; it != prev.second; ++it)
        if (it->kind == ReplayCommand::Click) hl->Key(TIDEK_LBUTTON, false);
    auto now = At(frame);
    for (auto it = now.first; it != now.second; ++it) {
        switch (it->kind) {
        case ReplayCommand::Move:
            hl->SetMouse(it->x, it->y);
            break;
        case ReplayCommand::Click:
            hl->SetMouse(it->x, it->y);
            hl->Key(TIDEK_LBUTTON, true);
            break;
        case ReplayCommand::Down:
        case ReplayCommand::Up:
            hl->Key(it->code, it->kind == ReplayCommand::Down);
            break;
        default:
            break;
        }
    }
}

std::vector<std::string> ReplayScript::NamesAt(int frame, ReplayCommand::Kind kind) const {
    std::vector<std::string> names;
    auto now = At(frame);
    for (auto it = now.first; it != now.second; ++it)
        if (it->kind == kind) names.push_back(it->name);
    return names;
}

int ReplayScript::LastFrame() const {
    int last = -1;
    for (const ReplayCommand& c : cmds) {
        if (c.kind == ReplayCommand::End) return c.frame;
        last = std::max(last, c.kind == ReplayCommand::Click ? c.frame + 1 : c.frame);
    }
    return last;
}
