// Records the host reads for the plug-in's pins, speaker arrangements and editor size.
#pragma once

#include <cstdint>

namespace Vst2 {

// Editor rectangle in pixels (effEditGetRect).
struct ERect
{
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

enum PinFlags : int32_t
{
    kVstPinIsActive = 1 << 0,
    kVstPinIsStereo = 1 << 1,   // this pin is the first of a stereo pair
    kVstPinUseSpeaker = 1 << 2, // arrangementType is valid
};

struct VstPinProperties
{
    char label[64];
    int32_t flags;           // PinFlags
    int32_t arrangementType; // SpeakerArrangementType
    char shortLabel[8];
    char future[48];
};

enum SpeakerArrangementType : int32_t
{
    kSpeakerArrUserDefined = -2,
    kSpeakerArrEmpty = -1,
    kSpeakerArrMono = 0,
    kSpeakerArrStereo = 1,
};

enum SpeakerType : int32_t
{
    kSpeakerUndefined = 0x7fffffff,
    kSpeakerM = 0,
    kSpeakerL = 1,
    kSpeakerR = 2,
};

struct VstSpeakerProperties
{
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    int32_t type; // SpeakerType
    char future[28];
};

// Declared with eight speakers; hosts may allocate more behind it for larger arrangements.
struct VstSpeakerArrangement
{
    int32_t type; // SpeakerArrangementType
    int32_t numChannels;
    VstSpeakerProperties speakers[8];
};

} // namespace Vst2
