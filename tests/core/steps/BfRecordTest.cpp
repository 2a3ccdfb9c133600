// The BFs keep what they were computed with: choosing another model or reading another program
// star never labels or scales them with newer values. Names and objects holding double quotes
// and commas leave every record file readable field by field.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/AtomicFile.h"
#include "io/BfResults.h"
#include "numeric/Bf.h"
#include "steps/ModelSteps.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "support/FitsWriter.h"
#include "support/RecordingPlatform.h"
#include "text/NumText.h"

namespace tessan::test {
namespace {

using Fields = std::vector<std::string>;

// One line as a strict CSV reader splits it: a field opened by a double quote runs to the next
// one ("" stands for a quote inside), which must end the line or come before a comma. nullopt
// for a line that breaks the rule.
std::optional<Fields> csvFields(std::string_view line) {
    Fields out;
    std::size_t i = 0;
    for (;;) {
        std::string f;
        if (i < line.size() && line[i] == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) return std::nullopt;
                if (line[i] != '"') f += line[i];
                else if (i + 1 < line.size() && line[i + 1] == '"') f += line[++i];
                else break;
            }
            ++i;
            if (i < line.size() && line[i] != ',') return std::nullopt;
        } else {
            while (i < line.size() && line[i] != ',') {
                if (line[i] == '"') return std::nullopt;
                f += line[i++];
            }
        }
        out.push_back(f);
        if (i >= line.size()) return out;
        ++i;
    }
}

// The lines of a file written by the record writer, each split into its fields.
std::vector<Fields> csvFile(const std::filesystem::path& path) {
    std::string text;
    EXPECT_EQ(ReadWholeFile(path, text), 0) << path;
    std::vector<Fields> lines;
    for (std::size_t a = 0, b; (b = text.find("\r\n", a)) != std::string::npos; a = b + 2) {
        const auto f = csvFields(std::string_view(text).substr(a, b - a));
        EXPECT_TRUE(f.has_value()) << path << " line " << lines.size() + 1 << ": " << text.substr(a, b - a);
        lines.push_back(f.value_or(Fields{}));
    }
    return lines;
}

std::string fileText(const std::filesystem::path& path) {
    std::string text;
    EXPECT_EQ(ReadWholeFile(path, text), 0) << path;
    return text;
}

class BfRecord : public ::testing::Test {
protected:
    BfRecord() {
        s->DataPath = p.WorkDir().string();
        s->Lambda0_Key = "CRVAL1";
        s->dLambda_Key = "CD1_1";
        write("std.fits", "HD 5 \"A\", std", 0);
        write("pro,\"b\".fits", "HD 5 \"B\", x", 40);
        write("c.fits", "HD 7 C", -30);
    }
    void write(const std::string& name, const std::string& object, double kms) {
        SpectrumFile f;
        f.object = object;
        f.values = SyntheticSpectrum(600, f.crval1, f.cd1_1, kms, 20);
        WriteFile(p.WorkDir() / name, MakeSpectrumFits(f));
    }
    void model(const char* delV, const char* span, const std::string& file) {
        ASSERT_TRUE(Resample(*s, p, delV, "5010", "5290"));
        ASSERT_TRUE(Design_matrix(*s, p, span).built);
        ASSERT_TRUE(RunSvdStep(*s, p));
        s->ModelFullPath = (p.WorkDir() / file).string();
        ASSERT_EQ(Save_model(*s, p), 0);
    }
    void read(Star star, const std::string& name) {
        (star == Star::Std ? s->StdFileName : s->ProFileName) = name;
        (star == Star::Std ? s->StdFullPath : s->ProFullPath) = (p.WorkDir() / name).string();
        ASSERT_EQ(star == Star::Std ? ReadStdFits(*s, p) : ReadProFits(*s, p), FitsOutcome::Done);
    }
    void load(const std::string& file) {
        s->ModelFullPath = (p.WorkDir() / file).string();
        ASSERT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Loaded);
    }
    void choose(int k) {
        s->CurModel = k;
        ASSERT_TRUE(Select_model(*s, k));
    }
    std::filesystem::path saveBb(const std::string& file) {
        s->BBFullPath = (p.WorkDir() / file).string();
        EXPECT_EQ(Save_bb(*s, p), 0);
        return s->BBFullPath;
    }

    RecordingPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(BfRecord, ResultsKeepTheModelAndStarsTheyWereComputedWith) {
    read(Star::Std, "std.fits");
    model("28", "41", "a.MDL");
    model("20", "31", "b.MDL");
    load("a.MDL");
    load("b.MDL");
    const double delVA = s->Models[1].delV, delVB = s->Models[2].delV;
    ASSERT_NE(delVA, delVB);
    // The model file with quotes in the object loads back with the values it was saved with.
    EXPECT_EQ(s->Models[1].StdObject, "HD 5 'A', std");
    choose(1);
    s->ModelFullPath = (p.WorkDir() / "again.MDL").string();
    ASSERT_EQ(Save_model(*s, p), 0);
    EXPECT_EQ(fileText(p.WorkDir() / "again.MDL"), fileText(p.WorkDir() / "a.MDL"));

    read(Star::Pro, "pro,\"b\".fits");
    ASSERT_TRUE(RunBfStep(*s, p));
    ASSERT_EQ(CopyBfOrder(*s, 20), 20);
    const auto first = saveBb("first.dat");
    choose(2);   // another span and delV: the BFs in hand keep theirs
    EXPECT_EQ(fileText(saveBb("second.dat")), fileText(first));

    read(Star::Pro, "c.fits");
    ASSERT_TRUE(RunBfStep(*s, p));   // model 2 now; the shown order is taken from these BFs
    const auto third = saveBb("third.dat");
    ASSERT_EQ(CopyBfOrder(*s, 20), 20);
    EXPECT_EQ(fileText(saveBb("fourth.dat")), fileText(third));
    EXPECT_TRUE(p.messages.empty()) << p.messages.front();

    struct Case {
        std::filesystem::path file;
        Fields pro, obj;
        int span;
        double delV;
    };
    const Case cases[] = {
        {first, {"Prog. File:", "pro,'b'.fits"}, {"Prog. Object:", "HD 5 'B', x"}, 41, delVA},
        {third, {"Prog. File:", "c.fits"}, {"Prog. Object:", "HD 7 C  "}, 31, delVB},
    };
    for (const Case& c : cases) {
        const auto lines = csvFile(c.file);
        ASSERT_EQ(lines.size(), 6u + static_cast<std::size_t>(c.span)) << c.file;
        EXPECT_EQ(lines[0], (Fields{"Std. File:", "std.fits"})) << c.file;
        EXPECT_EQ(lines[1], (Fields{"Std. Object:", "HD 5 'A', std"})) << c.file;
        EXPECT_EQ(lines[2], c.pro) << c.file;
        EXPECT_EQ(lines[3], c.obj) << c.file;
        EXPECT_EQ(lines[4], (Fields{"Span:", std::to_string(c.span)})) << c.file;
        EXPECT_EQ(lines[5], (Fields{"Scale, delV:", RecordText(c.delV), "km/s"})) << c.file;
        const int half = c.span / 2;
        EXPECT_EQ(lines[6][0], RecordText(-half * c.delV)) << c.file;
        EXPECT_EQ(lines.back()[0], RecordText(half * c.delV)) << c.file;
        for (std::size_t k = 6; k < lines.size(); ++k) EXPECT_EQ(lines[k].size(), 2u) << c.file << " line " << k + 1;
    }
}

}  // namespace
}  // namespace tessan::test
