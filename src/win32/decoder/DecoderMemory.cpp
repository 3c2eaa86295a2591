#include "win32/decoder/DecoderMemory.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>

namespace glimra::win32 {
namespace {

// The counters as Windows 10 22H2 and later tell them, with the commit of the sections a
// process maps (not in every SDK's headers). An older system refuses this size, and the
// shorter form is asked.
struct MemoryCounters {
    PROCESS_MEMORY_COUNTERS_EX counters;
    SIZE_T privateWorkingSetSize;
    ULONG64 sharedCommitUsage;
};

MemoryCounters CountersOf(HANDLE process) {
    MemoryCounters all{};
    all.counters.cb = sizeof(all);
    if (K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&all),
                                sizeof(all))) {
        return all;
    }
    all = {};
    all.counters.cb = sizeof(all.counters);
    if (!K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&all),
                                 sizeof(all.counters))) {
        all = {};
    }
    return all;
}

size_t JobPeak(HANDLE job) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    if (!job || !QueryInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                           sizeof(limits), nullptr)) {
        return 0;
    }
    return limits.PeakProcessMemoryUsed;
}

}  // namespace

size_t MemoryHeld(HANDLE process, HANDLE job, size_t given) {
    const MemoryCounters all = CountersOf(process);
    const PROCESS_MEMORY_COUNTERS_EX& c = all.counters;
    // Wine tells the commit charge as the paging file's use, and the job's peak as none.
    const size_t allocated = std::max({c.PrivateUsage, c.PagefileUsage, JobPeak(job)});
    const size_t held = std::max<size_t>(allocated + all.sharedCommitUsage, c.WorkingSetSize);
    return held > given ? held - given : 0;
}

}  // namespace glimra::win32
