#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "win32/base/Scoped.h"

namespace glimra::win32 {

// Memory of the paging file that the program and its decoder process both see, mapped here
// once for the section's whole life.
class SharedSection {
  public:
    // A section of `bytes`, or nullptr when the system gives none.
    static std::unique_ptr<SharedSection> Create(size_t bytes);
    ~SharedSection();
    SharedSection(const SharedSection&) = delete;
    SharedSection& operator=(const SharedSection&) = delete;

    std::uint8_t* Data() const { return view_; }
    size_t Bytes() const { return bytes_; }
    HANDLE Handle() const { return section_.Get(); }

    // The handle a decoder process holds for it: the decoder it was given to (each start of
    // one counts), and the handle's value there.
    unsigned givenTo = 0;
    std::uint64_t handleThere = 0;

  private:
    SharedSection(ScopedHandle section, std::uint8_t* view, size_t bytes)
        : section_(std::move(section)), view_(view), bytes_(bytes) {}
    ScopedHandle section_;
    std::uint8_t* view_;
    size_t bytes_;
};

}  // namespace glimra::win32
