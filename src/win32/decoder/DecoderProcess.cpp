#include "win32/decoder/DecoderProcess.h"

#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>

namespace glimra::win32 {
namespace {

using Clock = std::chrono::steady_clock;
constexpr DWORD kPollMs = 50;  // how often a wait looks at the stop flag and the memory

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
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

std::uint64_t ValueOf(HANDLE handle) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace

DecoderProcess::DecoderProcess(std::wstring program, Limits limits, const std::atomic<bool>* stop)
    : program_(std::move(program)), limits_(limits), stop_(stop) {}

DecoderProcess::~DecoderProcess() {
    End();
}

bool DecoderProcess::Running() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

bool DecoderProcess::Start() {
    End();
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    control_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, &inherited, PAGE_READWRITE, 0,
                                      sizeof(DecoderControl), nullptr));
    requestReady_.Reset(CreateEventW(&inherited, FALSE, FALSE, nullptr));
    replyReady_.Reset(CreateEventW(&inherited, FALSE, FALSE, nullptr));
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                    SYNCHRONIZE, TRUE, 0);
    programForChild_.Reset(self);
    if (!control_ || !requestReady_ || !replyReady_ || !programForChild_) return false;
    block_ = static_cast<DecoderControl*>(
        MapViewOfFile(control_.Get(), FILE_MAP_WRITE, 0, 0, sizeof(DecoderControl)));
    if (!block_) return false;
    *block_ = DecoderControl{kDecoderMagic,
                             ValueOf(programForChild_.Get()),
                             ValueOf(requestReady_.Get()),
                             ValueOf(replyReady_.Get()),
                             {},
                             {}};

    // Only the channel's handles go to the decoder.
    HANDLE handed[] = {control_.Get(), requestReady_.Get(), replyReady_.Get(),
                       programForChild_.Get()};
    SIZE_T listBytes = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &listBytes);
    auto listMemory = std::make_unique<std::uint8_t[]>(listBytes);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listMemory.get());
    const bool listed = InitializeProcThreadAttributeList(list, 1, 0, &listBytes) &&
                        UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                  handed, sizeof(handed), nullptr, nullptr);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof(startup);
    startup.lpAttributeList = listed ? list : nullptr;

    job_ = MakeJob(limits_.memoryBytes);
    std::vector<wchar_t> environment = EnvironmentWith(std::to_wstring(ValueOf(control_.Get())));
    std::wstring commandLine = L"\"" + program_ + L"\"";
    PROCESS_INFORMATION started{};
    const BOOL made =
        CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW |
                           (listed ? EXTENDED_STARTUPINFO_PRESENT : 0),
                       environment.data(), nullptr, &startup.StartupInfo, &started);
    if (listed) DeleteProcThreadAttributeList(list);
    if (!made) return false;
    process_.Reset(started.hProcess);
    // Outside the job (a system that refuses it) the decoder still ends with the program,
    // which it watches itself.
    if (job_) AssignProcessToJobObject(job_.Get(), started.hProcess);
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    ++starts_;
    return true;
}

void DecoderProcess::End() {
    if (process_) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 2000);
    }
    job_.Reset();
    process_.Reset();
    if (block_) UnmapViewOfFile(block_);
    block_ = nullptr;
    control_.Reset();
    requestReady_.Reset();
    replyReady_.Reset();
    programForChild_.Reset();
    retired_.clear();  // the next decoder holds none of them
}

std::uint64_t DecoderProcess::Give(SharedSection& section, DWORD access) {
    if (section.givenTo == starts_ && section.handleThere) return section.handleThere;
    HANDLE there = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), section.Handle(), process_.Get(), &there, access,
                         FALSE, 0)) {
        return 0;
    }
    section.givenTo = starts_;
    section.handleThere = ValueOf(there);
    return section.handleThere;
}

void DecoderProcess::Retire(const SharedSection& section) {
    if (process_ && section.givenTo == starts_ && section.handleThere)
        retired_.push_back(section.handleThere);
}

bool DecoderProcess::OverMemory() const {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!K32GetProcessMemoryInfo(process_.Get(),
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof(counters))) {
        return false;
    }
    // The commit charge, which the job bounds too; Wine tells it as the paging file's use.
    return std::max(counters.PrivateUsage, counters.PagefileUsage) > limits_.memoryBytes;
}

DecoderProcess::Answer DecoderProcess::Decode(SharedSection& input, size_t bytes,
                                              SharedSection& output, ShowTarget::Size at) {
    Answer answer{Outcome::Unavailable, {}};
    if (!Running() && !Start()) {
        End();
        return answer;
    }
    DecoderRequest request{};
    request.sequence = ++sequence_;
    request.input = Give(input, FILE_MAP_READ);
    request.inputBytes = bytes;
    request.output = Give(output, FILE_MAP_READ | FILE_MAP_WRITE);
    request.outputPixels = output.Bytes() / 4;
    request.width = at.width;
    request.height = at.height;
    request.dpi = at.dpi;
    std::copy(at.displayProfile.begin(), at.displayProfile.end(), request.displayProfile);
    const size_t told = std::min(retired_.size(), std::size(request.retired));
    std::copy_n(retired_.begin(), told, request.retired);
    retired_.erase(retired_.begin(), retired_.begin() + static_cast<std::ptrdiff_t>(told));
    if (!request.input || !request.output) {
        End();
        answer.outcome = Outcome::Failed;
        return answer;
    }
    std::memcpy(&block_->request, &request, sizeof(request));
    SetEvent(requestReady_.Get());

    const auto deadline = Clock::now() + limits_.deadline + limits_.perMiB * (bytes >> 20);
    const HANDLE waits[] = {replyReady_.Get(), process_.Get()};
    for (;;) {
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, kPollMs);
        if (woke == WAIT_OBJECT_0) {
            // Read once, then judged: the decoder may write anything there.
            std::memcpy(&answer.reply, &block_->reply, sizeof(answer.reply));
            if (answer.reply.sequence != request.sequence) continue;
            const DecoderReply& r = answer.reply;
            const bool fits =
                r.pixelWidth > 0 && r.pixelHeight > 0 &&
                std::uint64_t(r.pixelWidth) * std::uint64_t(r.pixelHeight) <= request.outputPixels;
            answer.outcome = r.decoded && fits && r.naturalWidth > 0 && r.naturalHeight > 0
                                 ? Outcome::Decoded
                                 : Outcome::Refused;
            return answer;
        }
        const bool stopping = stop_ && stop_->load();
        if (woke != WAIT_TIMEOUT || stopping || Clock::now() > deadline || OverMemory()) {
            End();
            answer.outcome = stopping ? Outcome::Stopped : Outcome::Failed;
            return answer;
        }
    }
}

}  // namespace glimra::win32
