#pragma once
// A digest of the analysis state, item by item, for the fuzz targets' promise that a reader
// changes nothing but what it documents. Each item of AnalysisState gets one 64-bit digest of
// its exact contents: doubles bitwise (NaN payloads and the sign of zero included), texts
// byte by byte, vectors over their whole allocation, the model slots whole. The four big
// matrices (des, U, Vt, bb) would cost milliseconds per input whole; they are digested over
// their first 64 rows of their first 32 columns, where every model of the starting state and
// of the seeds lies, and a sample of one element in 1021 of the rest.
//
// A new item of AnalysisState must be added to DigestOf (StateDigest.cpp), or no target sees it.
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "state/AnalysisState.h"

namespace tessan::fuzz {

struct StateDigest {
    std::vector<std::pair<std::string_view, std::uint64_t>> items;   // in the order of DigestOf
};

StateDigest DigestOf(const AnalysisState& s);

// Aborts with the names of the items that differ between before and after, other than those in
// allowed (names as in AnalysisState, "Models" for the whole store, "geom" for the geometry).
void ExpectUnchangedBut(const StateDigest& before, const StateDigest& after,
                        std::initializer_list<std::string_view> allowed, const char* what);

}  // namespace tessan::fuzz
