#include "OutputFormat.h"

#include <sndfile.h>

#include <cctype>

namespace TessalineTool {

bool isSupportedContainer(int format)
{
    switch (format & SF_FORMAT_TYPEMASK)
    {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_AIFF:
    case SF_FORMAT_FLAC:
    case SF_FORMAT_OGG: return true;
    default: return false;
    }
}

int outputFormatFor(int inputFormat)
{
    const int container = inputFormat & SF_FORMAT_TYPEMASK;
    switch (container)
    {
    case SF_FORMAT_FLAC: return container | SF_FORMAT_PCM_24;
    case SF_FORMAT_OGG: return container | SF_FORMAT_VORBIS;
    default: return container | SF_FORMAT_FLOAT;
    }
}

int containerForName(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return 0;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "wav")
        return SF_FORMAT_WAV;
    if (extension == "aif" || extension == "aiff" || extension == "aifc")
        return SF_FORMAT_AIFF;
    if (extension == "flac")
        return SF_FORMAT_FLAC;
    if (extension == "ogg" || extension == "oga")
        return SF_FORMAT_OGG;
    return 0;
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
    default: return container;
    }
}

} // namespace TessalineTool
