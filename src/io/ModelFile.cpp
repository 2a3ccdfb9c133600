#include "io/ModelFile.h"

#include <new>
#include <string_view>
#include <utility>

#include "io/RecordFile.h"
#include "state/ErrText.h"
#include "state/Limits.h"
#include "text/Int16.h"

namespace tessan {

namespace {

constexpr std::string_view kEndLabel = "----- END -----";
constexpr const char* kNoModel = "There is no model to save: compute or load a model first.";

void labelRecord(RecordWriter& w, std::string_view label) {
    w.Text(label);
    w.EndRecord();
}

void realRecord(RecordWriter& w, double x, std::string_view label) {
    w.Real(x).Text(label);
    w.EndRecord();
}

// Rows i = 1..rows (outer), columns j = 1..cols (inner), one value per record.
void matrixRecords(RecordWriter& w, const Mat& a, int rows, int cols) {
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j) {
            w.Real(a(i, j));
            w.EndRecord();
        }
}

}  // namespace

int Save_model(const AnalysisState& s, Platform& p) {
    // The model's pixel count is the grid's: w1, the rows of des and U and the standard's
    // arrays were all built with it.
    const int n = s.nGrid;
    const int span = s.span;
    if (!s.svdValid || span < 1 || span > lim::kMaxSpan || n < span || n > lim::kMaxPix) {
        p.MsgBox(kNoModel);
        return -1;
    }
    const int m = n - span + 1;
    const int cards = s.nRecords_StdHdr < 0 ? 0 : (s.nRecords_StdHdr > lim::kMaxCards ? lim::kMaxCards : s.nRecords_StdHdr);

    RecordWriter w;
    // At most 23 characters per number and 2 per line end; the labels and cards are small.
    const std::size_t values = 2u * static_cast<std::size_t>(m) * static_cast<std::size_t>(span) +
                               static_cast<std::size_t>(span) * static_cast<std::size_t>(span) +
                               5u * static_cast<std::size_t>(n) + 2u * static_cast<std::size_t>(span);
    w.reserve(values * 25 + static_cast<std::size_t>(cards) * 90 + s.StdFileName.size() +
              s.StdObject.size() + 1024);

    w.Text(s.StdFileName);
    w.EndRecord();
    w.Text(s.StdObject);
    w.EndRecord();
    w.Int(cards).Text("--- nRecords_StdHdr");
    w.EndRecord();
    for (int i = 1; i <= cards; ++i) {
        w.Text(s.StdHdr(i));
        w.EndRecord();
    }
    realRecord(w, n, "--- NAXIS1");
    realRecord(w, s.WaveL_B_Std, "--- WaveL_B_Std");
    realRecord(w, s.dLambda_dp_Std, "--- dLambda_dp_Std");
    realRecord(w, s.WaveL_R_Std, "--- WaveL_R_Std");
    labelRecord(w, "----- Start Pixval() -----");
    for (int i = 1; i <= n; ++i) {
        w.Real(s.Pixval(i));
        w.EndRecord();
    }
    labelRecord(w, "----- Start ws(), ss() -----");
    for (int i = 1; i <= n; ++i) {
        w.Real(s.ws(i)).Real(s.ss(i));
        w.EndRecord();
    }
    realRecord(w, s.delV, "--- delV");
    realRecord(w, s.Min_waveL, "--- Min_waveL");
    // The upper end of the range is not part of a model; the line keeps its place with 0.
    realRecord(w, 0, "--- Max_waveL");
    realRecord(w, s.r1, "--- r1");
    labelRecord(w, "----- Start w1() -----");
    for (int i = 1; i <= n; ++i) {
        w.Real(s.w1(i));
        w.EndRecord();
    }
    labelRecord(w, "----- Start des(,) -----");
    w.Int(span).Text("--- span");
    w.EndRecord();
    matrixRecords(w, s.des, m, span);
    labelRecord(w, "----- Start U(,) -----");
    matrixRecords(w, s.U, m, span);
    labelRecord(w, "----- Start ww() -----");
    for (int j = 1; j <= span; ++j) {
        w.Real(s.ww(j));
        w.EndRecord();
    }
    labelRecord(w, "----- Start Vt(,) -----");
    matrixRecords(w, s.Vt, span, span);
    // The resampled standard is written whenever it belongs to this model. A model that came
    // from a file without it (ssrAvailable false) is written in that older format again: its
    // ssr holds another spectrum's values, which a reader would otherwise take as the model's.
    if (s.ssrAvailable) {
        labelRecord(w, "----- Start ssr() -----");
        for (int i = 1; i <= span; ++i) {
            w.Real(s.ssr(i));
            w.EndRecord();
        }
    }
    labelRecord(w, kEndLabel);

    if (int e = WriteFileAtomically(s.ModelFullPath, w.str())) {
        p.MsgBox(ErrTextFor(e));
        return e;
    }
    return 0;
}

