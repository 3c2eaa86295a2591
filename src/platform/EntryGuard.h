#pragma once

#include <type_traits>

namespace glimra {

// Every entry from the platform into the program (a window or subclass procedure, a timer, a
// message filter, the start-up itself) runs its work through Contained. An exception thrown by a
// model handler ends that handler only: it never crosses the system's code, which cannot carry it,
// and never reaches wWinMain. The entry then answers `failed`.
template <typename Work, typename Result = std::invoke_result_t<Work&>>
Result Contained(Work&& work, Result failed) noexcept {
    try {
        return work();
    } catch (...) {
        return failed;
    }
}

template <typename Work>
void Contained(Work&& work) noexcept {
    try {
        work();
    } catch (...) {
        // The handler ends here; what it did so far stands.
    }
}

}  // namespace glimra
