#include "files/BackgroundWriter.h"

#include <exception>
#include <utility>

namespace corvana {

BackgroundWriter::BackgroundWriter() : thread_([this] { Run(); }) {}

BackgroundWriter::~BackgroundWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void BackgroundWriter::Submit(Job job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = std::move(job);
    }
    wake_.notify_one();
}

void BackgroundWriter::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !pending_ && !busy_; });
}

std::optional<std::string> BackgroundWriter::TakeOutcome() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::optional<std::string> outcome = std::move(outcome_);
    outcome_.reset();
    return outcome;
}

void BackgroundWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || pending_; });
        // Asked to stop, the write still waiting is done first.
        if (!pending_)
            return;
        const Job job = std::move(pending_);
        pending_ = nullptr;
        busy_ = true;
        lock.unlock();
        std::string error;
        bool written = false;
        try {
            written = job(error);
        } catch (const std::exception& e) {
            error = e.what();
        }
        lock.lock();
        busy_ = false;
        outcome_ = written ? std::string() : (error.empty() ? std::string("unknown error") : error);
        idle_.notify_all();
    }
}

} // namespace corvana
