#pragma once

#include <deque>

#include "platform/Random.h"

namespace glimra {

// The generator's numbers, drawn early when a later change must be known now: a number once
// peeked is the one that Next hands out later, so drawing ahead never changes the sequence.
class RandomAhead {
  public:
    explicit RandomAhead(Random& random) : random_(random) {}

    // The number that the `index`-th next call of Next will return (0 is the very next).
    double Peek(size_t index) {
        while (ahead_.size() <= index)
            ahead_.push_back(random_.Next());
        return ahead_[index];
    }

    double Next() {
        const double number = Peek(0);
        ahead_.pop_front();
        return number;
    }

  private:
    Random& random_;
    std::deque<double> ahead_;
};

}  // namespace glimra
