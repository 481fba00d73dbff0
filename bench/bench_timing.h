#pragma once
// Timing helpers shared by the native benches.

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace bench {

inline double Seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

}  // namespace bench
