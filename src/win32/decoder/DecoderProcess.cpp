#include "win32/decoder/DecoderProcess.h"

#include <algorithm>
#include <cstring>

#include "win32/decoder/DecoderMemory.h"
#include "win32/decoder/DecoderSelfTest.h"

namespace glimra::win32 {
namespace {

using Clock = std::chrono::steady_clock;
constexpr DWORD kPollMs = 20;  // how often a wait looks at the stop flag and the memory

std::uint64_t ValueOf(HANDLE handle) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
}

// What the decoder's answer to `request` says, judged: the pixels must fit the output.
DecoderProcess::Outcome Judged(const DecoderReply& r, const DecoderRequest& request) {
    const bool fits =
        r.pixelWidth > 0 && r.pixelHeight > 0 &&
        std::uint64_t(r.pixelWidth) * std::uint64_t(r.pixelHeight) <= request.outputPixels;
    return r.decoded && fits && r.naturalWidth > 0 && r.naturalHeight > 0
               ? DecoderProcess::Outcome::Decoded
               : DecoderProcess::Outcome::Refused;
}

}  // namespace

DecoderProcess::DecoderProcess(std::wstring program, Limits limits, const std::atomic<bool>* stop,
                               StartCalls calls)
    : program_(std::move(program)), limits_(limits), stop_(stop), calls_(calls) {}

DecoderProcess::~DecoderProcess() {
    End();
}

bool DecoderProcess::Running() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

// Starts a decoder on the strongest rung, from the one the last decoder served on, where one
// decodes the built-in picture; a rung where none does is not tried again.
bool DecoderProcess::Start() {
    const auto rungs = DecoderRungs();
    for (; rung_ < rungs.size() && !refused_; ++rung_) {
        if (!StartOn(rungs[rung_])) {
            End();
            refused_ = true;  // the system refused it: it refuses the next ones too
            return false;
        }
        const Outcome tested = SelfTest();
        if (tested == Outcome::Decoded) return true;
        End();
        if (tested == Outcome::Stopped) return false;
    }
    refused_ = true;
    return false;
}

bool DecoderProcess::StartOn(DecoderLevels levels) {
    End();
    // Made not inheritable: the start hands them to the decoder alone.
    control_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(DecoderControl), nullptr));
    requestReady_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    replyReady_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                    SYNCHRONIZE, FALSE, 0);
    programForChild_.Reset(self);
    if (!control_ || !requestReady_ || !replyReady_ || !programForChild_) return false;
    block_ = static_cast<DecoderControl*>(
        MapViewOfFile(control_.Get(), FILE_MAP_WRITE, 0, 0, sizeof(DecoderControl)));
    if (!block_) return false;
    *block_ = DecoderControl{kDecoderMagic,
                             ValueOf(programForChild_.Get()),
                             ValueOf(requestReady_.Get()),
                             ValueOf(replyReady_.Get()),
                             static_cast<std::uint32_t>(rung_),
                             0,
                             {},
                             {}};
    const HANDLE handed[] = {control_.Get(), requestReady_.Get(), replyReady_.Get(),
                             programForChild_.Get()};
    StartedDecoder started = StartDecoder(program_, std::to_wstring(ValueOf(control_.Get())),
                                          handed, limits_.memoryBytes, levels, calls_);
    if (!started.process) return false;
    // Read by the decoder with its first request, never before.
    block_->levels = started.levels;
    job_ = std::move(started.job);
    process_ = std::move(started.process);
    desktop_ = std::move(started.desktop);
    levels_ = started.levels;
    ++starts_;
    return true;
}

// The built-in picture, through the sections, the codecs and the judgement a file's take.
DecoderProcess::Outcome DecoderProcess::SelfTest() {
    const auto picture = SelfTestPicture();
    auto input = SharedSection::Create(picture.size());
    auto output = SharedSection::Create(64 * 64 * 4);
    if (!input || !output) return Outcome::Failed;
    std::copy(picture.begin(), picture.end(), input->Data());
    DecoderReply reply{};
    Outcome outcome = Ask(*input, picture.size(), *output, {64, 64, 96}, reply);
    if (outcome == Outcome::Decoded &&
        !IsSelfTestPicture(reply, reinterpret_cast<const std::uint32_t*>(output->Data()),
                           output->Bytes() / 4)) {
        outcome = Outcome::Refused;
    }
    Retire(*input);
    Retire(*output);
    return outcome;
}

