#include "win32/system/Win32Timer.h"

#include <map>

#include "platform/EntryGuard.h"

namespace glimra::win32 {
namespace {

// Thread timers carry no user data: their ids lead back to their peers.
std::map<UINT_PTR, Win32Timer*>& Running() {
    static std::map<UINT_PTR, Win32Timer*> running;
    return running;
}

}  // namespace

void Win32Timer::Start(int intervalMs) {
    Stop();
    id_ = SetTimer(nullptr, 0, static_cast<UINT>(intervalMs), &Win32Timer::OnTimer);
    if (id_) Running()[id_] = this;
}

void Win32Timer::Stop() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    Running().erase(id_);
    id_ = 0;
}

void CALLBACK Win32Timer::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Running().find(id);
    if (it == Running().end()) return;
    Win32Timer& self = *it->second;
    Contained([&] { self.timer_.Fire(); });
}

}  // namespace glimra::win32
