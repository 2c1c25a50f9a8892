#include "ModuleInfoJson.h"

#include "HostStrings.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace TessalineModuleInfo {

using namespace Steinberg;

namespace {
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text)
    {
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (static_cast<unsigned char>(c) < 0x20)
        {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        }
        else
            out += c;
    }
    return out + "\"";
}

const char* flag(bool on) { return on ? "true" : "false"; }

std::vector<std::string> splitBars(const std::string& text)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, '|');)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

void writeFactory(std::ostream& out, const PFactoryInfo& factory)
{
    out << "  \"Factory Info\": {\n"
        << "    \"Vendor\": " << quoted(factory.vendor) << ",\n"
        << "    \"URL\": " << quoted(factory.url) << ",\n"
        << "    \"E-Mail\": " << quoted(factory.email) << ",\n"
        << "    \"Flags\": {\n"
        << "      \"Unicode\": " << flag(factory.flags & PFactoryInfo::kUnicode) << ",\n"
        << "      \"Classes Discardable\": " << flag(factory.flags & PFactoryInfo::kClassesDiscardable)
        << ",\n"
        << "      \"License Check\": " << flag(factory.flags & PFactoryInfo::kLicenseCheck) << ",\n"
        << "      \"Component Non Discardable\": "
        << flag(factory.flags & PFactoryInfo::kComponentNonDiscardable) << "\n"
        << "    }\n"
        << "  },\n";
}

// A class without its own vendor shows the factory's, as hosts display it.
void writeClass(std::ostream& out, const PClassInfo2& info, const PFactoryInfo& factory, bool last)
{
    const std::string vendor = info.vendor[0] ? info.vendor : factory.vendor;
    out << "    {\n"
        << "      \"CID\": " << quoted(TessalineHost::cidToHex(info.cid)) << ",\n"
        << "      \"Category\": " << quoted(info.category) << ",\n"
        << "      \"Name\": " << quoted(info.name) << ",\n"
        << "      \"Vendor\": " << quoted(vendor) << ",\n"
        << "      \"Version\": " << quoted(info.version) << ",\n"
        << "      \"SDKVersion\": " << quoted(info.sdkVersion) << ",\n"
        << "      \"Sub Categories\": [";
    const std::vector<std::string> sub = splitBars(info.subCategories);
    for (size_t i = 0; i < sub.size(); ++i)
        out << (i ? ", " : "") << quoted(sub[i]);
    out << "],\n"
        << "      \"Class Flags\": " << info.classFlags << ",\n"
        << "      \"Cardinality\": " << info.cardinality << ",\n"
        << "      \"Snapshots\": []\n"
        << "    }" << (last ? "\n" : ",\n");
}
} // namespace

std::string moduleInfoJson(const TessalineHost::HostModule& module, const std::string& name)
{
    PFactoryInfo factory = {};
    module.factoryInfo(factory);
    std::vector<PClassInfo2> classes;
    for (int32 i = 0; i < module.classCount(); ++i)
    {
        PClassInfo2 info = {};
        if (module.classInfo2(i, info))
            classes.push_back(info);
    }
    // The module's version is its (first) class's version; the bundle carries one product.
    const std::string version = classes.empty() ? "" : classes.front().version;
    std::ostringstream out;
    out << "{\n  \"Name\": " << quoted(name) << ",\n  \"Version\": " << quoted(version) << ",\n";
    writeFactory(out, factory);
    out << "  \"Compatibility\": [],\n  \"Classes\": [\n";
    for (size_t i = 0; i < classes.size(); ++i)
        writeClass(out, classes[i], factory, i + 1 == classes.size());
    out << "  ]\n}\n";
    return out.str();
}

} // namespace TessalineModuleInfo
