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

// Calls measure[t](k) once for every star k = 0..count - 1, measure[0] on the calling thread and
// each other entry on a thread of its own (all on the calling thread when no thread can be
// started), and emit(result) on the calling thread in increasing k: between its own stars the
// calling thread puts out every result that is next in order, and waits only when it has no
// star left to take. measure must not throw (a failure belongs in its result); emit may: the
// threads then finish the star in hand and are joined before the exception leaves. No star is
// taken more than a few per thread ahead of the last one put out, so that few results wait.
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

    const std::size_t window = 2 * measure.size();
    std::mutex m;
    std::condition_variable ready, room;
    std::vector<std::optional<Result>> slot(window);   // star k waits in slot k % window
    std::size_t next = 0, emitted = 0;                 // the next star to take, to put out
    bool stop = false;
    // The slot of star k is free once star k - window has been put out.
    const auto mayTake = [&] { return next < count && next < emitted + window; };
    const auto store = [&](std::size_t k, Result r) {
        bool wanted = false;
        {
            std::lock_guard lock(m);
            slot[k % window] = std::move(r);
            wanted = k == emitted;
        }
        if (wanted) ready.notify_one();   // the calling thread may be waiting for it
    };
    const auto work = [&](std::function<Result(std::size_t)>& f) {
        for (;;) {
            std::size_t k = 0;
            {
                std::unique_lock lock(m);
                room.wait(lock, [&] { return stop || next >= count || mayTake(); });
                if (stop || next >= count) return;
                k = next++;
            }
            store(k, f(k));
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
    for (std::size_t t = 1; t < measure.size(); ++t) {
        try {
            threads.emplace_back(work, std::ref(measure[t]));
        } catch (const std::system_error&) {
            break;   // the threads started so far, with the calling thread, measure every star
        }
    }

    while (true) {
        std::optional<Result> r;
        std::optional<std::size_t> mine;
        {
            std::unique_lock lock(m);
            if (emitted == count) break;
            if (slot[emitted % window]) {
                r = std::move(slot[emitted % window]);
                slot[emitted % window].reset();
                ++emitted;
            } else if (mayTake()) {
                mine = next++;
            } else {
                ready.wait(lock, [&] { return slot[emitted % window].has_value(); });
                continue;
            }
        }
        if (r) {
            room.notify_all();
            emit(*r);
        } else {
            store(*mine, measure[0](*mine));
        }
    }
}

}  // namespace tessan::batch
