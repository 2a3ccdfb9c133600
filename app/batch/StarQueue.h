#pragma once
// Many stars measured on several threads with the output of one: the result of star k is
// handed on only after those of stars 0..k-1, in that order, whichever thread measured it and
// whenever it finished.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace tessan::batch {

// Calls measure[t](k) once for every star k = 0..count - 1 on thread t, one thread for each
// entry of measure (the calling thread alone when there is one entry, or when no thread can be
// started), and emit(result) on the calling thread in increasing k. measure must not throw (a
// failure belongs in its result); emit may: the threads then finish the star in hand and are
// joined before the exception leaves. A thread measures at most a few stars ahead of the last
// one emitted, so that few results wait.
template <class Result>
void MeasureInOrder(std::size_t count, std::vector<std::function<Result(std::size_t)>>& measure,
                    const std::function<void(Result&)>& emit) {
    const auto alone = [&] {
        for (std::size_t k = 0; k < count; ++k) {
            Result r = measure.at(0)(k);
            emit(r);
        }
    };
    if (measure.size() <= 1 || count <= 1) return alone();

    const std::size_t window = 4 * measure.size();
    std::mutex m;
    std::condition_variable ready, room;
    std::vector<std::optional<Result>> slot(window);   // star k waits in slot k % window
    std::size_t next = 0, emitted = 0;
    bool stop = false;
    const auto work = [&](std::function<Result(std::size_t)>& f) {
        for (;;) {
            std::size_t k = 0;
            {
                std::unique_lock lock(m);
                // The slot of star k is free once star k - window has been emitted.
                room.wait(lock, [&] { return stop || next >= count || next < emitted + window; });
                if (stop || next >= count) return;
                k = next++;
            }
            Result r = f(k);
            {
                std::lock_guard lock(m);
                slot[k % window] = std::move(r);
            }
            ready.notify_one();
        }
    };

    std::vector<std::thread> threads;
    struct Joiner {
        std::mutex& m;
        bool& stop;
        std::condition_variable& room;
        std::vector<std::thread>& threads;
        ~Joiner() {
            {
                std::lock_guard lock(m);
                stop = true;
            }
            room.notify_all();
            for (std::thread& t : threads) t.join();
        }
    } joiner{m, stop, room, threads};
    for (auto& f : measure) {
        try {
            threads.emplace_back(work, std::ref(f));
        } catch (const std::system_error&) {
            break;   // the threads started so far measure every star
        }
    }
    if (threads.empty()) return alone();

    for (std::size_t k = 0; k < count; ++k) {
        std::optional<Result> r;
        {
            std::unique_lock lock(m);
            ready.wait(lock, [&] { return slot[k % window].has_value(); });
            r = std::move(slot[k % window]);
            slot[k % window].reset();
            emitted = k + 1;
        }
        room.notify_all();
        emit(*r);
    }
}

}  // namespace tessan::batch
