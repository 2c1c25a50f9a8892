// tessaline-moduleinfo BUNDLE OUT: writes the module information of a built bundle, read through
// its exported factory like a host reads it. Runs at build time.
#include "ModuleInfoJson.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {
std::string bundleName(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::string name = path.substr(path.rfind('/') + 1);
    const std::string suffix = ".vst3";
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.erase(name.size() - suffix.size());
    return name;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: tessaline-moduleinfo BUNDLE OUT\n");
        return 2;
    }
    TessalineHost::HostModule module;
    if (!module.load(argv[1]))
    {
        std::fprintf(stderr, "tessaline-moduleinfo: cannot load %s: %s\n", argv[1], module.error().c_str());
        return 1;
    }
    if (module.classCount() < 1)
    {
        std::fprintf(stderr, "tessaline-moduleinfo: %s registers no class\n", argv[1]);
        return 1;
    }
    const std::string json = TessalineModuleInfo::moduleInfoJson(module, bundleName(argv[1]));
    const std::string temporary = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << json;
        if (!out.flush())
        {
            std::fprintf(stderr, "tessaline-moduleinfo: cannot write %s\n", temporary.c_str());
            std::remove(temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), argv[2]) != 0)
    {
        std::fprintf(stderr, "tessaline-moduleinfo: cannot create %s\n", argv[2]);
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
