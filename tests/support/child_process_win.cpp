#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "tests/support/child_process.h"

namespace {

std::wstring Wide(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

// One argument quoted as the C runtime splits a command line back up.
std::wstring Quoted(const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\"") == std::wstring::npos) return a;
    std::wstring q = L"\"";
    size_t slashes = 0;
    for (wchar_t c : a) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        // Back slashes before a quote are doubled, and the quote escaped.
        q.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        q += c;
    }
    q.append(slashes * 2, L'\\');
    return q + L"\"";
}

double NowMs() { return double(GetTickCount64()); }

} // namespace

ChildProcess::~ChildProcess() {
    if (process) {
        Kill();
        Wait();
    }
    if (output) CloseHandle(output);
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                         unsigned seconds) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring line = Quoted(Wide(program));
    for (const std::string& a : args) line += L" " + Quoted(Wide(a));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = si.hStdError = writeEnd;
    PROCESS_INFORMATION pi{};
    const bool started = CreateProcessW(Wide(program).c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }
    CloseHandle(pi.hThread);
    process = pi.hProcess;
    output = readEnd;
    deadlineMs = NowMs() + seconds * 1000.0;
    return true;
}

std::string ChildProcess::Read(std::size_t n) {
    // Reads only what is there, so the time limit holds while nothing comes.
    std::string got;
    char buf[4096];
    while (got.size() < n) {
        DWORD avail = 0;
        if (!PeekNamedPipe(output, nullptr, 0, nullptr, &avail, nullptr)) break; // all writers gone
        if (avail == 0) {
            if (process && NowMs() > deadlineMs) Kill();
            Sleep(5);
            continue;
        }
        DWORD r = 0;
        DWORD want = DWORD(std::min<std::size_t>({sizeof buf, n - got.size(), avail}));
        if (!ReadFile(output, buf, want, &r, nullptr) || r == 0) break;
        got.append(buf, r);
    }
    out += got;
    return got;
}

bool ChildProcess::Kill() {
    if (!process) return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    if (running) {
        TerminateProcess(process, 137);
        killed = true;
        WaitForSingleObject(process, INFINITE);
    }
    Finish();
    return running;
}

void ChildProcess::Wait() {
    Read(SIZE_MAX);
    if (process) {
        WaitForSingleObject(process, INFINITE);
        Finish();
    }
}

void ChildProcess::Finish() {
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    process = nullptr;
    char hex[16];
    if (killed) {
        how = "killed";
    } else if (code >= 0xC0000000u) {
        crashed = true;
        snprintf(hex, sizeof hex, "0x%08lx", code);
        how = std::string("crashed: exception ") + hex;
    } else {
        exited = true;
        status = int(code);
        how = "exit status " + std::to_string(status);
    }
}

std::string TestProgram() {
    wchar_t buf[32768];
    DWORD n = GetModuleFileNameW(nullptr, buf, 32768);
    int len = WideCharToMultiByte(CP_UTF8, 0, buf, int(n), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(len), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buf, int(n), s.data(), len, nullptr, nullptr);
    return s;
}
