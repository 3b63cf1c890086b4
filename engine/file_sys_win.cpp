// The file layer's host calls on Windows: wide-character calls with the
// program's UTF-8 names converted at this boundary, files always binary,
// replacement with MoveFileExW (REPLACE_EXISTING | WRITE_THROUGH), locks with
// LockFileEx. Errors come back as errno values, as on POSIX systems.
#include <windows.h>
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

#include <io.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cwctype>

#include "engine/file_sys.h"
#include "engine/paths.h"

namespace tideSys {
namespace {

HANDLE Win(Handle h) { return reinterpret_cast<HANDLE>(h); }
Handle Ours(HANDLE h) { return reinterpret_cast<Handle>(h); }

int Errno(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_DIRECTORY: return ENOTDIR;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_PARAMETER: return EINVAL;
        case ERROR_NOT_SAME_DEVICE: return EXDEV;
        case ERROR_WRITE_PROTECT: return EROFS;
        case ERROR_CANT_RESOLVE_FILENAME: return ELOOP;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
    }
    return EIO;
}

int LastErrno() { return Errno(GetLastError()); }

// UTF-8 to the system's UTF-16. A long absolute name goes past MAX_PATH with
// the \\?\ form, which takes back slashes only.
std::wstring Wide(const std::string& path) {
    int n = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), w.data(), n);
    const bool drive = w.size() > 2 && w[1] == L':' && (w[2] == L'/' || w[2] == L'\\');
    if (drive && w.size() >= MAX_PATH - 12) {
        for (wchar_t& c : w)
            if (c == L'/') c = L'\\';
        w = L"\\\\?\\" + w;
    }
    return w;
}

std::string Utf8(const wchar_t* w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}

// A folder the system names, as the program writes paths: UTF-8 with
// forward slashes, no slash at the end.
std::string ProgramPath(const wchar_t* w) {
    std::string s = Utf8(w);
    for (char& c : s)
        if (c == '\\') c = '/';
    while (s.size() > RootLength(s) && s.back() == '/') s.pop_back();
    return s;
}

// Names Windows takes for devices in every folder ("con", "nul.txt",
// "COM1", ...): never opened, since opening some has effects of their own.
bool DeviceName(const std::string& path) {
    size_t start = path.find_last_of("/\\:");
    start = start == std::string::npos ? 0 : start + 1;
    std::string stem = path.substr(start, path.find('.', start) - start);
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = char(std::towupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" ||
        stem == "CONOUT$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

// Opens an existing name for its attributes only (folders too); with
// `follow` false a link is opened as itself.
HANDLE OpenForInfo(const std::string& path, bool follow) {
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       flags, nullptr);
}

// A handle of a regular file (on a disk, no folder, no link), or an error
// with the handle closed.
int KeepRegular(HANDLE h, Handle& out) {
    out = kNoHandle;
    BY_HANDLE_FILE_INFORMATION fi;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &fi)) {
        CloseHandle(h);
        return kNotRegular;
    }
    if (fi.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        CloseHandle(h);
        return EISDIR;
    }
    if (fi.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        CloseHandle(h);
        return ELOOP;
    }
    out = Ours(h);
    return 0;
}

// Replacing a file another program holds open (a virus scanner, an indexer)
// fails for a moment: tried again for up to a second.
template <class Call>
bool Patiently(Call call) {
    for (int tries = 0;; ++tries) {
        if (call()) return true;
        const DWORD e = GetLastError();
        if (tries == 50 || (e != ERROR_ACCESS_DENIED && e != ERROR_SHARING_VIOLATION)) return false;
        Sleep(20);
        SetLastError(e);
    }
}

}  // namespace

