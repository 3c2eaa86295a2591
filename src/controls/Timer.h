#pragma once

#include <functional>
#include <memory>

#include "controls/Peers.h"

namespace glimra {

class Form;

// Raises Tick every Interval milliseconds while it is enabled and its form is loaded.
class Timer {
  public:
    Timer(Form& owner, int intervalMs, bool enabled);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int Interval() const { return intervalMs_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // The platform (or a test) reports that the interval has passed.
    void Fire();

    std::function<void()> Tick;

  private:
    friend class Form;
    void Attach(PeerFactory* peers);
    void Detach();
    bool Running() const;

    Form& owner_;
    int intervalMs_;
    bool enabled_;
    std::unique_ptr<TimerPeer> peer_;
    bool attached_ = false;
};

}  // namespace glimra
