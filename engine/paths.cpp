#include "engine/paths.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <vector>

#include "engine/file_sys.h"

namespace {

bool exists(const std::string& p) {
    tideSys::Info info;
    return tideSys::Stat(p, true, info) == 0;
}

bool isDir(const std::string& p) {
    tideSys::Info info;
    return tideSys::Stat(p, true, info) == 0 && info.folder;
}

bool sameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string> names(const std::string& dir) {
    std::vector<std::string> out;
    tideSys::List(dir.empty() ? "." : dir, "", out);
    return out;
}

std::string join(const std::string& dir, const std::string& part) {
    if (dir.empty()) return part;
    if (dir.back() == '/') return dir + part;
    return dir + "/" + part;
}

// The entry of `dir` equal to `part` ignoring case; the smallest such name
// when there are several, so the choice does not depend on directory order.
std::string findNoCase(const std::string& dir, const std::string& part) {
    std::string best;
    for (const std::string& name : names(dir))
        if (sameNoCase(name, part) && (best.empty() || best > name)) best = name;
    return best;
}

// Every entry of `dir` equal to `part` ignoring case, the exact spelling
// first, then in name order.
std::vector<std::string> findAllNoCase(const std::string& dir, const std::string& part) {
    std::vector<std::string> out;
    if (exists(join(dir, part))) out.push_back(part);
    if (part == "..") return out;
    std::vector<std::string> others;
    for (const std::string& name : names(dir))
        if (sameNoCase(name, part) && part != name) others.push_back(name);
    std::sort(others.begin(), others.end());
    out.insert(out.end(), others.begin(), others.end());
    return out;
}

// The existing file `parts[k..]` under `dir`, trying each spelling of a
// folder in turn: "res" and "Res" may both exist with the file in either.
std::string findExisting(const std::string& dir, const std::vector<std::string>& parts, size_t k) {
    if (k == parts.size()) return dir;
    for (const std::string& match : findAllNoCase(dir, parts[k])) {
        std::string found = findExisting(join(dir, match), parts, k + 1);
        if (!found.empty()) return found;
    }
    return "";
}

}  // namespace

bool tideIsAbsolute(const std::string& path) { return tideSys::RootLength(path) > 0; }

std::string tideResolvePath(const std::string& base, const char* name, bool forWrite) {
    if (!name || !*name) return "";
    std::string n(name);
    for (char& c : n)
        if (c == '\\') c = '/';

    // An absolute name starts from its own root ("/", "C:/", "//server/share/").
    const size_t rootLength = tideSys::RootLength(n);
    std::vector<std::string> parts;
    size_t i = rootLength;
    while (i <= n.size()) {
        size_t j = n.find('/', i);
        if (j == std::string::npos) j = n.size();
        std::string part = n.substr(i, j - i);
        if (!part.empty() && part != ".") parts.push_back(part);
        i = j + 1;
    }
    if (parts.empty()) return "";

    std::string root = rootLength ? n.substr(0, rootLength) : base;
    std::string found = findExisting(root, parts, 0);
    if (!found.empty() || !forWrite) return found;

    std::string path = root;
    for (size_t k = 0; k < parts.size(); k++) {
        std::string direct = join(path, parts[k]);
        if (exists(direct)) {
            path = direct;
            continue;
        }
        std::string match = parts[k] == ".." ? "" : findNoCase(path, parts[k]);
        if (!match.empty()) {
            path = join(path, match);
            continue;
        }
        if (forWrite && k + 1 == parts.size()) return direct;
        return "";
    }
    return path;
}

std::vector<std::string> tideDataPathCandidates(const char* installDir) {
    std::vector<std::string> candidates;
    std::string exe = tideSys::ProgramFolder();
    if (!exe.empty()) {
        candidates.push_back(join(exe, "data"));
        candidates.push_back(join(exe, "../share/thalomir"));
    }
    if (installDir && *installDir) candidates.push_back(installDir);
    std::string here = tideSys::WorkingFolder();
    candidates.push_back(join(here, "data"));
    candidates.push_back(here);
    return candidates;
}

std::string tidePickDataPath(const std::vector<std::string>& candidates) {
    for (const std::string& c : candidates)
        if (isDir(c) && !findNoCase(c, "res").empty()) return c;
    return tideSys::WorkingFolder();
}

std::string tideFindDataPath(const char* installDir) {
    return tidePickDataPath(tideDataPathCandidates(installDir));
}

std::string tideUserDir(tideUserKind kind, bool portable, const std::string& dataPath) {
    if (portable || tidePortableMarker()) {
        if (kind == tideUserKind::State) return dataPath;
        // Spelled as the game names its files ("Res\\config.txt"), found in any case.
        std::string res = tideResolvePath(dataPath, "Res", false);
        return res.empty() ? join(dataPath, "Res") : res;
    }
    std::string base = tideSys::UserBase(kind);
    return base.empty() ? "" : join(base, "thalomir");
}

bool tidePortableMarker() {
    std::string exe = tideSys::ProgramFolder();
    return !exe.empty() && exists(join(exe, "portable"));
}

bool tideMakeUserDir(const std::string& dir) {
    if (dir.empty()) return false;
    std::string cur;
    size_t i = tideSys::RootLength(dir);
    while (i <= dir.size()) {
        size_t j = dir.find('/', i);
        if (j == std::string::npos) j = dir.size();
        cur = dir.substr(0, j);
        if (!cur.empty() && !isDir(cur) && tideSys::MakeFolder(cur) != 0 && !isDir(cur))
            return false;
        i = j + 1;
    }
    return isDir(dir);
}
