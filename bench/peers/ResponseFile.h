// The two room responses as one temporary stereo WAV file (32-bit float), for a peer that
// takes its responses from a file; removed again on destruction.
#pragma once

#include <string>
#include <vector>

namespace peerbench {

class ResponseFile
{
public:
    // Throws std::runtime_error when the file cannot be written.
    ResponseFile(const std::vector<float>* responses, int sampleRate);
    ~ResponseFile();
    ResponseFile(const ResponseFile&) = delete;
    ResponseFile& operator=(const ResponseFile&) = delete;

    const std::string& path() const { return m_Path; }

private:
    std::string m_Directory;
    std::string m_Path;
};

} // namespace peerbench
