#pragma once
// 1-based vectors and matrices, indexed as the formulas are written.
// Vec: elements 1..n (element 0 exists and is unused unless a caller says otherwise).
// Mat: elements (i, j), i = 1..rows, j = 1..cols, stored column-major because the
// decomposition walks columns; col(j) gives the contiguous column j, col(j)[i - 1] = (i, j).
#include <cassert>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <algorithm>
#include <vector>

namespace tessan {

template <class T>
class Vec1 {
public:
    Vec1() = default;
    explicit Vec1(int n) : m_d(static_cast<std::size_t>(n) + 1) {}
    T& operator()(int i) { assert(i >= 0 && static_cast<std::size_t>(i) < m_d.size()); return m_d[static_cast<std::size_t>(i)]; }
    const T& operator()(int i) const { assert(i >= 0 && static_cast<std::size_t>(i) < m_d.size()); return m_d[static_cast<std::size_t>(i)]; }
    int size() const { return m_d.empty() ? 0 : static_cast<int>(m_d.size()) - 1; }  // highest index
    T* data() { return m_d.data(); }              // data()[i] is element i
    const T* data() const { return m_d.data(); }
    void resize(int n) { m_d.assign(static_cast<std::size_t>(n) + 1, T{}); }
    void fill(const T& v) { std::fill(m_d.begin(), m_d.end(), v); }
    bool operator==(const Vec1&) const = default;

private:
    std::vector<T> m_d;
};

using Vec = Vec1<double>;

// A vector indexed from -n to n (the lags of the cross-correlation).
class SymVec {
public:
    explicit SymVec(int n = 0) : m_n(n), m_d(static_cast<std::size_t>(2 * n + 1)) {}
    double& operator()(int i) { assert(i >= -m_n && i <= m_n); return m_d[static_cast<std::size_t>(i + m_n)]; }
    double operator()(int i) const { assert(i >= -m_n && i <= m_n); return m_d[static_cast<std::size_t>(i + m_n)]; }
    int bound() const { return m_n; }
    const double* origin() const { return m_d.data() + m_n; }   // origin()[i] is element i

private:
    int m_n;
    std::vector<double> m_d;
};

// Zero-filled storage taken from calloc: large blocks come from the system as untouched zero
// pages, so a matrix allocated once at the system's bounds costs memory (and start-up time) only
// for the part that is used.
class ZeroBuffer {
public:
    ZeroBuffer() = default;
    explicit ZeroBuffer(std::size_t n) : m_n(n) {
        if (n == 0) return;
        m_p.reset(static_cast<double*>(std::calloc(n, sizeof(double))));
        if (!m_p) throw std::bad_alloc();
    }
    ZeroBuffer(const ZeroBuffer& o) : ZeroBuffer(o.m_n) {
        if (m_n) std::memcpy(m_p.get(), o.m_p.get(), m_n * sizeof(double));
    }
    ZeroBuffer& operator=(const ZeroBuffer& o) {
        if (this != &o) {
            ZeroBuffer t(o);
            std::swap(m_n, t.m_n);
            std::swap(m_p, t.m_p);
        }
        return *this;
    }
    ZeroBuffer(ZeroBuffer&&) noexcept = default;
    ZeroBuffer& operator=(ZeroBuffer&&) noexcept = default;
    double* data() { return m_p.get(); }
    const double* data() const { return m_p.get(); }
    std::size_t size() const { return m_n; }
    bool operator==(const ZeroBuffer& o) const {
        return m_n == o.m_n && (m_n == 0 || std::equal(data(), data() + m_n, o.data()));
    }

private:
    struct Free {
        void operator()(double* p) const { std::free(p); }
    };
    std::size_t m_n = 0;
    std::unique_ptr<double, Free> m_p;
};

class Mat {
public:
    Mat() = default;
    Mat(int rows, int cols) { resize(rows, cols); }
    void resize(int rows, int cols) {
        m_rows = rows;
        m_cols = cols;
        m_d = ZeroBuffer(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    }
    double& operator()(int i, int j) { return m_d.data()[index(i, j)]; }
    double operator()(int i, int j) const { return m_d.data()[index(i, j)]; }
    double* col(int j) { assert(j >= 1 && j <= m_cols); return m_d.data() + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(m_rows); }
    const double* col(int j) const { assert(j >= 1 && j <= m_cols); return m_d.data() + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(m_rows); }
    int rows() const { return m_rows; }   // allocated rows (the bound, not the rows in use)
    int cols() const { return m_cols; }
    bool operator==(const Mat&) const = default;

private:
    std::size_t index(int i, int j) const {
        assert(i >= 1 && i <= m_rows && j >= 1 && j <= m_cols);
        return static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(m_rows) + static_cast<std::size_t>(i - 1);
    }
    int m_rows = 0;
    int m_cols = 0;
    ZeroBuffer m_d;
};

// Copies the block (1..rows, 1..cols) of from into the same block of to, column by column.
inline void CopyBlock(const Mat& from, Mat& to, int rows, int cols) {
    if (rows < 1) return;
    for (int j = 1; j <= cols; ++j) std::copy(from.col(j), from.col(j) + rows, to.col(j));
}

}  // namespace tessan
