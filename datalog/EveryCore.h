// Work on every core: f(0) .. f(count - 1), each index once, on as many threads as the
// machine has cores (this one among them). Reading and searching logs is what a season of
// them costs, and each log is a file of its own.
#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace vorn {

inline void onEveryCore(int count, const std::function<void(int)> &f)
{
    std::atomic<int> next{0};
    auto work = [&] {
        for (int i = next++; i < count; i = next++)
            f(i);
    };
    const int helpers = std::min(count - 1, static_cast<int>(std::max(1u, std::thread::hardware_concurrency())) - 1);
    std::vector<std::thread> threads;
    for (int k = 0; k < helpers; ++k)
        threads.emplace_back(work);
    work();
    for (std::thread &t : threads)
        t.join();
}

}  // namespace vorn