void DecoderProcess::End() {
    if (process_) {
        TerminateProcess(process_.Get(), 1);
        // When the program is ending its end is not held for the decoder's: closing the job
        // ends whatever is left of it.
        if (!stop_ || !stop_->load()) WaitForSingleObject(process_.Get(), 2000);
    }
    job_.Reset();
    process_.Reset();
    desktop_.Reset();
    levels_ = 0;
    if (block_) UnmapViewOfFile(block_);
    block_ = nullptr;
    control_.Reset();
    requestReady_.Reset();
    replyReady_.Reset();
    programForChild_.Reset();
    retired_.clear();  // the next decoder holds none of them
    retiredBytes_.clear();
    given_ = 0;
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
    given_ += section.Bytes();
    return section.handleThere;
}

void DecoderProcess::Retire(const SharedSection& section) {
    if (process_ && section.givenTo == starts_ && section.handleThere) {
        retired_.push_back(section.handleThere);
        retiredBytes_.push_back(section.Bytes());
    }
}

DecoderProcess::Answer DecoderProcess::Decode(SharedSection& input, size_t bytes,
                                              SharedSection& output, ShowTarget::Size at) {
    Answer answer{Outcome::Unavailable, {}};
    if (!Running() && !Start()) {
        End();
        if (stop_ && stop_->load()) answer.outcome = Outcome::Stopped;
        return answer;
    }
    answer.outcome = Ask(input, bytes, output, at, answer.reply);
    return answer;
}

// Asks the running decoder for one picture and waits for its answer; a decoder that fails or
// is stopped is ended.
DecoderProcess::Outcome DecoderProcess::Ask(SharedSection& input, size_t bytes,
                                            SharedSection& output, ShowTarget::Size at,
                                            DecoderReply& reply) {
    DecoderRequest request{};
    request.sequence = ++sequence_;
    // The sections the decoder is told to close no longer count as given once it is told.
    const size_t told = std::min(retired_.size(), std::size(request.retired));
    std::copy_n(retired_.begin(), told, request.retired);
    for (size_t i = 0; i < told; ++i)
        given_ -= std::min(given_, retiredBytes_[i]);
    retired_.erase(retired_.begin(), retired_.begin() + static_cast<std::ptrdiff_t>(told));
    retiredBytes_.erase(retiredBytes_.begin(),
                        retiredBytes_.begin() + static_cast<std::ptrdiff_t>(told));
    request.input = Give(input, FILE_MAP_READ);
    request.inputBytes = bytes;
    request.output = Give(output, FILE_MAP_READ | FILE_MAP_WRITE);
    request.outputPixels = output.Bytes() / 4;
    request.width = at.width;
    request.height = at.height;
    request.dpi = at.dpi;
    std::copy(at.monitor.begin(), at.monitor.end(), request.monitor);
    if (!request.input || !request.output) {
        End();
        return Outcome::Failed;
    }
    std::memcpy(&block_->request, &request, sizeof(request));
    SetEvent(requestReady_.Get());
    const Outcome outcome = Await(request, bytes, reply);
    if (outcome == Outcome::Failed || outcome == Outcome::Stopped) End();
    return outcome;
}

// Waits for the answer to `request`. Whatever ends a wait, the decoder's end, an answer, an
// answer to another request or the poll, the stop flag, the deadline and the memory are looked
// at before the next: no answer a decoder gives holds this thread past them.
DecoderProcess::Outcome DecoderProcess::Await(const DecoderRequest& request, size_t bytes,
                                              DecoderReply& reply) {
    // More time for a larger file, which a codec reads longer, but never more than `longest`:
    // a file padded to the largest size would hold the show for minutes.
    const std::chrono::milliseconds allowed = std::min<std::chrono::milliseconds>(
        limits_.deadline + limits_.perMiB * static_cast<long long>(bytes >> 20), limits_.longest);
    const auto deadline = Clock::now() + allowed;
    bool listening = true;
    for (;;) {
        const HANDLE waits[] = {process_.Get(), replyReady_.Get()};
        const DWORD woke = WaitForMultipleObjects(listening ? 2 : 1, waits, FALSE, kPollMs);
        listening = true;
        if (woke == WAIT_OBJECT_0 + 1) {
            // Read once, then judged: the decoder may write anything there.
            std::memcpy(&reply, &block_->reply, sizeof(reply));
            if (reply.sequence == request.sequence) return Judged(reply, request);
            // An answer to no request of ours: not listened to for a poll, so that a decoder
            // that says it over and over does not keep this thread busy.
            listening = false;
        } else if (woke != WAIT_TIMEOUT) {
            return Outcome::Failed;  // the decoder ended, or the wait failed
        }
        if (stop_ && stop_->load()) return Outcome::Stopped;
        if (Clock::now() > deadline ||
            MemoryHeld(process_.Get(), job_.Get(), given_) > limits_.memoryBytes) {
            return Outcome::Failed;
        }
    }
}

}  // namespace glimra::win32
