#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "win32/base/Scoped.h"
#include "win32/decoder/DecoderChannel.h"
#include "win32/decoder/DecoderStart.h"
#include "win32/decoder/SharedSection.h"
#include "win32/pictures/ShowTarget.h"

namespace glimra::win32 {

// The program's decoder: another process of a program file (the program's own), where a codec
// that faults, hangs or allocates without end harms nothing but that process. It is held in a
// job that ends it with the program and bounds its memory, and it serves only while the
// program lives. It is started at the first picture and started again at the first picture
// after it died or was ended, on the strongest rung of DecoderLadder.h where a decoder decodes
// the built-in picture (DecoderSelfTest.h) before it serves. One thread talks to it.
class DecoderProcess {
  public:
    struct Limits {
        std::chrono::milliseconds deadline;  // a picture of no size; more for each MiB of file
        std::chrono::milliseconds perMiB;
        std::chrono::milliseconds longest;  // however large the file
        size_t memoryBytes;  // the decoder's own memory, the sections it is given aside
    };
    enum class Outcome {
        Decoded,      // the reply tells the picture's sizes; the pixels are in the output
        Refused,      // the picture cannot be loaded, as the decoder judged it
        Failed,       // the decoder died, overran its deadline or memory, and was ended
        Stopped,      // the program is ending: the decoder was ended
        Unavailable,  // no decoder process could be started, or none decodes on any rung
    };
    struct Answer {
        Outcome outcome;
        DecoderReply reply;
    };

    // `stop`, once set, ends a decode under way at once.
    DecoderProcess(std::wstring program, Limits limits, const std::atomic<bool>* stop,
                   StartCalls calls = {});
    ~DecoderProcess();
    DecoderProcess(const DecoderProcess&) = delete;
    DecoderProcess& operator=(const DecoderProcess&) = delete;

    // Decodes the first `bytes` of `input` into `output`, at the size a window of `at` shows it.
    Answer Decode(SharedSection& input, size_t bytes, SharedSection& output, ShowTarget::Size at);

    // `section` is about to go: the decoder is told to close its handle with the next request.
    void Retire(const SharedSection& section);

    // How many times a decoder process was started; the running one's process, or null.
    unsigned Starts() const { return starts_; }
    HANDLE Process() const { return process_.Get(); }
    // The rung of the ladder the decoders start on (past the last: none), and the levels
    // that hold the running one.
    size_t Rung() const { return rung_; }
    DecoderLevels Levels() const { return levels_; }

  private:
    bool Running() const;
    bool Start();
    bool StartOn(DecoderLevels levels);
    Outcome SelfTest();
    void End();
    std::uint64_t Give(SharedSection& section, DWORD access);
    Outcome Ask(SharedSection& input, size_t bytes, SharedSection& output, ShowTarget::Size at,
                DecoderReply& reply);
    Outcome Await(const DecoderRequest& request, size_t bytes, DecoderReply& reply);

    std::wstring program_;
    Limits limits_;
    const std::atomic<bool>* stop_;
    StartCalls calls_;
    bool refused_ = false;  // the system refused a start: it refuses the next ones too
    size_t rung_ = 0;
    DecoderLevels levels_ = 0;
    ScopedHandle job_;
    ScopedHandle process_;
    ScopedDesktop desktop_;
    ScopedHandle control_;
    ScopedHandle requestReady_;
    ScopedHandle replyReady_;
    ScopedHandle programForChild_;
    DecoderControl* block_ = nullptr;
    unsigned starts_ = 0;
    std::uint32_t sequence_ = 0;
    std::vector<std::uint64_t> retired_;
    std::vector<size_t> retiredBytes_;
    size_t given_ = 0;  // the bytes of the sections the running decoder holds
};

}  // namespace glimra::win32
