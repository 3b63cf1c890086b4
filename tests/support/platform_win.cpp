// Windows forms of test_support.h's platform helpers, kept apart from
// test_support.cpp: <windows.h> and the engine's header both define DWORD.
#include <windows.h>

#include <string>

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool LockIsHeld(const std::string& path) {
    std::wstring wide(path.size(), L'\0');
    wide.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), wide.data(),
                                           int(wide.size()))));
    HANDLE f = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED at{};
    const bool taken = LockFileEx(f, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &at);
    if (taken) UnlockFileEx(f, 0, MAXDWORD, MAXDWORD, &at);
    const bool held = !taken && GetLastError() == ERROR_LOCK_VIOLATION;
    CloseHandle(f);
    return held;
}
