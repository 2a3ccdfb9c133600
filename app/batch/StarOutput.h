#pragma once
// What each program star leaves for the output while the stars are measured on several
// workers, and the output that puts it out in the order the stars were given, as one worker
// measuring them one after the other would.
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "batch/ConsolePlatform.h"
#include "state/Array.h"

namespace tessan::batch {

// Matrices for the BFs of every order (bb, at the state's bound), passed between the workers'
// states and the output: a star's BFs leave its worker with its output, the worker goes on in a
// matrix given back, and the output gives one back for each one it takes. Thread-safe.
class BfPool {
public:
    Mat Take();             // a given-back matrix, or a new one when none is left
    void Give(Mat x);       // an empty matrix is dropped
private:
    std::mutex m_m;
    std::vector<Mat> m_free;
};

// The files the workers are writing. A star given twice writes its results file twice, and two
// writers of one file at once would share its temporary file: a second writer of a file waits
// until the first is done. Thread-safe.
class FileLocks {
public:
    class Held {
    public:
        Held(FileLocks& locks, std::string path) : m_locks(locks), m_path(std::move(path)) {}
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;
        ~Held() { m_locks.release(m_path); }
    private:
        FileLocks& m_locks;
        std::string m_path;
    };
    // Waits while another holds path; path is held until the result is destroyed.
    [[nodiscard]] std::unique_ptr<Held> Hold(const std::string& path);

private:
    void release(const std::string& path);
    std::mutex m_m;
    std::condition_variable m_freed;
    std::set<std::string> m_held;
};

struct StarOutput {
    std::string file;                    // its file name, for the messages about it
    std::string err;                     // its messages, as they go to standard error
    std::string orderNote;               // the order was clamped: the note (once per run)
    std::size_t noteAt = 0;              // where in err the note belongs
    std::string line;                    // its result line; empty when a step stopped it first
    bool stopped = false;                // a step stopped at a message: exit status 1
    bool hasBfs = false;                 // its BFs of every order were computed: in bfs
    Mat bfs;
    std::exception_ptr failure;          // an exception ended the star (and the run)
};

// The stars' outputs, handed to Emit in the order given: each star's messages through p (with
// the order note in its place, at the first star that has one), then its line on out. It keeps
// the BFs of the last star that has them, which "bbb2.txt" receives once (WriteLastBfs).
class InOrderOutput {
public:
    InOrderOutput(ConsolePlatform& p, std::ostream& out, BfPool& pool) : m_p(p), m_out(out), m_pool(pool) {}

    // Puts star out; a star ended by an exception rethrows it once the rest is out.
    void Emit(StarOutput& star);
    // "bbb2.txt" as the star-by-star run leaves it: the BFs (1..span) of the last star emitted
    // that has them, nothing when none has. A failure is reported for that star.
    void WriteLastBfs(int span);

private:
    ConsolePlatform& m_p;
    std::ostream& m_out;
    BfPool& m_pool;
    bool m_noted = false;
    bool m_haveBfs = false;
    Mat m_lastBfs;
    std::string m_lastFile;
};

}  // namespace tessan::batch
