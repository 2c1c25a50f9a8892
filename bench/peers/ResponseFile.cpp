#include "ResponseFile.h"

#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace peerbench {

ResponseFile::ResponseFile(const std::vector<float>* responses, int sampleRate)
{
    char pattern[] = "/tmp/tessaline-peers-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    m_Directory = pattern;
    m_Path = m_Directory + "/room.wav";
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(m_Path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        throw std::runtime_error("cannot write " + m_Path);
    const std::size_t frames = responses[0].size();
    std::vector<float> interleaved(2 * frames);
    for (std::size_t n = 0; n < frames; ++n)
    {
        interleaved[2 * n] = responses[0][n];
        interleaved[2 * n + 1] = responses[1][n];
    }
    const auto written = sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
    if (written != static_cast<sf_count_t>(frames))
        throw std::runtime_error("cannot write " + m_Path);
}

ResponseFile::~ResponseFile()
{
    std::remove(m_Path.c_str());
    rmdir(m_Directory.c_str());
}

} // namespace peerbench
