// Which libsndfile format a render writes: the input's container with float samples where the
// container has them.
#pragma once

#include <string>

namespace TessalineTool {

// True for the containers tessaline reads and writes: WAV (and WAVEX), AIFF, FLAC, OGG.
bool isSupportedContainer(int format);

// The output format for an input format: float samples in WAV and AIFF, 24-bit integers in FLAC
// (which has no float samples), Vorbis in OGG.
int outputFormatFor(int inputFormat);

// "WAV", "FLAC", ... for the container of a format (or "unknown").
std::string containerName(int format);

// The container a file name's extension suggests (".wav", ".aif", ".aiff", ".flac", ".ogg", any
// case), or 0 for another or no extension.
int containerForName(const std::string& path);

// "32-bit float WAV", "24-bit FLAC", "Vorbis OGG".
std::string describeFormat(int format);

} // namespace TessalineTool
