#include "imaging/PixelRecycler.h"

#include <mutex>
#include <utility>

namespace glimra {
namespace {

constexpr std::size_t kWorthKeeping = 256 * 1024;  // pixels: 1 MiB; smaller ones are cheap

std::mutex guard;
std::vector<std::uint32_t> spare;

}  // namespace

std::vector<std::uint32_t> TakePixelStore(std::size_t count) {
    std::vector<std::uint32_t> store;
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (spare.capacity() >= count) store.swap(spare);
    }
    store.clear();
    store.reserve(count);
    return store;
}

void ReturnPixelStore(std::vector<std::uint32_t>&& store) {
    if (store.capacity() < kWorthKeeping) return;
    std::vector<std::uint32_t> old;
    {
        const std::lock_guard<std::mutex> lock(guard);
        old.swap(spare);
        spare.swap(store);
    }
    // `old` is freed here, outside the lock.
}

}  // namespace glimra
