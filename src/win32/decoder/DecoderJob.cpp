#include "win32/decoder/DecoderJob.h"

namespace glimra::win32 {

ScopedHandle MakeDecoderJob(size_t memoryBytes, DecoderLevels& levels) {
    ScopedHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    const DWORD bounds = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE |
                         JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION |
                         JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    limits.ProcessMemoryLimit = memoryBytes;
    // No JOB_OBJECT_LIMIT_BREAKAWAY_OK: no process the decoder starts leaves the job.
    if (levels & kJobLimits) {
        limits.BasicLimitInformation.LimitFlags = bounds | JOB_OBJECT_LIMIT_ACTIVE_PROCESS;
        limits.BasicLimitInformation.ActiveProcessLimit = 1;
        JOBOBJECT_BASIC_UI_RESTRICTIONS ui{JOB_OBJECT_UILIMIT_ALL};
        if (!SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                     sizeof(limits)) ||
            !SetInformationJobObject(job.Get(), JobObjectBasicUIRestrictions, &ui, sizeof(ui))) {
            // Refused: this level alone goes, on a job made anew.
            levels &= ~kJobLimits;
            job.Reset(CreateJobObjectW(nullptr, nullptr));
            if (!job) return job;
        }
    }
    if (!(levels & kJobLimits)) {
        limits.BasicLimitInformation.LimitFlags = bounds;
        limits.BasicLimitInformation.ActiveProcessLimit = 0;
        if (!SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                     sizeof(limits))) {
            job.Reset();
        }
    }
    return job;
}

}  // namespace glimra::win32
