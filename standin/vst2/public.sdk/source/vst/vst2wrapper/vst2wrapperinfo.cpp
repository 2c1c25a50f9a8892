// What the host reads about the effect: names, version, category, capabilities, tail, pins and
// speaker arrangements, parameter texts.
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"
#include "public.sdk/source/vst/vst2wrapper/vst2text.h"

#include "pluginterfaces/vst/vstspeaker.h"
#include "vst2abi/Vst2Opcodes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {
// "a.b.c.d" as the usual VST2 vendor version a*1000 + b*100 + c*10 + d (each part 0 .. 9).
int32 parseVersion(const char* text)
{
    int32 result = 0;
    int32 weight = 1000;
    const char* p = text;
    for (int part = 0; part < 4 && p && *p && weight > 0; ++part, weight /= 10)
    {
        char* end = nullptr;
        const long v = std::strtol(p, &end, 10);
        if (end == p)
            break;
        result += static_cast<int32>(std::clamp(v, 0L, 9L)) * weight;
        p = (*end == '.') ? end + 1 : nullptr;
    }
    return result;
}

bool contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

int32 categoryOf(const std::string& subCategories)
{
    if (contains(subCategories, "Instrument"))
        return Vst2::kPlugCategSynth;
    if (contains(subCategories, "Reverb"))
        return Vst2::kPlugCategRoomFx;
    if (contains(subCategories, "Spatial"))
        return Vst2::kPlugCategSpacializer;
    if (contains(subCategories, "Analyzer"))
        return Vst2::kPlugCategAnalysis;
    if (contains(subCategories, "Mastering"))
        return Vst2::kPlugCategMastering;
    if (contains(subCategories, "Restoration"))
        return Vst2::kPlugCategRestoration;
    if (contains(subCategories, "Generator"))
        return Vst2::kPlugCategGenerator;
    return Vst2::kPlugCategEffect;
}

std::string busName(IComponent& component, BusDirection dir)
{
    BusInfo info{};
    if (component.getBusInfo(kAudio, dir, 0, info) != kResultOk)
        return {};
    char text[128] = {};
    Vst2Text::copyUtf16(info.name, text, sizeof text);
    return text;
}

void fillArrangement(Vst2::VstSpeakerArrangement& arrangement, int32 channels)
{
    arrangement = {};
    arrangement.numChannels = channels;
    arrangement.type = channels == 1 ? Vst2::kSpeakerArrMono : Vst2::kSpeakerArrStereo;
    if (channels == 1)
    {
        arrangement.speakers[0].type = Vst2::kSpeakerM;
        std::strcpy(arrangement.speakers[0].name, "M");
        return;
    }
    arrangement.speakers[0].type = Vst2::kSpeakerL;
    arrangement.speakers[0].azimuth = -0.5f;
    std::strcpy(arrangement.speakers[0].name, "L");
    arrangement.speakers[1].type = Vst2::kSpeakerR;
    arrangement.speakers[1].azimuth = 0.5f;
    std::strcpy(arrangement.speakers[1].name, "R");
}
} // namespace

void Vst2Wrapper::describeClass(const TUID cid)
{
    PFactoryInfo factoryInfo{};
    if (factory->getFactoryInfo(&factoryInfo) == kResultOk)
        vendorName = factoryInfo.vendor;
    FUnknownPtr<IPluginFactory2> factory2(factory);
    for (int32 i = 0; i < factory->countClasses(); ++i)
    {
        PClassInfo info{};
        if (factory->getClassInfo(i, &info) != kResultOk || std::memcmp(info.cid, cid, sizeof(TUID)) != 0)
            continue;
        effectName = info.name;
        PClassInfo2 info2{};
        if (factory2 && factory2->getClassInfo2(i, &info2) == kResultOk)
        {
            subCategories = info2.subCategories;
            vendorVersion = parseVersion(info2.version);
            if (info2.vendor[0] != 0)
                vendorName = info2.vendor;
        }
        break;
    }
}

void Vst2Wrapper::describeBuses()
{
    auto mainChannels = [this](BusDirection dir) {
        BusInfo info{};
        if (component->getBusCount(kAudio, dir) <= 0
            || component->getBusInfo(kAudio, dir, 0, info) != kResultOk)
            return 0;
        // Side buses stay inactive: a VST2 host passes only the main channels.
        for (int32 k = 1; k < component->getBusCount(kAudio, dir); ++k)
            component->activateBus(kAudio, dir, k, false);
        component->activateBus(kAudio, dir, 0, true);
        return std::clamp<int32>(info.channelCount, 0, 2);
    };
    effect.numInputs = mainChannels(kInput);
    effect.numOutputs = mainChannels(kOutput);
    busChannels = effect.numOutputs;
    inputBusName = busName(*component, kInput);
    outputBusName = busName(*component, kOutput);
}

