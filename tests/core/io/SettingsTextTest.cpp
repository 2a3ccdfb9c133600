// A settings text that the record writer would alter (a double quote, CR or LF in it) is written
// as its default, so that the next start never uses a path or keyword the user did not give.
#include <gtest/gtest.h>

#include <string>

#include "io/Settings.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

TEST(SettingsText, TextsTheWriterWouldAlterFallBackToTheirDefaults) {
    const struct {
        std::string dataPath, lambda0, dLambda;      // in the state
        std::string readPath, readLambda0, readDLambda;   // read back
    } cases[] = {
        {"/data/a\nb", "W\"0", "CD\r1", "c:", "CRVAL1", "CD1_1"},
        {"/data/x, 'y'", "W0", "CDELT1", "/data/x, 'y'", "W0", "CDELT1"},
    };
    for (const auto& c : cases) {
        test::RecordingPlatform p;
        AnalysisState s, back;
        s.DataPath = c.dataPath, s.Lambda0_Key = c.lambda0, s.dLambda_Key = c.dLambda;
        ASSERT_EQ(SaveSettings(s, p.WorkDir()), 0);
        LoadSettings(back, p.WorkDir());
        EXPECT_EQ(back.DataPath, c.readPath) << c.dataPath;
        EXPECT_EQ(back.Lambda0_Key, c.readLambda0) << c.dataPath;
        EXPECT_EQ(back.dLambda_Key, c.readDLambda) << c.dataPath;
    }
}

}  // namespace
}  // namespace tessan
