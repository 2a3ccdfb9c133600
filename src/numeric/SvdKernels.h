#pragma once
// The inner loops of the singular value decomposition (numeric/Svd.cpp), arranged for
// column-major storage. Each keeps the arithmetic of the plain loops it replaces: every sum
// is accumulated upwards over its index with the same products, every update is the same
// expression; only the order in which independent values are computed differs.
//
// They come in sets, one per instruction set: the generic one, and one with 4-wide vectors
// where the processor has them. Every set gives the same values bit for bit: each vector lane
// performs exactly the scalar operations, and products are never fused with the additions
// that follow them (these files are compiled without floating-point contraction).
#include <cstddef>
#include <span>
#include <vector>

namespace tessan {

// A 1-based column-major matrix seen through its storage: (i, j) = base[(j-1) ld + i-1].
struct View {
    double* base;
    std::ptrdiff_t ld;
    double* col(int j) const { return base + static_cast<std::ptrdiff_t>(j - 1) * ld - 1; }  // col(j)[i] = (i, j)
    double& operator()(int i, int j) const { return col(j)[i]; }
};

// A plane rotation of columns p and q of a matrix, applied to each row as
// x' = x c + z s, z' = -x s + z c (x in column p, z in column q); q = 0 negates column p.
struct Rotation {
    int p, q;
    double c, s;
};
using Rotations = std::vector<Rotation>;

// An update of the columns of a pass: a(j, k) += coef(k) vec(j), when coef is given.
struct Update {
    const double* coef = nullptr;
    const double* vec = nullptr;
};

// One pass over columns c0..c1 of a, in order, on rows r0..m. Each column is updated by first,
// then by second, and enters the sums:
//   ColumnDot: out(k) = sum_{j=r0..m} x(j) a(j, k), accumulated upwards over j;
//   RowSum:    out(j) += a(j, k) x(k) for j = r0..m, the columns taken in order.
// A RowSum pass does not write the updated columns back (the next pass repeats the updates,
// which give the same values); the others do. Arrays are 1-based, by row or by column as
// used; no vector may lie in columns c0..c1.
enum class PassSum { None, ColumnDot, RowSum };
struct Pass {
    int c0 = 0, c1 = 0, r0 = 0, m = 0;
    Update first{}, second{};
    PassSum sum = PassSum::None;
    const double* x = nullptr;
    double* out = nullptr;

    // The updates that are given, in order, in u; returns their number.
    int updates(Update (&u)[2]) const {
        int nu = 0;
        if (first.coef) u[nu++] = first;
        if (second.coef) u[nu++] = second;
        return nu;
    }
};

struct SvdKernels {
    const char* name;
    void (*pass)(View a, const Pass& p);
    // Applies the rotations in order to rows 1..rows of a. Rows do not interact, so the rows
    // are taken a few at a time through the whole list while they stay in cache.
    void (*applyRotations)(View a, int rows, const Rotations& rots);
};

// The sets this processor runs, the generic one first and the widest last.
std::span<const SvdKernels* const> SvdKernelSets();

// The 4-wide set when the processor has the instructions (and the compiler built it), else null.
const SvdKernels* SvdKernelsAvx2();

}  // namespace tessan
