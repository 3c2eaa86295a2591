// A DLL that leaves a mark when a process loads it: "<its own path>.loaded". Copied beside the
// program under the names of system DLLs, it shows whether the program loads DLLs from its own
// folder. It exports the functions the program once imported from those DLLs (MarkerDll.def), so
// a program that imports them would load it and start.
#include <windows.h>

// Every export of MarkerDll.def: a call that fails.
extern "C" LONG_PTR Refused() {
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 16] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    lstrcatW(path, L".loaded");
    const HANDLE mark =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
    return TRUE;
}
