#pragma once
// One star of the state, the standard or the program star, seen through the same names: its
// header (cards, keywords, values, card count), object, file name and full path, wavelength
// keywords (blue end, step per pixel, red end), pixel values, wavelengths, normalised
// (inverted) values and its own pixel count. The FITS reader stores a star through it; the
// windows that exist once per star (spectrum plot, header and data viewers) read through it.
//
// BasicStarView<AnalysisState> writes, BasicStarView<const AnalysisState> only reads. A view
// refers to the state it was built on and must not outlive it.
#include "state/AnalysisState.h"

namespace tessan {

enum class Star { Std, Pro };

template <class State>
class BasicStarView {
public:
    BasicStarView(State& s, Star star) : m_s(s), m_std(star == Star::Std) {}

    Star star() const { return m_std ? Star::Std : Star::Pro; }
    auto& Hdr() const { return m_std ? m_s.StdHdr : m_s.ProHdr; }          // 1..200
    auto& Key() const { return m_std ? m_s.StdKey : m_s.ProKey; }          // 1..200
    auto& Val() const { return m_std ? m_s.StdVal : m_s.ProVal; }          // 1..200
    auto& nRecords() const { return m_std ? m_s.nRecords_StdHdr : m_s.nRecords_ProHdr; }
    auto& Object() const { return m_std ? m_s.StdObject : m_s.ProObject; }
    auto& FileName() const { return m_std ? m_s.StdFileName : m_s.ProFileName; }
    auto& FullPath() const { return m_std ? m_s.StdFullPath : m_s.ProFullPath; }
    auto& WaveL_B() const { return m_std ? m_s.WaveL_B_Std : m_s.WaveL_B_Pro; }
    auto& dLambda_dp() const { return m_std ? m_s.dLambda_dp_Std : m_s.dLambda_dp_Pro; }
    auto& WaveL_R() const { return m_std ? m_s.WaveL_R_Std : m_s.WaveL_R_Pro; }
    auto& Pixval() const { return m_std ? m_s.Pixval : m_s.Pixval_Pro; }   // 1..nPix
    auto& Wave() const { return m_std ? m_s.ws : m_s.wp; }                 // 1..nPix, Angstrom
    auto& Inverted() const { return m_std ? m_s.ss : m_s.sp; }             // 1..nPix, 1 - Pixval / max
    auto& nPix() const { return m_std ? m_s.nPixStd : m_s.nPixPro; }

private:
    State& m_s;
    bool m_std;
};

using StarView = BasicStarView<AnalysisState>;
using ConstStarView = BasicStarView<const AnalysisState>;

}  // namespace tessan
