#pragma once
// The inner loops of the singular value decomposition (numeric/Svd.cpp), arranged for
// column-major storage. Each keeps the arithmetic of the plain loops it replaces: every sum
// is accumulated upwards over its index with the same products, every update is the same
// expression; only the order in which independent values are computed differs.
#include <cstddef>
#include <vector>

namespace tessan {

// A 1-based column-major matrix seen through its storage: (i, j) = base[(j-1) ld + i-1].
struct View {
    double* base;
    std::ptrdiff_t ld;
    double* col(int j) const { return base + static_cast<std::ptrdiff_t>(j - 1) * ld - 1; }  // col(j)[i] = (i, j)
    double& operator()(int i, int j) const { return col(j)[i]; }
};

// Column part of a Householder reduction step, with ci = column i of a: for j = l..n,
// f = (sum_{k=i..m} ci(k) a(k, j)) / h and a(k, j) += f ci(k) for k = i..m.
void ColumnReflect(const double* ci, View a, int l, int n, int i, int m, double h);

// Row part: for rows j = l..m, s = sum_{k=l..n} a(j, k) a(i, k) and a(j, k) += s rv1(k) for
// k = l..n. rowSum is scratch.
void RowReflect(View a, int i, int l, int n, int m, const double* rv1, std::vector<double>& rowSum);

// Left accumulation step, with ci = column i of a: for j = l..n,
// f = ((sum_{k=l..m} ci(k) a(k, j)) / ci(i)) g and a(k, j) += f ci(k) for k = i..m.
void LeftReflect(const double* ci, View a, int l, int n, int i, int m, double g);

// A plane rotation of columns p and q of a matrix, applied to each row as
// x' = x c + z s, z' = -x s + z c (x in column p, z in column q); q = 0 negates column p.
struct Rotation {
    int p, q;
    double c, s;
};
using Rotations = std::vector<Rotation>;

// Applies the rotations in order to rows 1..rows of a. Rows do not interact, so the rows are
// taken a few at a time through the whole list while they stay in cache.
void ApplyRotations(View a, int rows, const Rotations& rots);

}  // namespace tessan
