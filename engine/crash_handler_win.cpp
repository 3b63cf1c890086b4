// Crash reports on Windows: an unhandled structured exception (access
// violation, division by zero, illegal instruction, stack overflow, ...) or
// abort() writes the exception's name and code and a backtrace, each frame as
// module+offset with the nearest exported name, to the log and to stderr; the
// process then ends with the exception code as its exit status, so Windows
// still sees a crash.
#include <windows.h>

#include <io.h>

#include <atomic>
#include <csignal>
#include <cstring>

#include "engine/crash_handler.h"

namespace {

constexpr int kMaxFrames = 64;
// abort() ends a Windows process with status 3.
constexpr DWORD kAbortStatus = 3;

std::atomic<HANDLE> logHandle{INVALID_HANDLE_VALUE};
bool installed = false;

const char* ExceptionName(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION: return "EXCEPTION_ACCESS_VIOLATION";
        case EXCEPTION_IN_PAGE_ERROR: return "EXCEPTION_IN_PAGE_ERROR";
        case EXCEPTION_INT_DIVIDE_BY_ZERO: return "EXCEPTION_INT_DIVIDE_BY_ZERO";
        case EXCEPTION_INT_OVERFLOW: return "EXCEPTION_INT_OVERFLOW";
        case EXCEPTION_ILLEGAL_INSTRUCTION: return "EXCEPTION_ILLEGAL_INSTRUCTION";
        case EXCEPTION_PRIV_INSTRUCTION: return "EXCEPTION_PRIV_INSTRUCTION";
        case EXCEPTION_STACK_OVERFLOW: return "EXCEPTION_STACK_OVERFLOW";
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED: return "EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
        case EXCEPTION_DATATYPE_MISALIGNMENT: return "EXCEPTION_DATATYPE_MISALIGNMENT";
        case EXCEPTION_FLT_DIVIDE_BY_ZERO: return "EXCEPTION_FLT_DIVIDE_BY_ZERO";
        case EXCEPTION_FLT_INVALID_OPERATION: return "EXCEPTION_FLT_INVALID_OPERATION";
        case EXCEPTION_BREAKPOINT: return "EXCEPTION_BREAKPOINT";
        case EXCEPTION_NONCONTINUABLE_EXCEPTION: return "EXCEPTION_NONCONTINUABLE_EXCEPTION";
    }
    return "exception";
}

// No allocation and no C runtime streams from here on: the heap or the
// runtime may be what broke.
class Writer {
public:
    void Put(const char* s) {
        for (; *s; ++s) Char(*s);
    }
    void Hex(unsigned long long v) {
        char buf[20];
        int n = 0;
        do {
            buf[n++] = "0123456789abcdef"[v & 15];
            v >>= 4;
        } while (v);
        Put("0x");
        while (n) Char(buf[--n]);
    }
    void Flush() {
        for (HANDLE h : {logHandle.load(), GetStdHandle(STD_ERROR_HANDLE)}) {
            DWORD written;
            if (h && h != INVALID_HANDLE_VALUE) WriteFile(h, text, DWORD(len), &written, nullptr);
        }
        len = 0;
    }

private:
    void Char(char c) {
        if (len == sizeof text) Flush();
        text[len++] = c;
    }
    char text[512];
    size_t len = 0;
};

// The exported name at or before `offset` in the module at `base` (the game
// and the tests export their functions for this), or nullptr.
const char* NearestExport(const BYTE* base, DWORD offset, DWORD* nameOffset) {
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (!dir.VirtualAddress || !dir.Size) return nullptr;
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    auto ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    auto functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
    const char* best = nullptr;
    DWORD bestRva = 0;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        DWORD rva = functions[ordinals[i]];
        if (rva <= offset && rva >= bestRva) {
            bestRva = rva;
            best = reinterpret_cast<const char*>(base + names[i]);
        }
    }
    if (best) *nameOffset = offset - bestRva;
    return best;
}

void Frame(Writer& w, DWORD64 address) {
    w.Put("  ");
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(address), &module)) {
        w.Hex(address);
        w.Put("\n");
        return;
    }
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    const char* name = path;
    for (DWORD i = 0; i < n; ++i)
        if (path[i] == '\\' || path[i] == '/') name = path + i + 1;
    const auto base = reinterpret_cast<const BYTE*>(module);
    const DWORD offset = DWORD(address - DWORD64(base));
    w.Put(n ? name : "?");
    w.Put("+");
    w.Hex(offset);
    DWORD within = 0;
    if (const char* symbol = NearestExport(base, offset, &within)) {
        w.Put(" (");
        w.Put(symbol);
        w.Put("+");
        w.Hex(within);
        w.Put(")");
    }
    w.Put("\n");
}

// Walks the stack from the faulting instruction with the x64 unwind tables,
// leaving out the first `skip` frames.
void Backtrace(Writer& w, CONTEXT context, int skip = 0) {
    for (int i = 0; i < kMaxFrames + skip && context.Rip; ++i) {
        if (i >= skip) Frame(w, context.Rip);
        DWORD64 imageBase = 0;
        PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
        if (!function) {
            // A leaf function: the return address is on top of the stack.
            context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
            context.Rsp += 8;
            continue;
        }
        void* handlerData = nullptr;
        DWORD64 establisher = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData,
                         &establisher, nullptr);
    }
    w.Flush();
}

DWORD WINAPI Report(void* param) {
    const auto* info = static_cast<const EXCEPTION_POINTERS*>(param);
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    Writer w;
    w.Put("Crash: ");
    w.Put(ExceptionName(code));
    w.Put(" (");
    w.Hex(code);
    w.Put(")");
    if (code == EXCEPTION_ACCESS_VIOLATION && info->ExceptionRecord->NumberParameters >= 2) {
        w.Put(info->ExceptionRecord->ExceptionInformation[0] == 1 ? " writing " : " reading ");
        w.Hex(info->ExceptionRecord->ExceptionInformation[1]);
    }
    w.Put(", backtrace:\n");
    Backtrace(w, *info->ContextRecord);
    return 0;
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    // The report is written on a thread of its own: the crashing thread's
    // stack may be what ran out.
    if (HANDLE t = CreateThread(nullptr, 256 * 1024, Report, info, 0, nullptr)) {
        WaitForSingleObject(t, INFINITE);
        CloseHandle(t);
    } else {
        Report(info);
    }
    // Ended here rather than passed on: Windows Error Reporting (or Wine's
    // debugger) could hold a dialog up; the status still says crash.
    TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

void OnAbort(int) {
    Writer w;
    w.Put("Crash: SIGABRT (abort), backtrace:\n");
    CONTEXT context;
    RtlCaptureContext(&context);
    Backtrace(w, context, 1); // from the C runtime's raise() on
    TerminateProcess(GetCurrentProcess(), kAbortStatus);
}

} // namespace

void tideInstallCrashHandler() {
    if (installed) return;
    installed = true;
    // Room for the handler on this thread's stack when it overflows.
    ULONG guarantee = 64 * 1024;
    SetThreadStackGuarantee(&guarantee);
    SetUnhandledExceptionFilter(OnUnhandledException);
    // abort() (std::terminate too) raises SIGABRT first; the handler ends
    // the process before the C runtime can show its message box.
    std::signal(SIGABRT, OnAbort);
}

void tideCrashLogTo(int fd) {
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (fd >= 0) {
        auto h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
        if (h != INVALID_HANDLE_VALUE)
            DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS);
    }
    HANDLE old = logHandle.exchange(copy);
    if (old != INVALID_HANDLE_VALUE) CloseHandle(old);
}
