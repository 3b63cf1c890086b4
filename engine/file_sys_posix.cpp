// The file layer's host calls on POSIX systems (Linux, and the browser's
// Emscripten file system).
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "engine/file_sys.h"
#include "engine/paths.h"

namespace tideSys {
namespace {

int Fd(Handle h) { return static_cast<int>(h); }

// Errors of calls interrupted by a signal are retried, not reported.
template <class Call>
auto Retry(Call call) {
    decltype(call()) r;
    do r = call();
    while (r < 0 && errno == EINTR);
    return r;
}

void Fill(const struct stat& st, Info& out) {
    out = Info();
    out.regular = S_ISREG(st.st_mode);
    out.folder = S_ISDIR(st.st_mode);
    out.link = S_ISLNK(st.st_mode);
    out.mode = st.st_mode & 07777;
    // Root may write anything, but a file nobody is meant to write is still read-only.
    out.readOnly = (st.st_mode & 0222) == 0;
    out.size = static_cast<std::uint64_t>(st.st_size);
    out.stamp[0] = static_cast<std::uint64_t>(st.st_dev);
    out.stamp[1] = static_cast<std::uint64_t>(st.st_ino);
    out.stamp[2] = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000ull +
                   static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
}

// Opens with `flags` (O_NONBLOCK among them, so a FIFO never waits for its
// other end) and keeps the descriptor only for a regular file.
int OpenRegular(const std::string& path, int flags, mode_t mode, Handle& h, struct stat& st) {
    h = kNoHandle;
    int fd = Retry([&] { return open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode); });
    if (fd < 0) return errno;
    if (fstat(fd, &st) != 0) {
        int err = errno;
        close(fd);
        return err;
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        return S_ISDIR(st.st_mode) ? EISDIR : kNotRegular;
    }
    h = fd;
    return 0;
}

}  // namespace

int Stat(const std::string& path, bool follow, Info& out) {
    struct stat st;
    if ((follow ? stat(path.c_str(), &st) : lstat(path.c_str(), &st)) != 0) return errno;
    Fill(st, out);
    if (out.regular && access(path.c_str(), W_OK) != 0 && errno == EACCES) out.readOnly = true;
    return 0;
}

int FinalName(const std::string& path, std::string& out) {
    out = path;
    // As many links as the system itself follows before giving up.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(out.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode)) return 0;
        char buf[PATH_MAX];
        ssize_t n = readlink(out.c_str(), buf, sizeof buf - 1);
        if (n < 0) return errno;
        std::string target(buf, static_cast<size_t>(n));
        if (target.empty()) return ENOENT;
        if (target[0] != '/') {
            size_t slash = out.rfind('/');
            if (slash != std::string::npos) target = out.substr(0, slash + 1) + target;
        }
        out = target;
    }
    return ELOOP;
}

int OpenRead(const std::string& path, Handle& h, std::uint64_t& size) {
    h = kNoHandle;
    // A device is not even opened: opening some has effects of its own.
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return errno;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (!S_ISREG(st.st_mode)) return kNotRegular;
    int err = OpenRegular(path, O_RDONLY, 0, h, st);
    size = err ? 0 : static_cast<std::uint64_t>(st.st_size);
    return err;
}

int Read(Handle h, char* buf, std::size_t n, std::size_t& got) {
    ssize_t r = Retry([&] { return read(Fd(h), buf, n); });
    got = r > 0 ? static_cast<std::size_t>(r) : 0;
    return r < 0 ? errno : 0;
}

int CreateNew(const std::string& path, unsigned mode, Handle& h) {
    h = kNoHandle;
    int fd = Retry([&] {
        return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    });
    if (fd < 0) return errno;
    // Exactly the bits asked for, whatever the umask; a file system without
    // modes keeps its own.
    (void)fchmod(fd, static_cast<mode_t>(mode));
    h = fd;
    return 0;
}

int OpenLog(const std::string& path, std::FILE*& out) {
    out = nullptr;
    struct stat st;
    Handle h;
    int err = OpenRegular(path, O_WRONLY | O_CREAT | O_NOFOLLOW, 0600, h, st);
    if (err) return err;
    if (ftruncate(Fd(h), 0) != 0 || !(out = fdopen(Fd(h), "w"))) {
        err = errno;
        close(Fd(h));
    }
    return err;
}

int Write(Handle h, const char* data, std::size_t n) {
    while (n > 0) {
        ssize_t w = Retry([&] { return write(Fd(h), data, n); });
        if (w < 0) return errno;
        if (w == 0) return EIO;
        data += w;
        n -= static_cast<std::size_t>(w);
    }
    return 0;
}

int Sync(Handle h) { return Retry([&] { return fsync(Fd(h)); }) == 0 ? 0 : errno; }

int Close(Handle h) {
    // Linux closes the descriptor even when close reports an error: no retry.
    return close(Fd(h)) == 0 ? 0 : errno;
}

int Replace(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int MoveNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
    // A file system that cannot refuse for us: look first.
    struct stat st;
    if (lstat(to.c_str(), &st) == 0) return EEXIST;
    return Replace(from, to);
}

int Remove(const std::string& path) { return unlink(path.c_str()) == 0 ? 0 : errno; }

int SyncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = Retry([&] { return fsync(fd); }) == 0 ? 0 : errno;
    close(fd);
    return err;
}

int List(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
    out.clear();
    DIR* d = opendir(folder.c_str());
    if (!d) return errno;
    while (dirent* e = readdir(d))
        if (std::string name = e->d_name; name.compare(0, prefix.size(), prefix) == 0)
            out.push_back(name);
    closedir(d);
    return 0;
}

int Lock(const std::string& path, Handle& h) {
    struct stat st;
    int err = OpenRegular(path, O_RDWR | O_CREAT | O_NOFOLLOW, 0600, h, st);
    if (err) return err;
    if (Retry([&] { return flock(Fd(h), LOCK_EX); }) != 0) {
        err = errno;
        close(Fd(h));
        h = kNoHandle;
    }
    return err;
}

void Unlock(Handle h) {
    // Closing the file lets the lock go.
    if (h != kNoHandle) close(Fd(h));
}

std::vector<std::string> ProgramArgs(int argc, const char* const* argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
    return args;
}

std::string ProgramFolder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return "";
    std::string p(buf, static_cast<size_t>(n));
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "" : p.substr(0, slash);
}

std::string WorkingFolder() {
    char buf[PATH_MAX];
    return getcwd(buf, sizeof(buf)) ? std::string(buf) : std::string(".");
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || RootLength(path) > 0) return path;
    std::string here = WorkingFolder();
    if (here == ".") return path;
    return here.back() == '/' ? here + path : here + "/" + path;
}

int MakeFolder(const std::string& path) { return mkdir(path.c_str(), 0700) == 0 ? 0 : errno; }

std::size_t RootLength(const std::string& path) { return !path.empty() && path[0] == '/' ? 1 : 0; }

std::string UserBase(tideUserKind kind) {
    const char* var = "XDG_CONFIG_HOME";
    const char* fallback = ".config";
    if (kind == tideUserKind::Data) {
        var = "XDG_DATA_HOME";
        fallback = ".local/share";
    } else if (kind == tideUserKind::State) {
        var = "XDG_STATE_HOME";
        fallback = ".local/state";
    }
    if (const char* v = getenv(var); v && v[0] == '/') return v;
    if (const char* home = getenv("HOME"); home && home[0] == '/') return std::string(home) + "/" + fallback;
    return "";
}

}  // namespace tideSys