intptr_t Vst2Wrapper::dispatchInfo(int32 opcode, int32 index, intptr_t, void* ptr, float, bool& handled)
{
    handled = true;
    auto* text = static_cast<char*>(ptr);
    switch (opcode)
    {
    case Vst2::effGetEffectName:
    case Vst2::effGetProductString:
        if (!text)
            return 0;
        Vst2Text::copyUtf8(effectName.c_str(), text,
                           opcode == Vst2::effGetEffectName ? Vst2::kMaxEffectNameLen
                                                            : Vst2::kMaxProductStrLen);
        return 1;
    case Vst2::effGetVendorString:
        if (!text)
            return 0;
        Vst2Text::copyUtf8(vendorName.c_str(), text, Vst2::kMaxVendorStrLen);
        return 1;
    case Vst2::effGetVendorVersion: return vendorVersion;
    case Vst2::effGetVstVersion: return Vst2::kVstVersion;
    case Vst2::effGetPlugCategory: return categoryOf(subCategories);
    case Vst2::effCanDo: return canDo(static_cast<const char*>(ptr));
    case Vst2::effGetTailSize: return tailSize();
    case Vst2::effGetParamName:
    case Vst2::effGetParamLabel:
    case Vst2::effGetParamDisplay: return getParameterText(opcode, index, text) ? 1 : 0;
    case Vst2::effCanBeAutomated:
        return parameters.isValid(index) && (parameters.flags(index) & ParameterInfo::kCanAutomate) ? 1 : 0;
    case Vst2::effGetInputProperties:
    case Vst2::effGetOutputProperties:
        return pinProperties(opcode == Vst2::effGetInputProperties, index,
                             static_cast<Vst2::VstPinProperties*>(ptr))
                   ? 1
                   : 0;
    case Vst2::effGetNumMidiInputChannels: return component->getBusCount(kEvent, kInput) > 0 ? 16 : 0;
    default: handled = false; return 0;
    }
}

int32 Vst2Wrapper::canDo(const char* text) const
{
    if (!text)
        return 0;
    const bool hasEvents = component->getBusCount(kEvent, kInput) > 0;
    const std::string what = text;
    if (what == "receiveVstEvents" || what == "receiveVstMidiEvent")
        return hasEvents ? 1 : -1;
    if (what == "receiveVstTimeInfo" || what == "plugAsChannelInsert" || what == "plugAsSend"
        || what == "2in2out" || what == "1in1out")
        return 1;
    if (what == "bypass")
        return bypassParameter >= 0 ? 1 : -1;
    if (what == "sendVstEvents" || what == "sendVstMidiEvent" || what == "offline"
        || what == "midiProgramNames" || what == "1in2out" || what == "2in1out")
        return -1;
    return 0; // not known
}

int32 Vst2Wrapper::tailSize() const
{
    const uint32 tail = processor->getTailSamples();
    if (tail == kNoTail)
        return 1; // VST2's "no tail"; 0 would mean "not known"
    return static_cast<int32>(std::min<uint32>(tail, 0x7FFFFFFF));
}

bool Vst2Wrapper::pinProperties(bool input, int32 index, Vst2::VstPinProperties* pin)
{
    const int32 pins = input ? effect.numInputs : effect.numOutputs;
    if (!pin || index < 0 || index >= pins)
        return false;
    std::memset(pin, 0, sizeof *pin);
    const std::string& bus = input ? inputBusName : outputBusName;
    std::string label = bus.empty() ? (input ? "Input" : "Output") : bus;
    if (pins == 2)
        label += index == 0 ? " L" : " R";
    Vst2Text::copyUtf8(label.c_str(), pin->label, sizeof pin->label);
    Vst2Text::copyUtf8(pins == 2 ? (index == 0 ? "L" : "R") : "M", pin->shortLabel, sizeof pin->shortLabel);
    pin->flags = Vst2::kVstPinIsActive | Vst2::kVstPinUseSpeaker;
    if (pins == 2 && index == 0)
        pin->flags |= Vst2::kVstPinIsStereo; // first of the pair
    pin->arrangementType = pins == 2 ? Vst2::kSpeakerArrStereo : Vst2::kSpeakerArrMono;
    return true;
}

bool Vst2Wrapper::setSpeakerArrangement(const Vst2::VstSpeakerArrangement* in,
                                        const Vst2::VstSpeakerArrangement* out)
{
    if (!out || active)
        return false;
    const int32 channels = out->numChannels;
    if (channels < 1 || channels > effect.numOutputs || (in && in->numChannels != channels))
        return false;
    SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
    const int32 inputBuses = effect.numInputs > 0 ? 1 : 0;
    if (processor->setBusArrangements(&arrangement, inputBuses, &arrangement, 1) != kResultTrue)
        return false;
    busChannels = channels;
    return true;
}

bool Vst2Wrapper::getSpeakerArrangement(Vst2::VstSpeakerArrangement** in, Vst2::VstSpeakerArrangement** out)
{
    if (!in || !out)
        return false;
    fillArrangement(reportedArrangement[0], busChannels);
    fillArrangement(reportedArrangement[1], busChannels);
    *in = &reportedArrangement[0];
    *out = &reportedArrangement[1];
    return true;
}

} // namespace Vst
} // namespace Steinberg