namespace {

// Reads "value, label" records and bare label records; the label texts are discarded.
int readRealLabelled(RecordReader& r, double& x) {
    if (int e = r.ReadReal(x)) return e;
    return r.Skip();
}

int readVec(RecordReader& r, Vec& v, int n) {
    for (int i = 1; i <= n; ++i)
        if (int e = r.ReadReal(v(i))) return e;
    return 0;
}

int readMatrix(RecordReader& r, Mat& a, int rows, int cols) {
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j)
            if (int e = r.ReadReal(a(i, j))) return e;
    return 0;
}

// Counts above the store's array bounds are refused as subscripts out of range (9); counts
// that cannot describe a model at all (no pixels, no columns, fewer rows than columns, a
// negative number of cards) as an invalid file format (321).
int checkCount(double v, int lo, int hi, int& out) {
    if (!(v >= lo)) return err::kInvalidFormat;   // also NaN
    const double r = RoundHalfEven(v);
    if (r > hi) return err::kSubscript;
    if (r < lo) return err::kInvalidFormat;
    out = static_cast<int>(r);
    return 0;
}

// Reads a whole model file into m, sized to the file's counts. Returns 0 or an error number;
// m is then incomplete and must be discarded.
int parseModel(RecordReader& r, ModelSlot& m) {
    if (int e = r.ReadText(m.StdFileName)) return e;
    if (int e = r.ReadText(m.StdObject)) return e;
    int cards = 0;
    if (int e = r.ReadInt16(cards)) return e;
    if (int e = checkCount(cards, 0, lim::kMaxCards, m.nRecords_StdHdr)) return e;
    if (int e = r.Skip()) return e;
    m.StdHdr.resize(m.nRecords_StdHdr);
    for (int i = 1; i <= m.nRecords_StdHdr; ++i)
        if (int e = r.ReadText(m.StdHdr(i))) return e;

    if (int e = readRealLabelled(r, m.NAXIS1)) return e;
    int n = 0;
    if (int e = checkCount(m.NAXIS1, 1, lim::kMaxPix, n)) return e;
    if (int e = readRealLabelled(r, m.WaveL_B_Std)) return e;
    if (int e = readRealLabelled(r, m.dLambda_dp_Std)) return e;
    if (int e = readRealLabelled(r, m.WaveL_R_Std)) return e;

    if (int e = r.Skip()) return e;
    m.Pixval.resize(n);
    if (int e = readVec(r, m.Pixval, n)) return e;
    if (int e = r.Skip()) return e;
    m.ws.resize(n);
    m.ss.resize(n);
    for (int i = 1; i <= n; ++i) {
        if (int e = r.ReadReal(m.ws(i))) return e;
        if (int e = r.ReadReal(m.ss(i))) return e;
    }
    if (int e = readRealLabelled(r, m.delV)) return e;
    if (int e = readRealLabelled(r, m.Min_waveL)) return e;
    if (int e = readRealLabelled(r, m.Max_waveL)) return e;
    if (int e = readRealLabelled(r, m.r1)) return e;
    if (int e = r.Skip()) return e;
    m.w1.resize(n);
    if (int e = readVec(r, m.w1, n)) return e;

    if (int e = r.Skip()) return e;
    int span = 0;
    if (int e = r.ReadInt16(span)) return e;
    if (int e = checkCount(span, 1, lim::kMaxSpan, m.span)) return e;
    if (int e = r.Skip()) return e;
    const int rows = n - m.span + 1;
    if (rows < m.span) return err::kInvalidFormat;
    m.des.resize(rows, m.span);
    m.U.resize(rows, m.span);
    if (int e = readMatrix(r, m.des, rows, m.span)) return e;
    if (int e = r.Skip()) return e;
    if (int e = readMatrix(r, m.U, rows, m.span)) return e;
    if (int e = r.Skip()) return e;
    m.ww.resize(m.span);
    if (int e = readVec(r, m.ww, m.span)) return e;
    if (int e = r.Skip()) return e;
    m.Vt.resize(m.span, m.span);
    if (int e = readMatrix(r, m.Vt, m.span, m.span)) return e;

    // The record after Vt tells the formats apart: the older one ends here.
    std::string next;
    if (int e = r.ReadText(next)) return e;
    m.ssr.resize(m.span);
    m.ssrPresent = next != kEndLabel;
    if (m.ssrPresent) {
        if (int e = readVec(r, m.ssr, m.span)) return e;
        if (int e = r.Skip()) return e;
    }
    return 0;
}

}  // namespace

int ReadModelFile(const std::filesystem::path& path, ModelSlot& m) {
    try {
        std::string content;
        if (const int e = ReadWholeFile(path, content)) return e;
        RecordReader r(std::move(content));
        return parseModel(r, m);
    } catch (const std::bad_alloc&) {
        return err::kOutOfMemory;
    }
}

}  // namespace tessan
