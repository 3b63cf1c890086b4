#include "engine/paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool exists(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0;
}

bool isDir(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string join(const std::string& dir, const std::string& part) {
    if (dir.empty()) return part;
    if (dir.back() == '/') return dir + part;
    return dir + "/" + part;
}

// The entry of `dir` equal to `part` ignoring case; the smallest such name
// when there are several, so the choice does not depend on directory order.
std::string findNoCase(const std::string& dir, const std::string& part) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return "";
    std::string best;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, part.c_str()) == 0 && (best.empty() || best > e->d_name))
            best = e->d_name;
    }
    closedir(d);
    return best;
}

// Every entry of `dir` equal to `part` ignoring case, the exact spelling
// first, then in name order.
std::vector<std::string> findAllNoCase(const std::string& dir, const std::string& part) {
    std::vector<std::string> out;
    if (exists(join(dir, part))) out.push_back(part);
    if (part == "..") return out;
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return out;
    std::vector<std::string> others;
    while (dirent* e = readdir(d))
        if (strcasecmp(e->d_name, part.c_str()) == 0 && part != e->d_name) others.push_back(e->d_name);
    closedir(d);
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

std::string exeDir() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return "";
    buf[n] = 0;
    std::string p(buf);
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "" : p.substr(0, slash);
}

std::string cwd() {
    char buf[PATH_MAX];
    return getcwd(buf, sizeof(buf)) ? std::string(buf) : std::string(".");
}

}  // namespace

bool tideIsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string tideResolvePath(const std::string& base, const char* name, bool forWrite) {
    if (!name || !*name) return "";
    std::string n(name);
    for (char& c : n)
        if (c == '\\') c = '/';

    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= n.size()) {
        size_t j = n.find('/', i);
        if (j == std::string::npos) j = n.size();
        std::string part = n.substr(i, j - i);
        if (!part.empty() && part != ".") parts.push_back(part);
        i = j + 1;
    }
    if (parts.empty()) return "";

    std::string root = n[0] == '/' ? std::string("/") : base;
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
    std::string exe = exeDir();
    if (!exe.empty()) {
        candidates.push_back(join(exe, "data"));
        candidates.push_back(join(exe, "../share/thalomir"));
    }
    if (installDir && *installDir) candidates.push_back(installDir);
    std::string here = cwd();
    candidates.push_back(join(here, "data"));
    candidates.push_back(here);
    return candidates;
}

std::string tidePickDataPath(const std::vector<std::string>& candidates) {
    for (const std::string& c : candidates)
        if (isDir(c) && !findNoCase(c, "res").empty()) return c;
    return cwd();
}

std::string tideFindDataPath(const char* installDir) {
    return tidePickDataPath(tideDataPathCandidates(installDir));
}

namespace {

// An XDG base folder: the variable when it holds an absolute path, else
// `fallback` under the home folder; "" when neither can be had.
std::string xdgBase(const char* var, const char* fallback) {
    if (const char* v = getenv(var); v && v[0] == '/') return v;
    if (const char* home = getenv("HOME"); home && home[0] == '/') return join(home, fallback);
    return "";
}

}  // namespace

std::string tideUserDir(tideUserKind kind, bool portable, const std::string& dataPath) {
    if (portable || tidePortableMarker()) {
        if (kind == tideUserKind::State) return dataPath;
        // Spelled as the game names its files ("Res\\config.txt"), found in any case.
        std::string res = tideResolvePath(dataPath, "Res", false);
        return res.empty() ? join(dataPath, "Res") : res;
    }
    std::string base;
    switch (kind) {
    case tideUserKind::Config: base = xdgBase("XDG_CONFIG_HOME", ".config"); break;
    case tideUserKind::Data: base = xdgBase("XDG_DATA_HOME", ".local/share"); break;
    case tideUserKind::State: base = xdgBase("XDG_STATE_HOME", ".local/state"); break;
    }
    return base.empty() ? "" : join(base, "thalomir");
}

bool tidePortableMarker() {
    std::string exe = exeDir();
    return !exe.empty() && exists(join(exe, "portable"));
}

bool tideMakeUserDir(const std::string& dir) {
    if (dir.empty()) return false;
    std::string cur;
    size_t i = 0;
    while (i <= dir.size()) {
        size_t j = dir.find('/', i);
        if (j == std::string::npos) j = dir.size();
        cur = dir.substr(0, j);
        if (!cur.empty() && !isDir(cur) && mkdir(cur.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        i = j + 1;
    }
    return isDir(dir);
}
