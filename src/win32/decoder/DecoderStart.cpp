#include "win32/decoder/DecoderStart.h"

#include <cstdint>
#include <cwchar>
#include <memory>
#include <utility>
#include <vector>

#include "win32/decoder/DecoderChannel.h"
#include "win32/decoder/DecoderJob.h"
#include "win32/decoder/DecoderMitigations.h"
#include "win32/decoder/DecoderToken.h"

namespace glimra::win32 {
namespace {

constexpr DecoderLevels kTokenLevels = kRestrictedToken | kUntrustedIntegrity | kLowIntegrity;

// The program's environment with the channel's variable set to `value`.
std::vector<wchar_t> EnvironmentWith(const std::wstring& value) {
    std::vector<wchar_t> block;
    const std::wstring prefix = std::wstring(kDecoderVariable) + L"=";
    if (wchar_t* strings = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = strings; *entry; entry += std::wcslen(entry) + 1) {
            if (_wcsnicmp(entry, prefix.c_str(), prefix.size()) == 0) continue;
            block.insert(block.end(), entry, entry + std::wcslen(entry) + 1);
        }
        FreeEnvironmentStringsW(strings);
    }
    const std::wstring ours = prefix + value;
    block.insert(block.end(), ours.c_str(), ours.c_str() + ours.size() + 1);
    block.push_back(L'\0');
    return block;
}

// The system folder, where the decoder starts: the folder a process starts in is searched for
// DLLs, and the program's own may hold anything anyone put there.
std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

class AttributeList {
  public:
    explicit AttributeList(DWORD count) {
        SIZE_T bytes = 0;
        InitializeProcThreadAttributeList(nullptr, count, 0, &bytes);
        memory_ = std::make_unique<std::uint8_t[]>(bytes);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(memory_.get());
        if (InitializeProcThreadAttributeList(list, count, 0, &bytes)) list_ = list;
    }
    ~AttributeList() {
        if (list_) DeleteProcThreadAttributeList(list_);
    }
    AttributeList(const AttributeList&) = delete;
    AttributeList& operator=(const AttributeList&) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return list_; }

  private:
    std::unique_ptr<std::uint8_t[]> memory_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// Whether `process` is held by `job`, as the system tells after it said it put it there.
bool InJob(HANDLE process, HANDLE job) {
    BOOL inside = FALSE;
    return IsProcessInJob(process, job, &inside) && inside;
}

// What a start asks of the system beyond the job: each may be refused, and goes alone.
struct Asked {
    DecoderLevels levels;
    bool preferSystem32 = true;  // asked of every decoder, not a level of the ladder

    // The next thing to go when the system refuses a start with all of them, and whether
    // anything was left to drop.
    bool DropOne(StartedDecoder& started) {
        for (const DecoderLevel level : {kMitigations, kNoChildren}) {
            if (levels & level) {
                levels &= ~level;
                return true;
            }
        }
        if (levels & kTokenLevels) {
            levels &= ~kTokenLevels;
            return true;
        }
        if (levels & kOwnDesktop) {
            levels &= ~kOwnDesktop;
            started.desktop.Reset();
            return true;
        }
        return std::exchange(preferSystem32, false);
    }
};

}  // namespace

StartedDecoder StartDecoder(const std::wstring& program, const std::wstring& channel,
                            std::span<const HANDLE> inherited, size_t memoryBytes,
                            DecoderLevels levels, const StartCalls& calls) {
    StartedDecoder started;
    Asked asked{levels};
    started.job = MakeDecoderJob(memoryBytes, asked.levels);
    if (!started.job) return {};
    const ScopedHandle token = DecoderToken(asked.levels);
    std::wstring desktopName;
    if (asked.levels & kOwnDesktop) {
        DecoderDesktop desktop = MakeDecoderDesktop(asked.levels);
        if (desktop.desktop) {
            started.desktop = std::move(desktop.desktop);
        } else {
            asked.levels &= ~kOwnDesktop;
        }
        desktopName = std::move(desktop.name);
    }
    std::vector<HANDLE> handed(inherited.begin(), inherited.end());
    std::vector<wchar_t> environment = EnvironmentWith(channel);
    const std::wstring folder = SystemFolder();
    std::wstring commandLine = L"\"" + program + L"\"";
    PROCESS_INFORMATION made{};
    for (;;) {
        AttributeList list(3);
        if (!list.Get()) return {};
        // Only the channel's handles go to the decoder; without that list, no decoder.
        if (!calls.updateAttribute(list.Get(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handed.data(),
                                   handed.size() * sizeof(HANDLE), nullptr, nullptr)) {
            return {};
        }
        DWORD64 policy = MitigationPolicy(asked.levels);
        if (asked.preferSystem32 &&
            !calls.updateAttribute(list.Get(), 0, PROC_THREAD_ATTRIBUTE_MITIGATION_POLICY, &policy,
                                   sizeof(policy), nullptr, nullptr)) {
            // Refused with the others, the others go first; alone, it goes.
            if (asked.levels & kMitigations) {
                asked.levels &= ~kMitigations;
            } else {
                asked.preferSystem32 = false;
            }
            continue;
        }
        DWORD children = kChildProcessPolicy;
        if ((asked.levels & kNoChildren) &&
            !calls.updateAttribute(list.Get(), 0, PROC_THREAD_ATTRIBUTE_CHILD_PROCESS_POLICY,
                                   &children, sizeof(children), nullptr, nullptr)) {
            asked.levels &= ~kNoChildren;
            continue;
        }
        STARTUPINFOEXW startup{};
        startup.StartupInfo.cb = sizeof(startup);
        // No busy pointer while it starts: the decoder shows nothing.
        startup.StartupInfo.dwFlags = STARTF_FORCEOFFFEEDBACK;
        startup.lpAttributeList = list.Get();
        if (started.desktop) startup.StartupInfo.lpDesktop = desktopName.data();
        for (const HANDLE handle : handed)
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        const DWORD flags = CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW |
                            EXTENDED_STARTUPINFO_PRESENT;
        const wchar_t* const in = folder.empty() ? nullptr : folder.c_str();
        const bool madeIt =
            (asked.levels & kTokenLevels) && token
                ? CreateProcessAsUserW(token.Get(), program.c_str(), commandLine.data(), nullptr,
                                       nullptr, TRUE, flags, environment.data(), in,
                                       &startup.StartupInfo, &made)
                : CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                                 environment.data(), in, &startup.StartupInfo, &made);
        // Inheritable no longer: no other process the program starts gets them.
        for (const HANDLE handle : handed)
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
        if (madeIt) break;
        if (!asked.DropOne(started)) return {};
    }
    if (!token) asked.levels &= ~kTokenLevels;
    started.levels = asked.levels;
    started.process.Reset(made.hProcess);
    ScopedHandle thread(made.hThread);
    if (!calls.assignToJob(started.job.Get(), made.hProcess) ||
        !InJob(made.hProcess, started.job.Get())) {
        // Unbounded, it would be no decoder of ours: it ends before it ran.
        TerminateProcess(made.hProcess, 1);
        WaitForSingleObject(made.hProcess, 2000);
        return {};
    }
    ResumeThread(thread.Get());
    return started;
}

}  // namespace glimra::win32
