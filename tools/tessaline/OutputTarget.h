// Where a render's bytes go, decided before anything is written: standard output ("-"), a file
// that already exists and is not a regular one (a device such as /dev/null, a FIFO, a socket),
// which is written into as it is, or a regular file (existing or new), which is replaced whole
// and atomically. A symbolic link leads to the file it names: that file is replaced and the link
// stays.
#pragma once

#include <string>
#include <sys/types.h>

namespace TessalineTool {

struct OutputTarget
{
    enum class Kind
    {
        kStandardOutput,
        kStream,      // exists, not a regular file: opened for writing and written into
        kRegularFile, // replaced through a temporary file beside it
    };
    Kind kind = Kind::kRegularFile;
    std::string path;     // what the user named
    std::string filePath; // the file written: a link's target, else path
    bool exists = false;  // kRegularFile: a file is replaced (its permission bits kept)
    mode_t mode = 0;      // an existing file's permission bits

    bool isStream() const { return kind != Kind::kRegularFile; }
};

// Classifies OUT; false with a one-line reason for what cannot be written (a folder, a read-only
// file, a missing folder, a link loop).
bool resolveOutputTarget(const std::string& path, OutputTarget& target, std::string& error);

} // namespace TessalineTool
