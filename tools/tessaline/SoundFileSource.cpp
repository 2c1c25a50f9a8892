#include "SoundFileSource.h"

#include "OutputFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    if (access(path.c_str(), R_OK) != 0)
        return "cannot read '" + path + "': " + std::strerror(errno);
    return "cannot read '" + path + "': " + sf_strerror(nullptr);
}

// Standard input into an anonymous scratch file, which libsndfile can then read at will: a pipe
// does not tell the length of what it brings, and a render needs it.
int spoolStandardInput(std::string& error)
{
    // Nobody types audio: waiting for it would look like a hang.
    if (isatty(STDIN_FILENO))
    {
        error = "standard input is a terminal; pipe a sound file into it, or name IN";
        return -1;
    }
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/.tsl-XXXXXX";
    const int descriptor = mkstemp(pattern.data());
    if (descriptor < 0)
    {
        error = "cannot keep standard input in '" + pattern.substr(0, pattern.rfind('/'))
                + "': " + std::strerror(errno);
        return -1;
    }
    unlink(pattern.c_str());
    std::vector<char> chunk(1 << 16);
    for (;;)
    {
        const ssize_t got = ::read(STDIN_FILENO, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got == 0)
            break;
        if (got < 0 || ::write(descriptor, chunk.data(), static_cast<size_t>(got)) != got)
        {
            error = std::string("reading standard input failed: ") + std::strerror(errno);
            close(descriptor);
            return -1;
        }
    }
    if (lseek(descriptor, 0, SEEK_END) == 0)
    {
        error = "standard input is empty";
        close(descriptor);
        return -1;
    }
    lseek(descriptor, 0, SEEK_SET);
    return descriptor;
}

// The header's promise against the file's length, as libsndfile's log notes it for a cut-off
// WAV ("data : 384000 (should be 199956)") or AIFF ("SSND : ...").
int64_t missingFromLog(SNDFILE* file)
{
    char log[4096] = {};
    sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
    static const std::regex chunk(R"((data|SSND) *: *(\d+) \(should be (\d+)\))");
    std::cmatch match;
    if (!std::regex_search(log, match, chunk))
        return 0;
    const long long claimed = std::atoll(match[2].str().c_str());
    const long long held = std::atoll(match[3].str().c_str());
    return claimed > held ? claimed - held : 0;
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
    shownName = path == "-" ? "standard input" : "'" + path + "'";
    if (path == "-")
    {
        const int descriptor = spoolStandardInput(error);
        if (descriptor < 0)
            return false;
        file = sf_open_fd(descriptor, SFM_READ, &info, SF_TRUE);
        if (!file)
        {
            error = "cannot read standard input: " + std::string(sf_strerror(nullptr));
            return false;
        }
    }
    else
    {
        file = sf_open(path.c_str(), SFM_READ, &info);
        if (!file)
        {
            error = openFailure(path);
            return false;
        }
    }
    if (!isSupportedContainer(info.format))
    {
        error = shownName + " is a " + containerName(info.format)
                + " file; tessaline reads WAV, AIFF, FLAC and OGG";
        return false;
    }
    if (info.channels != 1 && info.channels != 2)
    {
        error = shownName + " has " + std::to_string(info.channels)
                + " channels; tessaline renders mono or stereo files";
        return false;
    }
    missing = missingFromLog(file);
    return true;
}

namespace {
// Plain samples, which libsndfile reads as they lie: a read stops only at the end of what the
// file holds. A decoder (FLAC, Vorbis, Opus) may instead refuse a whole read that meets damage,
// so where a damaged file stops depends on the size of the reads: it keeps the host's.
bool readsPlainSamples(int format)
{
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC)
        return false;
    switch (format & SF_FORMAT_SUBMASK)
    {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE: return true;
    default: return false;
    }
}
} // namespace

// Plain samples come from the read-ahead, refilled as it runs dry: the same frames in the same
// order as reading the file block by block. A short read is the file's end (or a failure, when
// libsndfile says so), reported once every frame read before it has been handed out.
int64_t SoundFileSource::read(float* interleaved, int64_t maxFrames)
{
    if (!readsPlainSamples(info.format))
    {
        const sf_count_t got = sf_readf_float(file, interleaved, maxFrames);
        if (got == 0 && sf_error(file) != SF_ERR_NO_ERROR)
            return -1;
        return got;
    }
    const auto width = static_cast<size_t>(info.channels);
    int64_t done = 0;
    while (done < maxFrames)
    {
        if (aheadCount == 0)
        {
            if (fileExhausted)
                break;
            if (ahead.empty())
                ahead.resize(static_cast<size_t>(kReadAheadFrames) * width);
            const sf_count_t got = sf_readf_float(file, ahead.data(), kReadAheadFrames);
            if (got <= 0)
            {
                fileExhausted = true;
                readFailed = sf_error(file) != SF_ERR_NO_ERROR;
                break;
            }
            aheadAt = 0;
            aheadCount = got;
        }
        const int64_t take = std::min(aheadCount, maxFrames - done);
        std::copy_n(ahead.data() + static_cast<size_t>(aheadAt) * width, static_cast<size_t>(take) * width,
                    interleaved + static_cast<size_t>(done) * width);
        aheadAt += take;
        aheadCount -= take;
        done += take;
    }
    return done == 0 && readFailed ? -1 : done;
}

std::string SoundFileSource::readError() const { return file ? sf_strerror(file) : "not open"; }

} // namespace TessalineTool
