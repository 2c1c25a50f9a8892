// A scratch folder per test, the tool runner and the bundle's own view of the plug-in.
#pragma once

#include "support/SoundFiles.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace CliTest {

using namespace TestSupport;

class CliRender : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaline-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string path(const std::string& name) const { return folder + "/" + name; }

    // Writes a test signal and returns its path.
    std::string input(const std::string& name, int format, int channels = 2, int sampleRate = 44100,
                      long frames = 3000)
    {
        const std::string file = path(name);
        EXPECT_TRUE(writeSound(file, testSignal(channels, sampleRate, frames), format)) << file;
        return file;
    }

    ToolResult run(const std::vector<std::string>& args) const { return runTool(args, folder); }

    // Renders and reads the result back; fails the test when the tool fails.
    Sound render(const std::vector<std::string>& args, const std::string& output)
    {
        const ToolResult result = run(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        Sound sound;
        EXPECT_TRUE(readSound(output, sound)) << output;
        return sound;
    }

    // Names in the scratch folder (hidden temporary files included).
    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }

    std::string folder;
};

// The tail the plug-in reports at a sample rate, asked through its VST3 interfaces.
long reportedTail(double sampleRate);

} // namespace CliTest
