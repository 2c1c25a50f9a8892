// Which libsndfile format a render writes: the container OUT's extension names (or --type), else
// the input's, with float samples where the container has them.
#pragma once

#include <string>

namespace TessalineTool {

// True for the containers tessaline reads: WAV (and WAVEX, RF64, W64), AIFF, FLAC, OGG.
bool isSupportedContainer(int format);

// The output format for a container: float samples in WAV, W64, RF64 and AIFF, 24-bit integers
// in FLAC (which has no float samples), Vorbis in OGG; an OGG format that names Opus stays Opus.
int outputFormatFor(int format);

// The output format a container name names ("wav", "w64", "rf64", "aif", "aiff", "aifc", "flac",
// "ogg", "oga", "opus", any case), or 0 for none of them.
int formatForContainerName(const std::string& name);

// The names formatForContainerName knows, for messages, help and completion: "wav, w64, ...".
constexpr const char* kContainerNames = "wav, w64, rf64, aif, aiff, flac, ogg, oga, opus";

// The format OUT is written in: --type when given (typeName not empty), else the container OUT's
// extension names, else fallbackFormat (the input's). False with a message for a --type or an
// extension that names no container tessaline writes.
bool chooseOutputFormat(const std::string& outputPath, const std::string& typeName, int fallbackFormat,
                        int& format, std::string& error);

// "WAV", "FLAC", ... for the container of a format (or "unknown").
std::string containerName(int format);

// "32-bit float WAV", "24-bit FLAC", "Vorbis OGG", "Opus OGG".
std::string describeFormat(int format);

} // namespace TessalineTool
