// The editor finds its description in the Resources folder of the bundle its module was
// loaded from, whether the bundle or the module file is reached through a symbolic link.
#include "editor/EditorResources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Steinberg::Vst::Vava2DUZ3::resourceFolderOfModule;

namespace {

class BundleTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path()
               / ("tessaline-resources-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                  + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        bundle = root / "real" / "Tessaline.vst3";
        fs::create_directories(bundle / "Contents" / "x86_64-linux");
        fs::create_directories(bundle / "Contents" / "Resources");
        std::ofstream(bundle / "Contents" / "x86_64-linux" / "Tessaline.so") << "module";
        std::ofstream(bundle / "Contents" / "Resources" / "tovu.uidesc") << "<x/>";
    }
    void TearDown() override { fs::remove_all(root); }

    std::string module(const fs::path& bundlePath) const
    {
        return (bundlePath / "Contents" / "x86_64-linux" / "Tessaline.so").string();
    }

    fs::path root;
    fs::path bundle;
};

} // namespace

TEST_F(BundleTree, FoundBesideTheModule)
{
    EXPECT_EQ(resourceFolderOfModule(module(bundle), "tovu.uidesc"),
              (bundle / "Contents" / "Resources").string());
    EXPECT_EQ(resourceFolderOfModule(module(bundle), "missing.uidesc"), "");
}

TEST_F(BundleTree, BundleReachedThroughALink)
{
    // ~/.vst3/Tessaline.vst3 -> the build tree's bundle: the linked path is kept as given.
    const fs::path linked = root / "vst3" / "Tessaline.vst3";
    fs::create_directories(linked.parent_path());
    fs::create_directory_symlink(bundle, linked);
    EXPECT_EQ(resourceFolderOfModule(module(linked), "tovu.uidesc"),
              (linked / "Contents" / "Resources").string());
}

TEST_F(BundleTree, ModuleFileLinkedIntoABareFolder)
{
    // Only the module is linked: its real bundle holds the resources.
    const fs::path bare = root / "bare" / "Tessaline.vst3";
    fs::create_directories(bare / "Contents" / "x86_64-linux");
    fs::create_symlink(module(bundle), module(bare));
    EXPECT_EQ(resourceFolderOfModule(module(bare), "tovu.uidesc"),
              fs::canonical(bundle / "Contents" / "Resources").string());
}

TEST_F(BundleTree, NoBundleAroundTheModule)
{
    EXPECT_EQ(resourceFolderOfModule((root / "Tessaline.so").string(), "tovu.uidesc"), "");
    EXPECT_EQ(resourceFolderOfModule("Tessaline.so", "tovu.uidesc"), "");
}
