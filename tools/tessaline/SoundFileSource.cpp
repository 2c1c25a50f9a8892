#include "SoundFileSource.h"

#include "OutputFormat.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace TessalineTool {

namespace {
// libsndfile's own message is vague about the usual causes; name them first.
std::string openFailure(const std::string& path)
{
    struct stat status
    {};
    if (stat(path.c_str(), &status) != 0)
        return "cannot open '" + path + "': " + std::strerror(errno);
    if (S_ISDIR(status.st_mode))
        return "'" + path + "' is a folder, not a sound file";
    return "cannot read '" + path + "': " + sf_strerror(nullptr) + " (supported: WAV, AIFF, FLAC, OGG)";
}
} // namespace

SoundFileSource::~SoundFileSource()
{
    if (file)
        sf_close(file);
}

bool SoundFileSource::open(const std::string& path, std::string& error)
{
    info = SF_INFO{};
    file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
    {
        error = openFailure(path);
        return false;
    }
    if (!isSupportedContainer(info.format))
    {
        error = "'" + path + "' is a " + containerName(info.format)
                + " file; tessaline reads WAV, AIFF, FLAC and OGG";
        return false;
    }
    if (info.channels != 1 && info.channels != 2)
    {
        error = "'" + path + "' has " + std::to_string(info.channels)
                + " channels; tessaline renders mono or stereo files";
        return false;
    }
    return true;
}

int64_t SoundFileSource::read(float* interleaved, int64_t maxFrames)
{
    const sf_count_t got = sf_readf_float(file, interleaved, maxFrames);
    if (got == 0 && sf_error(file) != SF_ERR_NO_ERROR)
        return -1;
    return got;
}

} // namespace TessalineTool
