// Programs are the controller's program list, selected through its program-change parameter (which
// the host reaches only through the program opcodes); bank and program chunks both hold the
// component state.
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"
#include "public.sdk/source/vst/vst2wrapper/vst2text.h"

#include "public.sdk/source/common/memorystream.h"
#include "vst2abi/Vst2Opcodes.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace Steinberg {
namespace Vst {

namespace {
// A stream's bytes: the whole stream, from its start.
bool readAll(MemoryStream& stream, std::vector<char>& bytes)
{
    int64 size = 0;
    if (stream.seek(0, IBStream::kIBSeekEnd, &size) != kResultOk || size < 0
        || size > std::numeric_limits<int32>::max())
        return false;
    bytes.assign(static_cast<size_t>(size), 0);
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    int32 read = 0;
    return size == 0
           || (stream.read(bytes.data(), static_cast<int32>(size), &read) == kResultOk
               && read == static_cast<int32>(size));
}
} // namespace

void Vst2Wrapper::describePrograms()
{
    effect.numPrograms = 0;
    hasProgramParameter = false;
    for (int32 k = 0; k < controller->getParameterCount() && !hasProgramParameter; ++k)
    {
        ParameterInfo info{};
        if (controller->getParameterInfo(k, info) == kResultOk
            && (info.flags & ParameterInfo::kIsProgramChange))
        {
            hasProgramParameter = true;
            programParameterId = info.id;
        }
    }
    if (!unitInfo || unitInfo->getProgramListCount() <= 0)
        return;
    ProgramListInfo list{};
    if (unitInfo->getProgramListInfo(0, list) != kResultOk || list.programCount <= 0)
        return;
    programListId = list.id;
    effect.numPrograms = list.programCount;
}

int32 Vst2Wrapper::currentProgram() const
{
    if (!hasProgramParameter || effect.numPrograms <= 0)
        return 0;
    const double plain = controller->normalizedParamToPlain(
        programParameterId, controller->getParamNormalized(programParameterId));
    const auto program = static_cast<int32>(std::lround(plain));
    return program < 0 ? 0 : (program >= effect.numPrograms ? effect.numPrograms - 1 : program);
}

bool Vst2Wrapper::setProgram(int32 program)
{
    if (!hasProgramParameter || program < 0 || program >= effect.numPrograms)
        return false;
    // The controller applies the program (the processor is the same object and takes it from
    // there) and reports the values it changed.
    controller->setParamNormalized(programParameterId,
                                   controller->plainParamToNormalized(programParameterId, program));
    afterBulkChange();
    return true;
}

bool Vst2Wrapper::programName(int32 program, char* text)
{
    if (!text || !unitInfo || program < 0 || program >= effect.numPrograms)
        return false;
    String128 name{};
    if (unitInfo->getProgramName(programListId, program, name) != kResultOk)
        return false;
    Vst2Text::copyUtf16(name, text, Vst2::kMaxProgNameLen);
    return true;
}

intptr_t Vst2Wrapper::getChunk(void** data)
{
    if (!data)
        return 0;
    *data = nullptr;
    flushParameters();
    MemoryStream stream;
    if (component->getState(&stream) != kResultOk || !readAll(stream, chunk) || chunk.empty())
        return 0;
    *data = chunk.data();
    return static_cast<intptr_t>(chunk.size());
}

bool Vst2Wrapper::setChunk(const void* data, intptr_t size)
{
    if (!data || size <= 0 || size > std::numeric_limits<int32>::max())
        return false;
    flushParameters();
    // The state before, to put back if the chunk cannot be read completely: a damaged chunk
    // leaves the sound as it was instead of half applied.
    MemoryStream before;
    if (component->getState(&before) != kResultOk)
        return false;
    MemoryStream stream(const_cast<void*>(data), static_cast<TSize>(size));
    if (component->setState(&stream) != kResultOk)
    {
        before.seek(0, IBStream::kIBSeekSet, nullptr);
        component->setState(&before);
        return false;
    }
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    controller->setComponentState(&stream);
    afterBulkChange();
    return true;
}

void Vst2Wrapper::afterBulkChange()
{
    parameters.reload(*controller);
    hostCall(Vst2::audioMasterUpdateDisplay);
}

} // namespace Vst
} // namespace Steinberg