int Stat(const std::string& path, bool follow, Info& out) {
    out = Info();
    if (DeviceName(path)) return 0; // there, but neither a file nor a folder
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return LastErrno();
    const bool isLink = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
    BY_HANDLE_FILE_INFORMATION fi{};
    if (HANDLE h = OpenForInfo(path, follow || !isLink); h != INVALID_HANDLE_VALUE) {
        const bool disk = GetFileType(h) == FILE_TYPE_DISK;
        const bool got = GetFileInformationByHandle(h, &fi);
        CloseHandle(h);
        if (!disk) return 0;
        if (!got) return LastErrno();
    } else if (follow) {
        return LastErrno(); // a link to nothing
    } else {
        fi.dwFileAttributes = data.dwFileAttributes;
    }
    out.link = !follow && isLink;
    out.folder = !out.link && (fi.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    out.regular = !out.link && !out.folder;
    out.readOnly = fi.dwFileAttributes & FILE_ATTRIBUTE_READONLY;
    out.mode = out.readOnly ? 0444 : 0666;
    out.size = (std::uint64_t(fi.nFileSizeHigh) << 32) | fi.nFileSizeLow;
    out.stamp[0] = fi.dwVolumeSerialNumber;
    out.stamp[1] = (std::uint64_t(fi.nFileIndexHigh) << 32) | fi.nFileIndexLow;
    out.stamp[2] = (std::uint64_t(fi.ftLastWriteTime.dwHighDateTime) << 32) | fi.ftLastWriteTime.dwLowDateTime;
    return 0;
}

int FinalName(const std::string& path, std::string& out) {
    out = path;
    DWORD attrs = GetFileAttributesW(Wide(path).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : LastErrno();
    if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) return 0;
    HANDLE h = OpenForInfo(path, true);
    if (h == INVALID_HANDLE_VALUE) return LastErrno();
    wchar_t buf[32768];
    DWORD n = GetFinalPathNameByHandleW(h, buf, 32768, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(h);
    if (n == 0 || n >= 32768) return LastErrno();
    std::string name = Utf8(buf);
    if (name.rfind("\\\\?\\", 0) == 0 && name.rfind("\\\\?\\UNC\\", 0) != 0) name = name.substr(4);
    for (char& c : name)
        if (c == '\\') c = '/';
    out = name;
    return 0;
}

int OpenRead(const std::string& path, Handle& h, std::uint64_t& size) {
    h = kNoHandle;
    size = 0;
    if (DeviceName(path)) return kNotRegular;
    DWORD attrs = GetFileAttributesW(Wide(path).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return LastErrno();
    if (attrs & FILE_ATTRIBUTE_DIRECTORY) return EISDIR;
    // Shared for deleting: a reader never keeps a save from replacing the file.
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (f == INVALID_HANDLE_VALUE) return LastErrno();
    BY_HANDLE_FILE_INFORMATION fi;
    if (GetFileType(f) != FILE_TYPE_DISK || !GetFileInformationByHandle(f, &fi)) {
        CloseHandle(f);
        return kNotRegular;
    }
    size = (std::uint64_t(fi.nFileSizeHigh) << 32) | fi.nFileSizeLow;
    h = Ours(f);
    return 0;
}

int Read(Handle h, char* buf, std::size_t n, std::size_t& got) {
    DWORD r = 0;
    got = 0;
    if (!ReadFile(Win(h), buf, DWORD(n > 0x40000000 ? 0x40000000 : n), &r, nullptr)) return LastErrno();
    got = r;
    return 0;
}

int CreateNew(const std::string& path, unsigned mode, Handle& h) {
    h = kNoHandle;
    // CREATE_NEW fails on any name that is taken, a link to nothing included.
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           CREATE_NEW, (mode & 0222) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return LastErrno();
    h = Ours(f);
    return 0;
}

int OpenLog(const std::string& path, std::FILE*& out) {
    out = nullptr;
    if (DeviceName(path)) return kNotRegular;
    // Readable by others while the game runs (a text editor, a second game).
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (f == INVALID_HANDLE_VALUE) return LastErrno();
    Handle h;
    if (int err = KeepRegular(f, h)) return err;
    if (!SetEndOfFile(f)) {
        int err = LastErrno();
        CloseHandle(f);
        return err;
    }
    // Binary: the log's lines end as the program writes them.
    int fd = _open_osfhandle(h, _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(f);
        return EMFILE;
    }
    out = _fdopen(fd, "wb");
    if (!out) {
        _close(fd);
        return ENOMEM;
    }
    return 0;
}

int Write(Handle h, const char* data, std::size_t n) {
    while (n > 0) {
        DWORD w = 0;
        const DWORD want = DWORD(n > 0x40000000 ? 0x40000000 : n);
        if (!WriteFile(Win(h), data, want, &w, nullptr)) return LastErrno();
        if (w == 0) return EIO;
        data += w;
        n -= w;
    }
    return 0;
}

int Sync(Handle h) { return FlushFileBuffers(Win(h)) ? 0 : LastErrno(); }

int Close(Handle h) { return CloseHandle(Win(h)) ? 0 : LastErrno(); }

int Replace(const std::string& from, const std::string& to) {
    const std::wstring f = Wide(from), t = Wide(to);
    return Patiently([&] {
        return MoveFileExW(f.c_str(), t.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }) ? 0 : LastErrno();
}

int MoveNoReplace(const std::string& from, const std::string& to) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : LastErrno();
}

int Remove(const std::string& path) {
    const std::wstring w = Wide(path);
    return Patiently([&] { return DeleteFileW(w.c_str()); }) ? 0 : LastErrno();
}

// MOVEFILE_WRITE_THROUGH returns once the rename is on the disk.
int SyncFolder(const std::string&) { return 0; }

int List(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
    out.clear();
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileExW(Wide(folder + "/*").c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        // An empty match is no error: the folder exists but is empty.
        return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : LastErrno();
    }
    do {
        std::string name = Utf8(found.cFileName);
        if (name != "." && name != ".." && name.compare(0, prefix.size(), prefix) == 0)
            out.push_back(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return 0;
}

int Lock(const std::string& path, Handle& h) {
    h = kNoHandle;
    if (DeviceName(path)) return kNotRegular;
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (f == INVALID_HANDLE_VALUE) return LastErrno();
    if (int err = KeepRegular(f, h)) return err;
    // The whole file, exclusively, waiting: locks held through other handles
    // keep this one waiting, in this process as in others.
    OVERLAPPED at{};
    if (!LockFileEx(f, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &at)) {
        int err = LastErrno();
        CloseHandle(f);
        h = kNoHandle;
        return err;
    }
    return 0;
}

void Unlock(Handle h) {
    if (h == kNoHandle) return;
    OVERLAPPED at{};
    UnlockFileEx(Win(h), 0, MAXDWORD, MAXDWORD, &at);
    CloseHandle(Win(h));
}

std::vector<std::string> ProgramArgs(int argc, const char* const* argv) {
    std::vector<std::string> args;
    int n = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n)) {
        for (int i = 0; i < n; ++i) args.push_back(Utf8(wide[i]));
        LocalFree(wide);
    } else {
        for (int i = 0; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
    }
    return args;
}

std::string ProgramFolder() {
    std::wstring buf(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
    if (n == 0 || n >= buf.size()) return "";
    buf.resize(n);
    buf.resize(buf.find_last_of(L"\\/") == std::wstring::npos ? 0 : buf.find_last_of(L"\\/"));
    return ProgramPath(buf.c_str());
}

std::string WorkingFolder() {
    wchar_t buf[32768];
    DWORD n = GetCurrentDirectoryW(32768, buf);
    return n > 0 && n < 32768 ? ProgramPath(buf) : std::string(".");
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return path;
    std::wstring w = Wide(path);
    std::wstring buf(32768, L'\0');
    DWORD n = GetFullPathNameW(w.c_str(), DWORD(buf.size()), buf.data(), nullptr);
    if (n == 0 || n >= buf.size()) return path;
    buf.resize(n);
    // Wide() marks long names as such; the name handed back is a plain one.
    if (buf.rfind(L"\\\\?\\", 0) == 0) buf.erase(0, 4);
    return ProgramPath(buf.c_str());
}

// Inherits its rights from the user's own folder it is made in.
int MakeFolder(const std::string& path) { return CreateDirectoryW(Wide(path).c_str(), nullptr) ? 0 : LastErrno(); }

std::size_t RootLength(const std::string& path) {
    auto sep = [](char c) { return c == '/' || c == '\\'; };
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && sep(path[2]))
        return 3;
    if (path.size() >= 2 && sep(path[0]) && sep(path[1])) {
        // \\server\share\ (or \\?\C:\ and the like): up to the separator after the share.
        size_t server = path.find_first_of("/\\", 2);
        if (server == std::string::npos) return path.size();
        size_t share = path.find_first_of("/\\", server + 1);
        return share == std::string::npos ? path.size() : share + 1;
    }
    return !path.empty() && sep(path[0]) ? 1 : 0;
}

// The XDG variables when set (absolute), else the user's application data
// folders: %APPDATA% (roaming) for settings and progress, %LOCALAPPDATA%
// (this machine's) for the log.
std::string UserBase(tideUserKind kind) {
    const char* var = kind == tideUserKind::Config ? "XDG_CONFIG_HOME"
                      : kind == tideUserKind::Data ? "XDG_DATA_HOME"
                                                   : "XDG_STATE_HOME";
    // UTF-8 like every name here, the program's code page being UTF-8.
    if (const char* v = std::getenv(var); v && RootLength(v) > 0) return ProgramPath(Wide(v).c_str());
    const KNOWNFOLDERID& id = kind == tideUserKind::State ? FOLDERID_LocalAppData : FOLDERID_RoamingAppData;
    wchar_t* folder = nullptr;
    std::string base;
    // Made when missing (a new profile, a folder moved in the registry):
    // without it there would be nowhere to keep anything.
    if (SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &folder) == S_OK) base = ProgramPath(folder);
    CoTaskMemFree(folder);
    return base;
}

}  // namespace tideSys
