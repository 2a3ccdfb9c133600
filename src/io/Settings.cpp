#include "io/Settings.h"

#include <array>
#include <string>

#include "io/RecordFile.h"
#include "text/Int16.h"

namespace tessan {

namespace {

constexpr const char* kDefaultDataPath = "c:";
constexpr const char* kDefaultLambda0Key = "CRVAL1";
constexpr const char* kDefaultdLambdaKey = "CD1_1";

// Calls fn once per geometry record (4 to 22), in file order, with the addresses of the
// record's items: Left, Top and, for resizable windows, Width, Height.
template <class G, class Fn>
void eachGeometryRecord(G& g, Fn&& fn) {
    auto pos = [&](auto& w) { fn(std::array{&w.Left, &w.Top}); };
    auto rect = [&](auto& w) { fn(std::array{&w.Left, &w.Top, &w.Width, &w.Height}); };
    pos(g.frmAbout);
    rect(g.frmDisplayData_Pro);
    rect(g.frmDisplayData_Std);
    rect(g.frmDisplayHdr_Pro);
    rect(g.frmDisplayHdr_Std);
    rect(g.frmHelp);
    pos(g.frmLoad_model);
    pos(g.frmLoadPro);
    pos(g.frmLoadStd);
    rect(g.frmMain);
    rect(g.frmPlotData_bb);
    rect(g.frmPlotData_CC);
    rect(g.frmPlotdata_ww);
    pos(g.frmSave_bb);
    pos(g.frmSave_model);
    pos(g.frmSelect_Key1);
    pos(g.frmSelect_Key2);
    rect(g.frmPlot_Spectr_Pro);
    rect(g.frmPlot_Spectr_Std);
}

// Everything the file carries, read into temporaries before any of it is applied.
struct SettingsRead {
    std::string dataPath, lambda0Key, dLambdaKey;
    Geometry geom;
    bool gaussFitMode = false, bbCombo1Flag = false, bbCombo2Flag = false;
};

// Reads the 24 records' items in order and stops at the first failure, keeping in r what was
// read before it. True when every item was read.
bool readSettings(RecordReader& in, SettingsRead& r) {
    if (in.ReadText(r.dataPath) || in.ReadText(r.lambda0Key) || in.ReadText(r.dLambdaKey)) return false;
    bool failed = false;
    eachGeometryRecord(r.geom, [&](auto items) {
        for (int* item : items)
            if (!failed && in.ReadInt16(*item) != 0) failed = true;
    });
    if (failed) return false;
    return in.ReadBool(r.gaussFitMode) == 0 && in.ReadBool(r.bbCombo1Flag) == 0 &&
           in.ReadBool(r.bbCombo2Flag) == 0;
}

// The writer would store a text holding a double quote, CR or LF altered (QuotedFieldText).
// An altered path or keyword names another directory or keyword, which the next start would
// use without a word; such a text is written as its default instead, as a settings file that
// cannot be read gives it.
std::string_view storable(const std::string& text, const char* fallback) {
    return QuotedFieldText(text) == text ? std::string_view(text) : std::string_view(fallback);
}

}  // namespace

void LoadSettings(AnalysisState& s, const std::filesystem::path& dir) {
    SettingsRead r;
    bool ok = false;
    std::string content;
    if (ReadWholeFile(dir / kSettingsFileName, content) == 0) {
        RecordReader in(std::move(content));
        ok = readSettings(in, r);
    }
    if (ok) {
        s.DataPath = r.dataPath;
        s.Lambda0_Key = r.lambda0Key;
        s.dLambda_Key = r.dLambdaKey;
        s.geom = r.geom;
    } else {
        s.DataPath = kDefaultDataPath;
        s.Lambda0_Key = kDefaultLambda0Key;
        s.dLambda_Key = kDefaultdLambdaKey;
        s.geom = Geometry{};
    }
    // The three BF choices keep whatever was read before a failure, or false.
    s.GaussFitMode = r.gaussFitMode;
    s.bbCombo1Flag = r.bbCombo1Flag;
    s.bbCombo2Flag = r.bbCombo2Flag;
}

int SaveSettings(const AnalysisState& s, const std::filesystem::path& dir) {
    RecordWriter w;
    w.reserve(1024);
    w.Text(storable(s.DataPath, kDefaultDataPath)).EndRecord();
    w.Text(storable(s.Lambda0_Key, kDefaultLambda0Key)).EndRecord();
    w.Text(storable(s.dLambda_Key, kDefaultdLambdaKey)).EndRecord();
    // Geometry is saturated to 16 bits so that the file always reads back.
    eachGeometryRecord(s.geom, [&](auto items) {
        for (const int* item : items) w.Int(Saturate16(*item));
        w.EndRecord();
    });
    w.Bool(s.GaussFitMode).Bool(s.bbCombo1Flag).EndRecord();
    w.Bool(s.bbCombo2Flag).EndRecord();
    return WriteFileAtomically(dir / kSettingsFileName, w.str());
}

}  // namespace tessan
