#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace corvana {

// Makes items 0 to count - 1 on `jobs` threads and hands each to `take` on the calling thread,
// in order. Only a small window of finished items may wait for their turn, so memory stays the
// same however many items there are, and the result is the same for every number of threads.
// `take` returning false stops the run (the items being made are finished and dropped).
// Returns false when it was stopped.
template <typename Item>
bool MakeInOrder(std::uint64_t count, int jobs, const std::function<Item(std::uint64_t)>& make,
                 const std::function<bool(std::uint64_t, Item&&)>& take) {
    if (jobs <= 1) {
        for (std::uint64_t k = 0; k < count; ++k)
            if (!take(k, make(k)))
                return false;
        return true;
    }
    const std::uint64_t window = static_cast<std::uint64_t>(jobs) * 4;
    std::vector<std::optional<Item>> waiting(window);
    std::mutex mutex;
    std::condition_variable madeOne;
    std::condition_variable tookOne;
    std::uint64_t next = 0;  // the next item to start
    std::uint64_t taken = 0; // items handed over
    bool stop = false;

    const auto work = [&] {
        for (;;) {
            std::uint64_t k = 0;
            {
                std::unique_lock<std::mutex> lock(mutex);
                tookOne.wait(lock, [&] { return stop || next >= count || next < taken + window; });
                if (stop || next >= count)
                    return;
                k = next++;
            }
            Item item = make(k);
            {
                std::lock_guard<std::mutex> lock(mutex);
                waiting[k % window] = std::move(item);
            }
            madeOne.notify_one();
        }
    };
    std::vector<std::thread> threads;
    for (int j = 0; j < jobs; ++j)
        threads.emplace_back(work);

    bool finished = true;
    for (std::uint64_t k = 0; k < count; ++k) {
        Item item;
        {
            std::unique_lock<std::mutex> lock(mutex);
            madeOne.wait(lock, [&] { return waiting[k % window].has_value(); });
            item = std::move(*waiting[k % window]);
            waiting[k % window].reset();
            taken = k + 1;
        }
        tookOne.notify_all();
        if (!take(k, std::move(item))) {
            finished = false;
            break;
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        stop = true;
    }
    tookOne.notify_all();
    for (auto& thread : threads)
        thread.join();
    return finished;
}

} // namespace corvana
