// The output of a render as it is being written: a temporary file beside OUT that becomes OUT
// only when the render succeeded, so a failed or interrupted render leaves no partial file.
#pragma once

#include <string>

namespace TessalineTool {

class PendingOutput
{
public:
    PendingOutput() = default;
    // Removes the temporary file unless commit() succeeded.
    ~PendingOutput();
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;

    // Creates the temporary file in OUT's folder and returns its open descriptor (-1 with a
    // message on failure). The file is removed on SIGINT, SIGTERM or SIGHUP as well.
    int create(const std::string& outputPath, std::string& error);
    // Renames the temporary file to OUT; false with a message on failure (the file is removed).
    bool commit(std::string& error);
    // Removes the temporary file.
    void discard();

private:
    std::string output;
    std::string temporary;
};

} // namespace TessalineTool
