// Turning the user's words ("Abs L-R=5.31", "--preset Studio") into host parameter values, the
// way a host does when the user types into a parameter field or picks a program.
#pragma once

#include "FactoryPresetFiles.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>
#include <vector>

namespace TessalineTool {

// One parameter value as a host sends it.
struct ParameterEdit
{
    Steinberg::Vst::ParamID id = 0;
    Steinberg::Vst::ParamValue normalized = 0.0;
};

// "Title=Value": the parameter whose title matches (ignoring case) and the value as displayed:
// a list entry ("L90", "Mono") or a plain number inside the parameter's range ("5.31").
// False with a message naming the choices when the title or the value is not accepted.
bool resolveSetting(Steinberg::Vst::IEditController& controller, const std::string& setting,
                    ParameterEdit& edit, std::string& error);

// What a parameter takes, as far as drawing values for it goes.
struct ParameterShape
{
    Steinberg::Vst::ParamID id = 0;
    std::string title;                // as the plug-in spells it
    bool list = false;                // takes one of `entries`
    std::vector<std::string> entries; // a list's entries, as displayed
    bool wholeNumbers = false;        // a switch or a counter: a fraction means nothing to it
};

// The parameter of that title (ignoring case); false with a message listing the titles.
bool describeParameter(Steinberg::Vst::IEditController& controller, const std::string& title,
                       ParameterShape& shape, std::string& error);

// A factory preset by name (ignoring case), as a value of the "Factory Presets" program-change
// parameter. False with a message listing the presets when there is none of that name.
bool resolvePreset(const std::vector<TessalinePresets::FactoryPreset>& presets, const std::string& name,
                   ParameterEdit& edit, std::string& error);

} // namespace TessalineTool
