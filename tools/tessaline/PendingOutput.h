// The output of a render as it is being written. A regular file is written as a short-named
// temporary file beside it that replaces it only when the render succeeded (keeping the replaced
// file's permission bits), so a failed or interrupted render leaves no partial file. A stream
// (standard output, a device, a FIFO) cannot be taken back, so its bytes are gathered in an
// anonymous scratch file and sent only once they are complete, with their final headers. It is
// written while a StopSignals holds the stop signals back, so a stop ends its writer in order
// and the destructor removes the temporary file.
#pragma once

#include "OutputTarget.h"

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

    // Creates the temporary file and returns its open descriptor, which this object owns and
    // closes (-1 with a message on failure).
    int create(const OutputTarget& target, std::string& error);
    // Moves the finished bytes to OUT; false with a message on failure (nothing is left behind).
    bool commit(std::string& error);
    // Removes the temporary file.
    void discard();

private:
    bool sendToStream(std::string& error);

    OutputTarget target;
    std::string temporary; // the file beside a regular OUT; empty for a stream's scratch file
    int descriptor = -1;
};

} // namespace TessalineTool
