// The LV2 version (lv2:minorVersion, lv2:microVersion) that follows from the project's version.
#pragma once

namespace TessalineLv2 {

struct Lv2Version
{
    int minor;
    int micro;
};

// Project version major.minor.patch.tweak (each part below 100). The minor version is always
// even and at least 2: hosts take an odd one, or 0, for a development build they may hide. Every
// later project version gives a later LV2 version, so a host that finds two keeps the newer.
constexpr Lv2Version lv2VersionOf(int major, int minor, int patch, int tweak)
{
    return {2 * (1 + 100 * major + minor), 100 * patch + tweak};
}

} // namespace TessalineLv2
