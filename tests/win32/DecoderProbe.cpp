// The probe the decoder double runs for a file that asks for it: every act a sandboxed decoder
// must not manage, tried in turn, and what the system did. Whatever it manages it undoes.
#include "win32/DecoderProbe.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "win32/base/Windows.h"

namespace {

std::string Outcome(bool done, DWORD error) {
    return done ? "done" : "refused (" + std::to_string(error) + ")";
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::string IntegrityLevel() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return "unknown";
    std::vector<std::uint8_t> label(256);
    DWORD bytes = 0;
    const bool told = GetTokenInformation(token, TokenIntegrityLevel, label.data(),
                                          static_cast<DWORD>(label.size()), &bytes);
    CloseHandle(token);
    if (!told) return "unknown";
    const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(label.data())->Label.Sid;
    return std::to_string(*GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1));
}

// How many privileges the token holds, and whether the administrators' group opens anything.
std::string TokenSummary() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return "unknown";
    DWORD bytes = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &bytes);
    std::vector<std::uint8_t> privileges(bytes ? bytes : 1);
    std::string summary = "unknown privileges";
    if (GetTokenInformation(token, TokenPrivileges, privileges.data(), bytes, &bytes))
        summary =
            std::to_string(reinterpret_cast<TOKEN_PRIVILEGES*>(privileges.data())->PrivilegeCount) +
            " privileges";
    GetTokenInformation(token, TokenGroups, nullptr, 0, &bytes);
    std::vector<std::uint8_t> groups(bytes ? bytes : 1);
    std::uint8_t admins[SECURITY_MAX_SID_SIZE];
    DWORD sidBytes = sizeof(admins);
    CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &sidBytes);
    std::string administrators = "absent";
    if (GetTokenInformation(token, TokenGroups, groups.data(), bytes, &bytes)) {
        const auto* list = reinterpret_cast<TOKEN_GROUPS*>(groups.data());
        for (DWORD i = 0; i < list->GroupCount; ++i)
            if (EqualSid(list->Groups[i].Sid, admins))
                administrators = (list->Groups[i].Attributes & SE_GROUP_USE_FOR_DENY_ONLY)
                                     ? "deny-only"
                                     : "enabled";
    }
    CloseHandle(token);
    return summary + ", administrators " + administrators;
}

std::string DesktopName() {
    wchar_t name[256] = {};
    DWORD bytes = 0;
    GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name,
                              sizeof(name) - sizeof(wchar_t), &bytes);
    return Narrow(name);
}

}  // namespace

std::string ProbeForbiddenActs(const std::string& order,
                               const glimra::win32::DecoderControl* block) {
    std::istringstream lines(order);
    std::string pid, window, caption;
    std::getline(lines, pid);
    std::getline(lines, window);
    std::getline(lines, caption);
    std::ostringstream out;
    out << "levels: " << (block ? block->levels : 0) << ", rung " << (block ? block->rung : 0)
        << ", integrity " << IntegrityLevel() << ", desktop " << DesktopName() << ", "
        << TokenSummary() << "\n";

    HANDLE program = OpenProcess(PROCESS_VM_WRITE | PROCESS_VM_OPERATION, FALSE,
                                 static_cast<DWORD>(std::strtoul(pid.c_str(), nullptr, 10)));
    out << "open the program for writing: " << Outcome(program != nullptr, GetLastError()) << "\n";
    if (program) CloseHandle(program);

    wchar_t profile[MAX_PATH] = {};
    GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    const std::wstring file = std::wstring(profile) + L"\\glimra-probe-" +
                              std::to_wstring(GetCurrentProcessId()) + L".txt";
    HANDLE written = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    out << "write a file in the user's profile: "
        << Outcome(written != INVALID_HANDLE_VALUE, GetLastError()) << "\n";
    if (written != INVALID_HANDLE_VALUE) {
        CloseHandle(written);
        DeleteFileW(file.c_str());
    }

    const std::wstring keyName =
        L"Software\\Glimra Probe " + std::to_wstring(GetCurrentProcessId());
    HKEY key = nullptr;
    const LONG made = RegCreateKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_WRITE,
                                      nullptr, &key, nullptr);
    out << "write HKCU: " << Outcome(made == ERROR_SUCCESS, static_cast<DWORD>(made)) << "\n";
    if (made == ERROR_SUCCESS) {
        RegCloseKey(key);
        RegDeleteKeyW(HKEY_CURRENT_USER, keyName.c_str());
    }

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(system) + L"\\cmd.exe\" /c exit 0";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                                        CREATE_NO_WINDOW, nullptr, system, &startup, &child);
    out << "start a process: " << Outcome(started, GetLastError()) << "\n";
    if (started) {
        if (WaitForSingleObject(child.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(child.hProcess, 1);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }

    const std::wstring wide(caption.begin(), caption.end());
    const HWND found = FindWindowW(nullptr, wide.c_str());
    out << "find the show's window: " << Outcome(found != nullptr, GetLastError()) << "\n";
    const auto show = reinterpret_cast<HWND>(
        static_cast<std::uintptr_t>(std::strtoull(window.c_str(), nullptr, 10)));
    out << "post to the show's window: "
        << Outcome(PostMessageW(show, WM_APP + 7, 0, 0), GetLastError()) << "\n";

    void* code = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    out << "allocate executable memory: " << Outcome(code != nullptr, GetLastError()) << "\n";
    if (code) VirtualFree(code, 0, MEM_RELEASE);
    return out.str();
}
