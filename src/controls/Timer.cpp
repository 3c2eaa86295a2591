#include "controls/Timer.h"

#include "controls/Form.h"

namespace glimra {

Timer::Timer(Form& owner, int intervalMs, bool enabled)
    : owner_(owner), intervalMs_(intervalMs), enabled_(enabled) {
    owner_.AddTimer(this);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (!peer_) return;
    if (Running()) {
        peer_->Start(intervalMs_);
    } else {
        peer_->Stop();
    }
}

void Timer::Fire() {
    if (Running() && Tick) Tick();
}

void Timer::Attach(PeerFactory* peers) {
    attached_ = true;
    if (!peer_ && peers) peer_ = peers->CreateTimerPeer(*this);
    if (peer_ && enabled_) peer_->Start(intervalMs_);
}

void Timer::Detach() {
    attached_ = false;
    if (peer_) peer_->Stop();
}

bool Timer::Running() const {
    return enabled_ && attached_;
}

}  // namespace glimra
