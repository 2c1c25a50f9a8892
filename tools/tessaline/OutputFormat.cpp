#include "OutputFormat.h"

#include <sndfile.h>

namespace TessalineTool {

bool isSupportedContainer(int format)
{
    switch (format & SF_FORMAT_TYPEMASK)
    {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_AIFF:
    case SF_FORMAT_FLAC:
    case SF_FORMAT_OGG:
        return true;
    default:
        return false;
    }
}

int outputFormatFor(int inputFormat)
{
    const int container = inputFormat & SF_FORMAT_TYPEMASK;
    switch (container)
    {
    case SF_FORMAT_FLAC:
        return container | SF_FORMAT_PCM_24;
    case SF_FORMAT_OGG:
        return container | SF_FORMAT_VORBIS;
    default:
        return container | SF_FORMAT_FLOAT;
    }
}

std::string containerName(int format)
{
    SF_FORMAT_INFO info {};
    info.format = format & SF_FORMAT_TYPEMASK;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) != 0 || !info.name)
        return "unknown";
    const std::string name = info.name;
    return name.substr(0, name.find(' '));   // "WAV (Microsoft)" -> "WAV"
}

std::string describeFormat(int format)
{
    const std::string container = containerName(format);
    switch (format & SF_FORMAT_SUBMASK)
    {
    case SF_FORMAT_FLOAT:
        return "32-bit float " + container;
    case SF_FORMAT_PCM_24:
        return "24-bit " + container;
    case SF_FORMAT_VORBIS:
        return "Vorbis " + container;
    default:
        return container;
    }
}

} // namespace TessalineTool
