#pragma once

// A thread that does a program's file writes beside the user's next moves, so that a disk's
// flush never holds up a key or a menu command. Of several writes waiting only the latest is
// done: each one replaces the whole file, so one replaced before its turn was never going to be
// read.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace corvana {

class BackgroundWriter {
public:
    // Writes a whole file; false with the reason in `error`.
    using Job = std::function<bool(std::string& error)>;

    BackgroundWriter();
    // Does the write still waiting before it returns.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Hands a write over and returns at once; it takes the place of one still waiting.
    void Submit(Job job);
    // Returns once every write handed over is done.
    void Wait();
    // The outcome of the writes done since the last call: nullopt when none ended, else the
    // error of the last one (empty: it succeeded).
    std::optional<std::string> TakeOutcome();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    Job pending_;
    std::optional<std::string> outcome_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_; // last: it starts running at once
};

} // namespace corvana
