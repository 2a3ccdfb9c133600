#pragma once
// The system's fixed limits. Arrays of the working state are allocated at these bounds once.
namespace tessan::lim {
inline constexpr int kMaxCards = 200;   // header cards kept per FITS file
inline constexpr int kMaxPix = 3000;    // pixels per spectrum, grid points, rows of the design matrix
inline constexpr int kMaxSpan = 500;    // columns of the design matrix, orders, points of a BF
inline constexpr int kMaxModels = 13;   // models held in the store at once
inline constexpr int kMaxErr = 1000;    // error texts 0..1000
inline constexpr int kMaxLag = 2000;    // lags of the cross-correlation on each side of zero
inline constexpr int kMaxFitPoints = 1000;  // points of a Gaussian fit
}  // namespace tessan::lim
