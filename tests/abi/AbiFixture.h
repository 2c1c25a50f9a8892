// The built bundle, loaded once per test through its exported functions only.
#pragma once

#include "HostInstance.h"
#include "HostModule.h"
#include "HostStrings.h"
#include "factory/TessalineIds.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace AbiTest {

using namespace Steinberg;
using namespace Steinberg::Vst;
using TessalineHost::HostInstance;
using TessalineHost::HostModule;
using TessalineHost::toUtf8;

inline const char* bundlePath() { return TESSALINE_BUNDLE_PATH; }

class Bundle : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(module.load(bundlePath())) << module.error(); }

    // One initialized instance of the module's class.
    void createInstance()
    {
        ASSERT_TRUE(instance.create(module.factory(), cid()));
        ASSERT_EQ(instance.initialize(), kResultOk);
    }

    static const TUID& cid()
    {
        static TUID id;
        std::memcpy(id, Tessaline::kProcessorCid, sizeof id);
        return id;
    }

    HostModule module;
    HostInstance instance; // destroyed before the module unloads
};

} // namespace AbiTest
