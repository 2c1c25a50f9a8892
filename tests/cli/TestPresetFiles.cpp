// The factory presets as .vstpreset files, and the module information the bundle carries.
#include "BundleInstance.h"

#include "FactoryPresetFiles.h"
#include "HostStrings.h"
#include "ToolRunner.h"

#include "public.sdk/source/vst/vstpresetfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace CliTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
namespace fs = std::filesystem;

class PresetFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tessaline-presets-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        ASSERT_TRUE(writer.ok());
        presets = TessalinePresets::factoryPresets(writer.instance());
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    BundleInstance writer;
    std::vector<TessalinePresets::FactoryPreset> presets;
};

// Each preset file names the class and, loaded into a fresh instance through the preset-file
// code (component and controller), gives exactly the values that selecting the preset gives.
TEST_F(PresetFiles, WrittenPresetsLoadBackAsThePresetsValues)
{
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[0].name, "Factory Preset");
    EXPECT_EQ(presets[1].name, "Studio");
    for (size_t p = 0; p < presets.size(); ++p)
    {
        SCOPED_TRACE(presets[p].name);
        std::string error;
        ASSERT_TRUE(TessalinePresets::writePresetFile(writer.instance(), writer.classId(), presets[p],
                                                      folder.string(), error))
            << error;
        const fs::path file = folder / (presets[p].name + ".vstpreset");

        IBStream* stream = FileStream::open(file.string().c_str(), "rb");
        ASSERT_NE(stream, nullptr);
        {
            PresetFile preset(stream);
            ASSERT_TRUE(preset.readChunkList());
            EXPECT_TRUE(preset.getClassID() == FUID::fromTUID(writer.classId()));
            EXPECT_TRUE(preset.contains(kComponentState));
        }

        BundleInstance expected;
        ASSERT_TRUE(expected.selectPreset(static_cast<int>(p)));
        BundleInstance loaded;
        // Move off the preset's values first, so loading has something to do.
        loaded.selectPreset(static_cast<int>(presets.size() - 1 - p));
        stream->seek(0, IBStream::kIBSeekSet, nullptr);
        EXPECT_TRUE(PresetFile::loadPreset(stream, FUID::fromTUID(writer.classId()),
                                           loaded.instance().getComponent(), &loaded.controller()));
        stream->release();

        const auto want = expected.values();
        const auto got = loaded.values();
        ASSERT_EQ(want.size(), got.size());
        for (size_t i = 0; i < want.size(); ++i)
        {
            if (want[i].title == "Factory Presets")
                continue; // a loaded state does not say which preset it came from
            EXPECT_NEAR(got[i].normalized, want[i].normalized, 1e-6) << want[i].title;
        }
    }
}

// A file of another class is refused rather than applied.
TEST_F(PresetFiles, LoadingRefusesAnotherClassId)
{
    std::string error;
    ASSERT_TRUE(TessalinePresets::writePresetFile(writer.instance(), writer.classId(), presets.at(1),
                                                  folder.string(), error));
    IBStream* stream = FileStream::open((folder / "Studio.vstpreset").string().c_str(), "rb");
    ASSERT_NE(stream, nullptr);
    TUID other = {};
    std::memcpy(other, writer.classId(), sizeof other);
    other[15] ^= 0x01;
    BundleInstance loaded;
    EXPECT_FALSE(PresetFile::loadPreset(stream, FUID::fromTUID(other), loaded.instance().getComponent(),
                                        &loaded.controller()));
    stream->release();
}

// The bundle built for hosts carries one file per preset, identical to a fresh one.
TEST_F(PresetFiles, BundleCarriesCurrentPresetFiles)
{
    for (const auto& preset : presets)
    {
        SCOPED_TRACE(preset.name);
        std::string error;
        ASSERT_TRUE(TessalinePresets::writePresetFile(writer.instance(), writer.classId(), preset,
                                                      folder.string(), error));
        const std::string name = TessalinePresets::presetFileName(preset.name);
        const fs::path shipped = fs::path(TESSALINE_PRESET_DIR) / name;
        ASSERT_TRUE(fs::exists(shipped)) << shipped;
        EXPECT_EQ(textOf(shipped), textOf(folder / name));
    }
}

// A preset name becomes one file in the preset folder: separators and control characters cannot
// open a sub-folder or break a listing, everything else is kept.
TEST(PresetFileName, ReplacesOnlyWhatAFileSystemTripsOver)
{
    const struct
    {
        const char* name;
        const char* file;
    } cases[] = {{"Studio", "Studio.vstpreset"},
                 {"Factory Preset", "Factory Preset.vstpreset"},
                 {"A/B\\C:D", "A_B_C_D.vstpreset"},
                 {"Line\nBreak\t", "Line_Break_.vstpreset"},
                 {"Caf\xC3\xA9 (wide)", "Caf\xC3\xA9 (wide).vstpreset"}};
    for (const auto& c : cases)
        EXPECT_EQ(TessalinePresets::presetFileName(c.name), c.file) << c.name;
}

// moduleinfo.json describes the module as its factory does.
TEST(ModuleInfo, BundleCarriesTheFactorysDescription)
{
    BundleInstance bundle;
    ASSERT_TRUE(bundle.ok());
    const std::string json = textOf(fs::path(TESSALINE_BUNDLE_PATH) / "Contents/Resources/moduleinfo.json");
    ASSERT_FALSE(json.empty());
    PClassInfo2 info = {};
    ASSERT_TRUE(bundle.module().classInfo2(0, info));
    const std::string expected[] = {
        "\"Name\": \"Tessaline\"",
        "\"CID\": \"" + TessalineHost::cidToHex(bundle.classId()) + "\"",
        "\"Category\": \"Audio Module Class\"",
        "\"Sub Categories\": [\"FX\", \"Reverb\"]",
        "\"Version\": \"" + std::string(info.version) + "\"",
        "\"Vendor\": \"Quorvane\"",
        "\"Cardinality\": 2147483647",
        "\"Unicode\": true",
    };
    for (const std::string& text : expected)
        EXPECT_NE(json.find(text), std::string::npos) << text;
}

} // namespace
} // namespace CliTest
