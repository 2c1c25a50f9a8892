// IUnitInfo: the two units and the "Factory Presets" program list.
#include "adapter/processor/Processor.h"

#include "adapter/processor/TextConversion.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
// Number of names in the preset list (its plain value at the top of the range, plus one).
int32 programCount(Parameter& presets) { return static_cast<int32>(presets.toPlain(1.0)) + 1; }
} // namespace

int32 PLUGIN_API Processor::getUnitCount() { return static_cast<int32>(m_Units.size()); }

tresult PLUGIN_API Processor::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
    if (unitIndex < 0 || unitIndex >= getUnitCount())
        return kResultFalse;
    info = m_Units[static_cast<size_t>(unitIndex)]->getInfo();
    return kResultOk;
}

int32 PLUGIN_API Processor::getProgramListCount() { return getParameterObject(kParamFactoryPresets) ? 1 : 0; }

tresult PLUGIN_API Processor::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
    Parameter* presets = getParameterObject(kParamFactoryPresets);
    if (listIndex != 0 || !presets)
        return kResultFalse;
    info.id = kParamFactoryPresets;
    copyUtf8ToString128("Presets", info.name);
    info.programCount = programCount(*presets);
    return kResultOk;
}

tresult PLUGIN_API Processor::getProgramName(ProgramListID listId, int32 programIndex, String128 name)
{
    Parameter* presets = getParameterObject(kParamFactoryPresets);
    if (listId != kParamFactoryPresets || !presets)
        return kResultFalse;
    // The list parameter's text lookup must not see an index it does not hold.
    if (programIndex < 0 || programIndex >= programCount(*presets))
        return kResultFalse;
    presets->toString(presets->toNormalized(programIndex), name);
    return kResultOk;
}

tresult PLUGIN_API Processor::getProgramInfo(ProgramListID, int32, CString, String128)
{
    return kResultFalse;
}

tresult PLUGIN_API Processor::hasProgramPitchNames(ProgramListID, int32) { return kResultFalse; }

tresult PLUGIN_API Processor::getProgramPitchName(ProgramListID, int32, int16, String128)
{
    return kResultFalse;
}

UnitID PLUGIN_API Processor::getSelectedUnit() { return m_nSelectedUnit; }

tresult PLUGIN_API Processor::selectUnit(UnitID unitId)
{
    m_nSelectedUnit = unitId;
    return kResultOk;
}

tresult PLUGIN_API Processor::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&)
{
    return kResultFalse;
}

tresult PLUGIN_API Processor::setUnitProgramData(int32, int32, IBStream*) { return kResultFalse; }

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
