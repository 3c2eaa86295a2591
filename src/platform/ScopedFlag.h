#pragma once

#include <utility>

namespace glimra {

// Sets a flag for the length of a scope and puts its earlier value back however the scope
// ends, a handler's exception included.
class ScopedFlag {
  public:
    explicit ScopedFlag(bool& flag) : flag_(flag), before_(std::exchange(flag, true)) {}
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;
    ~ScopedFlag() { flag_ = before_; }

  private:
    bool& flag_;
    bool before_;
};

}  // namespace glimra
