// lv2apply (lilv's file processor) through the installed-layout bundle against `tessaline render`
// through the VST3 bundle: the same file, the same setting, the same samples (bound: zero).
#include "support/SoundFiles.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

TEST(Lv2Apply, RendersWhatTessalineRenderRenders)
{
    const std::filesystem::path dir = std::filesystem::path(TESSALINE_LV2_SCRATCH) / "apply";
    std::filesystem::create_directories(dir);
    const std::string dry = (dir / "dry.wav").string(), lv2 = (dir / "lv2.wav").string(),
                      vst3 = (dir / "vst3.wav").string();
    ASSERT_TRUE(TestSupport::writeSound(dry, TestSupport::testSignal(2, 44100, 30000),
                                        SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    std::filesystem::remove(lv2);
    std::filesystem::remove(vst3);
    const std::string lv2Path = std::filesystem::path(TESSALINE_LV2_BUNDLE_PATH).parent_path().string();
    ASSERT_EQ(run("LV2_PATH='" + lv2Path + "' lv2apply -c abs_l_r 4.0 -c position 3 -i '" + dry + "' -o '"
                  + lv2 + "' https://tessaline.quorvane.example/plugins/tessaline"),
              0);
    ASSERT_EQ(run(std::string("'") + TESSALINE_TOOL_PATH + "' --bundle '" + TESSALINE_BUNDLE_PATH
                  + "' render '" + dry + "' '" + vst3 + "' --no-tail --set 'Abs L-R=4' --set Position=L45"),
              0);
    TestSupport::Sound a, b;
    ASSERT_TRUE(TestSupport::readSound(lv2, a));
    ASSERT_TRUE(TestSupport::readSound(vst3, b));
    EXPECT_EQ(TestSupport::largestDifference(a, b), 0.0);
    EXPECT_GT(TestSupport::peak(a), 1e-3);
}
} // namespace
