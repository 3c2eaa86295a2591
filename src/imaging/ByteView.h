#pragma once

#include <cstddef>
#include <cstdint>

namespace glimra {

// Bytes of a file with bounds-checked reads: every read checks that it lies inside, so the
// code that walks a damaged file can never read past its end.
class ByteView {
  public:
    ByteView(const std::uint8_t* data, std::size_t size)
        : data_(data), size_(data == nullptr ? 0 : size) {}

    std::size_t Size() const { return size_; }
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }

    // Little-endian (Windows structures) and big-endian (JPEG, PNG) reads; 0 outside.
    std::uint32_t U8(std::uint64_t at) const { return Has(at, 1) ? data_[at] : 0; }
    std::uint32_t U16(std::uint64_t at) const {
        return Has(at, 2) ? data_[at] | std::uint32_t{data_[at + 1]} << 8 : 0;
    }
    std::uint32_t U32(std::uint64_t at) const {
        return Has(at, 4) ? U16(at) | U16(at + 2) << 16 : 0;
    }
    std::int32_t I32(std::uint64_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::int16_t I16(std::uint64_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U16Be(std::uint64_t at) const {
        return Has(at, 2) ? std::uint32_t{data_[at]} << 8 | data_[at + 1] : 0;
    }
    std::uint32_t U32Be(std::uint64_t at) const {
        return Has(at, 4) ? U16Be(at) << 16 | U16Be(at + 2) : 0;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace glimra
