#pragma once
// The integer conversions used everywhere: nearest integer with halves to the even neighbour,
// the integer part, floor, and the checked conversion to the system's signed 16-bit items.
#include <cmath>
#include <optional>

namespace tessan {

inline constexpr int kInt16Min = -32768;
inline constexpr int kInt16Max = 32767;

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline double RoundHalfEven(double x) { return std::nearbyint(x); }
// Integer part, toward zero.
inline double IntPart(double x) { return std::trunc(x); }

// x rounded halves to even as a 16-bit item; nullopt when it would overflow (or is not finite).
inline std::optional<int> ToInt16(double x) {
    if (!std::isfinite(x)) return std::nullopt;
    const double r = RoundHalfEven(x);
    if (r < kInt16Min || r > kInt16Max) return std::nullopt;
    return static_cast<int>(r);
}

// A count rounded halves to even and clamped to 0..hi; for loop bounds taken from real items
// such as NAXIS1, so that a corrupted value can never index past an array.
inline int CountOf(double x, int hi) {
    if (!(x >= 0)) return 0;  // also NaN
    const double r = RoundHalfEven(x);
    return r > hi ? hi : static_cast<int>(r);
}

// Saturates to the 16-bit range: for window geometry, which is stored rather than refused.
inline int Saturate16(double x) {
    if (std::isnan(x)) return 0;
    if (x < kInt16Min) return kInt16Min;
    if (x > kInt16Max) return kInt16Max;
    return static_cast<int>(RoundHalfEven(x));
}

}  // namespace tessan
