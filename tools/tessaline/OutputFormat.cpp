#include "OutputFormat.h"

#include <sndfile.h>

#include <cctype>

namespace TessalineTool {

namespace {
std::string lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The extension of a path's last component ("" when it has none, or for "-").
std::string extensionOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return "";
    return name.substr(dot + 1);
}
} // namespace

bool isSupportedContainer(int format)
{
    switch (format & SF_FORMAT_TYPEMASK)
    {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_RF64:
    case SF_FORMAT_W64:
    case SF_FORMAT_AIFF:
    case SF_FORMAT_FLAC:
    case SF_FORMAT_OGG: return true;
    default: return false;
    }
}

int outputFormatFor(int format)
{
    const int container = format & SF_FORMAT_TYPEMASK;
    switch (container)
    {
    case SF_FORMAT_FLAC: return container | SF_FORMAT_PCM_24;
    case SF_FORMAT_OGG:
        return container
               | ((format & SF_FORMAT_SUBMASK) == SF_FORMAT_OPUS ? SF_FORMAT_OPUS : SF_FORMAT_VORBIS);
    default: return container | SF_FORMAT_FLOAT;
    }
}

int formatForContainerName(const std::string& name)
{
    const std::string key = lowered(name);
    if (key == "wav" || key == "wave")
        return outputFormatFor(SF_FORMAT_WAV);
    if (key == "w64")
        return outputFormatFor(SF_FORMAT_W64);
    if (key == "rf64")
        return outputFormatFor(SF_FORMAT_RF64);
    if (key == "aif" || key == "aiff" || key == "aifc")
        return outputFormatFor(SF_FORMAT_AIFF);
    if (key == "flac")
        return outputFormatFor(SF_FORMAT_FLAC);
    if (key == "ogg" || key == "oga")
        return outputFormatFor(SF_FORMAT_OGG);
    if (key == "opus")
        return SF_FORMAT_OGG | SF_FORMAT_OPUS;
    return 0;
}

bool chooseOutputFormat(const std::string& outputPath, const std::string& typeName, int fallbackFormat,
                        int& format, std::string& error)
{
    if (!typeName.empty())
    {
        format = formatForContainerName(typeName);
        if (format == 0)
            error = "--type wants one of " + std::string(kContainerNames) + ", not '" + typeName + "'";
        return format != 0;
    }
    const std::string extension = outputPath == "-" ? "" : extensionOf(outputPath);
    if (extension.empty())
    {
        // An RF64 input that is small is a WAV file in all but name: the output is WAV (which
        // becomes RF64 itself when it must).
        const bool rf64 = (fallbackFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_RF64;
        format = outputFormatFor(rf64 ? SF_FORMAT_WAV : fallbackFormat);
        return true;
    }
    format = formatForContainerName(extension);
    if (format == 0)
        error = "'" + outputPath + "': ." + extension + " names no container tessaline writes ("
                + kContainerNames + "); choose one of those, or give --type";
    return format != 0;
}

std::string containerName(int format)
{
    SF_FORMAT_INFO info{};
    info.format = format & SF_FORMAT_TYPEMASK;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) != 0 || !info.name)
        return "unknown";
    const std::string name = info.name;
    return name.substr(0, name.find(' ')); // "WAV (Microsoft)" -> "WAV"
}

std::string describeFormat(int format)
{
    const std::string container = containerName(format);
    switch (format & SF_FORMAT_SUBMASK)
    {
    case SF_FORMAT_FLOAT: return "32-bit float " + container;
    case SF_FORMAT_PCM_24: return "24-bit " + container;
    case SF_FORMAT_VORBIS: return "Vorbis " + container;
    case SF_FORMAT_OPUS: return "Opus " + container;
    default: return container;
    }
}

} // namespace TessalineTool
