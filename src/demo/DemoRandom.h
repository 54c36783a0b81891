#pragma once
// Deterministic pseudo-random numbers (SplitMix64) for generated data: one seed gives the same data on
// every machine and compiler, which the standard library's distributions do not promise.

#include <QtGlobal>
#include <cstddef>

namespace demo {

class DemoRandom {
public:
    explicit DemoRandom(quint64 seed) : state_(seed) {}

    quint64 next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < n (n > 0).
    int below(int n) { return int(next() % quint64(n)); }
    // lo <= result <= hi.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    // 0 <= result < 1.
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }
    template <typename Container> const auto& pick(const Container& c) {
        return c[size_t(below(int(c.size())))];
    }

private:
    quint64 state_;
};

} // namespace demo
