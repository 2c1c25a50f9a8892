// Linux module entry stand-in: nested ModuleEntry/ModuleExit pairs run the plug-in's hooks once.
#include "public.sdk/source/main/linuxmain.h"

#include <gtest/gtest.h>

namespace {
int initCalls = 0;
int deinitCalls = 0;
} // namespace

bool InitModule()
{
    ++initCalls;
    return true;
}

bool DeinitModule()
{
    ++deinitCalls;
    return true;
}

namespace {

TEST(ModuleEntryTest, NestedPairsInitialiseOnceAndKeepTheHandle)
{
    int token = 0;
    ASSERT_TRUE(ModuleEntry(&token));
    ASSERT_TRUE(ModuleEntry(nullptr)); // an inner entry does not replace the handle
    EXPECT_EQ(initCalls, 1);
    EXPECT_EQ(moduleHandle, &token);

    EXPECT_TRUE(ModuleExit());
    EXPECT_EQ(deinitCalls, 0);
    EXPECT_EQ(moduleHandle, &token);
    EXPECT_TRUE(ModuleExit());
    EXPECT_EQ(deinitCalls, 1);
    EXPECT_EQ(moduleHandle, nullptr);

    // An unmatched exit is refused and does not unbalance the next pair.
    EXPECT_FALSE(ModuleExit());
    ASSERT_TRUE(ModuleEntry(&token));
    EXPECT_EQ(initCalls, 2);
    EXPECT_TRUE(ModuleExit());
    EXPECT_EQ(deinitCalls, 2);
}

TEST(ModuleEntryTest, ModuleFolderIsThePathUpToItsLastSlash)
{
    const std::string path = Steinberg::getModulePath();
    const std::string folder = Steinberg::getModuleFolder();
    ASSERT_FALSE(path.empty());
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(path.compare(0, folder.size(), folder), 0);
    EXPECT_EQ(path.find('/', folder.size()), std::string::npos);
}

} // namespace
