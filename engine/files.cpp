#include "engine/files.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "engine/file_sys.h"

std::function<void(tideSaveStep, const std::string&)> tideSaveHook;

namespace {

using tideSys::Handle;

const char* const kTempMark = ".tmp-";
const std::size_t kTempRandom = 8;

// Folders no file may be written under, with the reason.
std::map<std::string, std::string>& Refused() {
    static std::map<std::string, std::string> folders;
    return folders;
}

// A failure saying why `path` may not be written (`what` is what did not
// happen), or a status that is fine.
tideFileStatus Refusal(const std::string& path, const char* what) {
    for (const auto& [folder, why] : Refused())
        if (path.compare(0, folder.size(), folder) == 0 &&
            (path.size() == folder.size() || path[folder.size()] == '/'))
            return {EROFS, path + ": " + what + ", " + why};
    return {};
}

void Step(tideSaveStep step, const std::string& path) {
    if (tideSaveHook) tideSaveHook(step, path);
}

std::string Reason(int err) {
    if (err == tideSys::kNotRegular) return "not a regular file";
    if (err == EISDIR) return "a folder, not a file";
    return std::strerror(err);
}

tideFileStatus Failed(int err, const std::string& what) { return {err, what + ": " + Reason(err)}; }

std::string Folder(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Size(std::size_t bytes) {
    return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + " MiB" : std::to_string(bytes >> 10) + " KiB";
}

std::string RandomPart() {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 rng{std::random_device{}()};
    std::string s(kTempRandom, 'x');
    for (char& c : s) c = kChars[rng() % (sizeof kChars - 1)];
    return s;
}

// Creates a temporary file of its own beside `target`.
int CreateTemp(const std::string& target, unsigned mode, std::string& tmp, Handle& h) {
    int err = EEXIST;
    for (int tries = 0; tries < 100 && err == EEXIST; ++tries) {
        tmp = target + kTempMark + RandomPart();
        err = tideSys::CreateNew(tmp, mode, h);
    }
    return err;
}

// Temporary files a killed save of `target` left behind. Only called under
// the target's lock, when no save of it can be running.
void RemoveLeftovers(const std::string& target) {
    std::string prefix = BaseName(target) + kTempMark;
    std::vector<std::string> names;
    if (tideSys::List(Folder(target), prefix, names) != 0) return;
    for (const std::string& name : names)
        if (name.size() == prefix.size() + kTempRandom) tideSys::Remove(Folder(target) + "/" + name);
}

}  // namespace

tideFileStatus tideReadFile(const std::string& path, std::string& out, std::size_t cap) {
    out.clear();
    Handle h;
    std::uint64_t size = 0;
    if (int err = tideSys::OpenRead(path, h, size)) return Failed(err, path);
    tideFileStatus st;
    if (size > cap) {
        st = {EFBIG, path + ": larger than " + Size(cap) + ", not read"};
    } else {
        out.reserve(static_cast<std::size_t>(size));
        char buf[65536];
        for (;;) {
            std::size_t got = 0;
            if (int err = tideSys::Read(h, buf, sizeof buf, got)) {
                st = Failed(err, path);
                break;
            }
            if (got == 0) break;
            // A file that grows while it is read (or reports no size) is held to the cap too.
            if (out.size() + got > cap) {
                st = {EFBIG, path + ": larger than " + Size(cap) + ", not read"};
                break;
            }
            out.append(buf, got);
        }
    }
    tideSys::Close(h);
    if (!st) out.clear();
    return st;
}

void tideRefuseWritesUnder(const std::string& folder, const std::string& why) {
    if (folder.empty()) return;
    if (why.empty())
        Refused().erase(folder);
    else
        Refused()[folder] = why;
}

tideFileStatus tideWriteFileAtomic(const std::string& path, const std::string& contents) {
    return tideWriteFileAtomic(path, [&](const tideFileSink& out) { return out(contents.data(), contents.size()); });
}

tideFileStatus tideWriteFileAtomic(const std::string& path, const std::function<bool(const tideFileSink&)>& fill) {
    if (tideFileStatus refused = Refusal(path, "not written"); !refused) return refused;
    std::string target;
    if (int err = tideSys::FinalName(path, target)) return Failed(err, path);
    unsigned mode = 0600;
    tideSys::Info info;
    if (int err = tideSys::Stat(target, true, info); err == 0) {
        if (!info.regular) return Failed(info.folder ? EISDIR : tideSys::kNotRegular, target);
        if (info.readOnly) return {EACCES, target + ": read-only, not written"};
        mode = info.mode;
    } else if (err != ENOENT) {
        return Failed(err, target);
    }

    std::string tmp;
    Handle h;
    if (int err = CreateTemp(target, mode, tmp, h))
        return Failed(err, target + ": no temporary file beside it");
    Step(tideSaveStep::TempCreated, path);
    int err = 0;
    const tideFileSink sink = [&](const void* data, std::size_t size) {
        if (!err) err = tideSys::Write(h, static_cast<const char*>(data), size);
        return err == 0;
    };
    if (!fill(sink) && !err) err = EIO;
    if (!err) err = tideSys::Sync(h);
    if (int closed = tideSys::Close(h); !err) err = closed;
    if (!err) Step(tideSaveStep::BeforeRename, path);
    if (!err) err = tideSys::Replace(tmp, target);
    if (err) {
        tideSys::Remove(tmp);
        return Failed(err, target + ": not written");
    }
    // The rename is done and the save is good; this only makes it last through a power cut.
    tideSys::SyncFolder(Folder(target));
    Step(tideSaveStep::Renamed, path);
    return {};
}

tideFileStatus tideWithLock(const std::string& path, const std::function<void()>& work) {
    if (tideFileStatus refused = Refusal(path, "not written"); !refused) return refused;
    Handle h;
    std::string lock = path + ".lock";
    if (int err = tideSys::Lock(lock, h)) return Failed(err, lock);
    work();
    tideSys::Unlock(h);
    return {};
}

tideFileStatus tideUpdateFile(const std::string& path, std::size_t cap,
                              const std::function<bool(std::string&, bool)>& change) {
    tideFileStatus result;
    tideFileStatus locked = tideWithLock(path, [&] {
        Step(tideSaveStep::Locked, path);
        std::string target;
        if (tideSys::FinalName(path, target) == 0) RemoveLeftovers(target);
        std::string text;
        result = tideReadFile(path, text, cap);
        if (!result && !result.Missing()) return;
        bool exists = bool(result);
        result = {};
        if (change(text, exists)) result = tideWriteFileAtomic(path, text);
    });
    return locked ? result : locked;
}

tideFileStatus tideKeepAside(const std::string& path, std::string& keptAs) {
    if (tideFileStatus refused = Refusal(path, "not moved aside"); !refused) return refused;
    for (int n = 0; n < 1000; ++n) {
        keptAs = path + ".bad" + (n ? "." + std::to_string(n) : "");
        int err = tideSys::MoveNoReplace(path, keptAs);
        if (err == 0) return {};
        if (err != EEXIST && err != ENOTEMPTY) return Failed(err, path + ": not moved aside");
    }
    keptAs.clear();
    return {EEXIST, path + ": not moved aside, 1000 earlier copies are in the way"};
}

bool tideExists(const std::string& path) {
    tideSys::Info info;
    return tideSys::Stat(path, true, info) == 0;
}

tideFileStatus tideRemoveFile(const std::string& path) {
    if (tideFileStatus refused = Refusal(path, "not removed"); !refused) return refused;
    int err = tideSys::Remove(path);
    return err ? Failed(err, path + ": not removed") : tideFileStatus{};
}

bool tideIsFolder(const std::string& path) {
    tideSys::Info info;
    return tideSys::Stat(path, true, info) == 0 && info.folder;
}

std::string tideAbsolutePath(const std::string& path) { return tideSys::AbsolutePath(path); }

std::vector<std::string> tideProgramArgs(int argc, const char* const* argv) {
    return tideSys::ProgramArgs(argc, argv);
}

std::vector<std::string> tideListFolder(const std::string& folder) {
    std::vector<std::string> names;
    if (tideSys::List(folder, "", names) != 0) names.clear();
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& n) { return n == "." || n == ".."; }),
                names.end());
    return names;
}
