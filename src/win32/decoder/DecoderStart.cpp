#include "win32/decoder/DecoderStart.h"

#include <cstdint>
#include <cwchar>
#include <memory>
#include <vector>

#include "win32/decoder/DecoderChannel.h"

namespace glimra::win32 {
namespace {

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

// A job that ends its process when the program closes it (or ends), bounds its memory and
// lets no fault in it wait for a debugger.
ScopedHandle MakeJob(size_t memoryBytes) {
    ScopedHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE |
                                              JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION |
                                              JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    limits.ProcessMemoryLimit = memoryBytes;
    if (!SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof(limits))) {
        job.Reset();
    }
    return job;
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

}  // namespace

StartedDecoder StartDecoder(const std::wstring& program, const std::wstring& channel,
                            std::span<const HANDLE> inherited, size_t memoryBytes,
                            const StartCalls& calls) {
    StartedDecoder started;
    started.job = MakeJob(memoryBytes);
    if (!started.job) return {};
    std::vector<HANDLE> handed(inherited.begin(), inherited.end());
    // The DLLs of the system's names are loaded from the system folder before any other; a
    // system that does not know this policy refuses the start, and the decoder starts
    // without it (its own first act sets the same search order).
    DWORD64 policy = PROCESS_CREATION_MITIGATION_POLICY_IMAGE_LOAD_PREFER_SYSTEM32_ALWAYS_ON;
    std::vector<wchar_t> environment = EnvironmentWith(channel);
    const std::wstring folder = SystemFolder();
    std::wstring commandLine = L"\"" + program + L"\"";
    PROCESS_INFORMATION made{};
    bool madeIt = false;
    for (const bool withPolicy : {true, false}) {
        AttributeList list(withPolicy ? 2 : 1);
        if (!list.Get()) return {};
        // Only the channel's handles go to the decoder; without that list, no decoder.
        if (!calls.listHandles(list.Get(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handed.data(),
                               handed.size() * sizeof(HANDLE), nullptr, nullptr)) {
            return {};
        }
        if (withPolicy &&
            !UpdateProcThreadAttribute(list.Get(), 0, PROC_THREAD_ATTRIBUTE_MITIGATION_POLICY,
                                       &policy, sizeof(policy), nullptr, nullptr)) {
            continue;
        }
        STARTUPINFOEXW startup{};
        startup.StartupInfo.cb = sizeof(startup);
        // No busy pointer while it starts: the decoder shows nothing.
        startup.StartupInfo.dwFlags = STARTF_FORCEOFFFEEDBACK;
        startup.lpAttributeList = list.Get();
        for (const HANDLE handle : handed)
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        madeIt = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW |
                                    EXTENDED_STARTUPINFO_PRESENT,
                                environment.data(), folder.empty() ? nullptr : folder.c_str(),
                                &startup.StartupInfo, &made);
        // Inheritable no longer: no other process the program starts gets them.
        for (const HANDLE handle : handed)
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
        if (madeIt) break;
    }
    if (!madeIt) return {};
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
