// UnderWine (tests/support/test_support.h), kept apart from test_support.cpp:
// <windows.h> and the engine's header both define DWORD.
#include <windows.h>

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
