// tessaline-lv2ttl FOLDER VERSION PANEL: writes the LV2 bundle's turtle files (manifest.ttl,
// Tessaline.ttl, presets.ttl) into FOLDER from the DSP object's own control list and factory
// presets, so that the ports' names, ranges, defaults and list entries are the ones the VST3
// parameters show; and PANEL, the same ports as a C++ table the UI module is compiled with.
#include "adapter/parameters/FactoryPresetValues.h"
#include "adapter/parameters/ParameterRegistry.h"
#include "adapter/processor/StateStream.h"
#include "core/CPlugIn.h"
#include "lv2/Lv2PortLayout.h"
#include "lv2/Lv2Version.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

CPlugIn* createPlugIn();

namespace {
using namespace Steinberg::Vst::Vava2DUZ3;
using namespace TessalineLv2;

const char* const kPrefixes = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                              "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                              "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                              "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                              "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
                              "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                              "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                              "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                              "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                              "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                              "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                              "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
                              "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

std::string symbolOf(const char* name)
{
    std::string symbol;
    for (const char* p = name; *p; ++p)
        symbol += std::isalnum(static_cast<unsigned char>(*p)) ? static_cast<char>(std::tolower(*p)) : '_';
    return symbol;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text)
    {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", value);
    std::string s = text;
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0";
    return s;
}

std::string base64(const std::vector<uint8_t>& bytes)
{
    static const char* const kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3)
    {
        uint32_t n = static_cast<uint32_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            n |= static_cast<uint32_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            n |= bytes[i + 2];
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
    }
    return out;
}

// The unit a host shows beside a control, for the units the controls may carry; empty: none.
std::string unitOf(const char* units)
{
    static const struct
    {
        const char* text;
        const char* unit;
    } kUnits[] = {
        {"dB", "units:db"}, {"Hz", "units:hz"}, {"kHz", "units:khz"}, {"ms", "units:ms"},
        {"s", "units:s"},   {"%", "units:pc"},  {"ct", "units:cent"}, {"st", "units:semitone12TET"}};
    for (const auto& known : kUnits)
        if (std::string(units) == known.text)
            return known.unit;
    return {};
}

// Port `port`: the control as the plug-in declares it, its list entries (or whole values) as
// every host shows them.
void controlPort(std::ostream& out, const PortEntry& port, const CControlEntry& control, float value,
                 const ParameterDescription& described)
{
    out << "  [\n    a lv2:InputPort , lv2:ControlPort ;\n    lv2:index " << port.index << " ;\n"
        << "    lv2:symbol " << quoted(port.symbol) << " ;\n"
        << "    lv2:name " << quoted(control.szName) << " ;\n";
    const bool list = control.nDataType == kDataUint;
    out << "    lv2:default " << number(value) << " ;\n    lv2:minimum " << number(control.fMin)
        << " ;\n    lv2:maximum " << number(control.fMax);
    if (list || control.nDataType == kDataInt)
    {
        // One entry per value the room takes, labelled as the plug-in displays it: a list's
        // entries, an integer control's whole values in its display format.
        out << " ;\n    lv2:portProperty lv2:integer , lv2:enumeration";
        const auto count =
            list ? described.entries.size() : static_cast<size_t>(control.fMax - control.fMin) + 1;
        for (size_t k = 0; k < count; ++k)
        {
            const double plain = control.fMin + static_cast<double>(k);
            const std::string label =
                list ? described.entries[k] : CParameterRegistry::formatPlain(plain, described.precision);
            out << " ;\n    lv2:scalePoint [ rdfs:label " << quoted(label) << " ; rdf:value " << number(plain)
                << " ]";
        }
    }
    if (const std::string unit = unitOf(control.szUnits); !unit.empty())
        out << " ;\n    units:unit " << unit;
    out << "\n  ]";
}

std::string presetUri(const char* name) { return std::string(kPluginUri) + "#preset-" + symbolOf(name); }

// The room controls as the UI binds them: name, range, default, steps (list entries or integer
// values less one; 0 for a continuous control) and list entries separated by commas.
std::string panelTable(const CPlugIn& plugIn, const CParameterRegistry& registry)
{
    std::ostringstream out;
    out << "// Generated by tessaline-lv2ttl from the DSP object's control list.\n";
    for (uint32_t k = 0; k < plugIn.m_ControlList.controlCount(); ++k)
    {
        const CControlEntry& control = *plugIn.m_ControlList.controlAt(k);
        int steps = 0;
        std::string entries;
        if (control.nDataType == kDataUint)
        {
            entries = control.szEnumList;
            steps = static_cast<int>(registry.find(k)->entries.size()) - 1;
        }
        else if (control.nDataType == kDataInt)
            steps = static_cast<int>(control.fMax - control.fMin);
        out << "{" << quoted(control.szName) << ", " << number(control.fMin) << "f, " << number(control.fMax)
            << "f, " << number(plugIn.getControlValue(k)) << "f, " << steps << ", " << quoted(entries)
            << "},\n";
    }
    return out.str();
}

bool writeFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file)
    {
        std::fprintf(stderr, "tessaline-lv2ttl: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: tessaline-lv2ttl FOLDER VERSION PANEL\n");
        return 2;
    }
    const std::string folder = argv[1];
    int major = 0, minor = 0, patch = 0, tweak = 0;
    if (std::sscanf(argv[2], "%d.%d.%d.%d", &major, &minor, &patch, &tweak) < 3)
    {
        std::fprintf(stderr, "tessaline-lv2ttl: version %s is not major.minor.patch[.tweak]\n", argv[2]);
        return 2;
    }
    const Lv2Version version = lv2VersionOf(major, minor, patch, tweak);
    std::unique_ptr<CPlugIn> plugIn(createPlugIn());
    plugIn->postConstruct();
    CParameterRegistry registry;
    registry.build(plugIn.get());
    const uint32_t controls = plugIn->m_ControlList.controlCount();
    if (controls != controlPortCount())
    {
        std::fprintf(stderr, "tessaline-lv2ttl: %u controls for %u control ports\n", controls,
                     controlPortCount());
        return 1;
    }
    const std::string uri = std::string("<") + kPluginUri + ">";
    const std::string anyRateUri = std::string("<") + kAnyRatePluginUri + ">";
    // The presets, state and panel serve both rooms alike.
    const std::string bothUris = uri + " , " + anyRateUri;

    std::ostringstream manifest;
    manifest << kPrefixes << uri << "\n  a lv2:Plugin ;\n  lv2:binary <" << kBinaryName
             << "> ;\n  rdfs:seeAlso <Tessaline.ttl> .\n\n"
             << anyRateUri << "\n  a lv2:Plugin ;\n  lv2:binary <" << kBinaryName
             << "> ;\n  rdfs:seeAlso <Tessaline.ttl> .\n\n<" << kUiUri << ">\n  a ui:X11UI ;\n  ui:binary <"
             << kUiBinaryName << "> ;\n  rdfs:seeAlso <Tessaline.ttl> .\n";
    std::ostringstream presets;
    presets << kPrefixes;
    const CStateLayout layout = CStateLayout::fromPlugIn(*plugIn);
    for (int32_t position = 0;; ++position)
    {
        const int32_t slot = factoryPresetSlot(*plugIn, position);
        if (slot < 0)
            break;
        const char* name = plugIn->m_PresetNames[slot];
        std::vector<float> values(controls);
        float joystickX = 0.0f, joystickY = 0.0f;
        factoryPresetValues(*plugIn, slot, values.data(), controls, joystickX, joystickY);
        manifest << "\n<" << presetUri(name) << ">\n  a pset:Preset ;\n  lv2:appliesTo " << bothUris
                 << " ;\n  rdfs:seeAlso <presets.ttl> .\n";
        StateValues state;
        state.controls.assign(values.begin(), values.end());
        state.hasJoystick = true;
        state.joystickX = joystickX;
        state.joystickY = joystickY;
        presets << "<" << presetUri(name) << ">\n  a pset:Preset ;\n  lv2:appliesTo " << bothUris
                << " ;\n  rdfs:label " << quoted(name) << " ;\n  lv2:port";
        for (uint32_t k = 0; k < controls; ++k)
            presets << (k ? " ,\n" : "\n") << "    [ lv2:symbol "
                    << quoted(kPorts[portIndex(PortKind::kControl, k)].symbol) << " ; pset:value "
                    << number(values[k]) << " ]";
        // The bypass is left as it is, as the VST3 presets leave it.
        presets << " ;\n  state:state [\n    <" << kStateUri << "> \"" << base64(layout.encode(state))
                << "\"^^xsd:base64Binary\n  ] .\n\n";
    }

    // The two rooms: the same description but for the name and comment, the ports written once
    // and given to both.
    std::ostringstream plugin;
    const auto describe = [&](const std::string& subject, const char* name, const char* comment) {
        plugin << subject << "\n  a lv2:Plugin , lv2:ReverbPlugin , doap:Project ;\n  doap:name \"" << name
               << "\" ;\n"
               << "  doap:license <https://tessaline.quorvane.example/license> ;\n"
               << "  doap:maintainer [ foaf:name \"Quorvane\" ] ;\n"
               << "  lv2:minorVersion " << version.minor << " ;\n  lv2:microVersion " << version.micro
               << " ;\n"
               << "  rdfs:comment \"" << comment << "\" ;\n"
               << "  lv2:optionalFeature urid:map , lv2:hardRTCapable ;\n"
               << "  lv2:extensionData state:interface ;\n  ui:ui <" << kUiUri << "> ;\n  lv2:port\n";
    };
    std::ostringstream portList;
    for (const PortEntry& port : kPorts)
    {
        switch (port.kind)
        {
        case PortKind::kControl:
            controlPort(portList, port, *plugIn->m_ControlList.controlAt(port.control),
                        plugIn->getControlValue(port.control), *registry.find(port.control));
            break;
        case PortKind::kEnabled:
            portList << "  [\n    a lv2:InputPort , lv2:ControlPort ;\n    lv2:index " << port.index
                     << " ;\n    lv2:symbol " << quoted(port.symbol) << " ;\n    lv2:name "
                     << quoted(port.name)
                     << " ;\n    lv2:designation lv2:enabled ;\n    lv2:default 1 ;\n    lv2:minimum 0 ;\n"
                     << "    lv2:maximum 1 ;\n    lv2:portProperty lv2:integer , lv2:toggled\n  ]";
            break;
        case PortKind::kLatency:
            portList << "  [\n    a lv2:OutputPort , lv2:ControlPort ;\n    lv2:index " << port.index
                     << " ;\n    lv2:symbol " << quoted(port.symbol) << " ;\n    lv2:name "
                     << quoted(port.name) << " ;\n    lv2:designation lv2:latency ;\n"
                     << "    lv2:portProperty lv2:reportsLatency , lv2:integer\n  ]";
            break;
        case PortKind::kAudioIn:
        case PortKind::kAudioOut:
            // A mono host may leave the right input unconnected.
            portList << "  [\n    a lv2:" << (port.kind == PortKind::kAudioIn ? "Input" : "Output")
                     << "Port , lv2:AudioPort ;\n    lv2:index " << port.index << " ;\n    lv2:symbol "
                     << quoted(port.symbol) << " ;\n    lv2:name " << quoted(port.name)
                     << (port.kind == PortKind::kAudioIn && port.control == 1
                             ? " ;\n    lv2:portProperty lv2:connectionOptional"
                             : "")
                     << "\n  ]";
            break;
        case PortKind::kMidiIn:
            portList << "  [\n    a lv2:InputPort , atom:AtomPort ;\n    lv2:index " << port.index
                     << " ;\n    lv2:symbol " << quoted(port.symbol) << " ;\n    lv2:name "
                     << quoted(port.name)
                     << " ;\n    atom:bufferType atom:Sequence ;\n    atom:supports midi:MidiEvent ;\n"
                     << "    lv2:designation lv2:control ;\n    lv2:portProperty lv2:connectionOptional\n  ]";
            break;
        }
        if (port.index + 1 < kPortCount)
            portList << " ,\n";
    }
    plugin << kPrefixes;
    describe(uri, "Tessaline", "A modelled room: the input placed in a room of eleven source positions.");
    plugin << portList.str() << " .\n\n";
    describe(anyRateUri, "Tessaline Any Rate",
             "The Tessaline room as it sounds at 44.1 kHz at every sample rate: its response resampled to "
             "the session's rate.");
    plugin << portList.str() << " .\n\n"
           << "<" << kStateUri << ">\n  a rdf:Property ;\n  rdfs:label \"component state\" ;\n"
           << "  rdfs:comment \"The controls, bypass and vector joystick in the stream the VST3 state "
              "holds.\" ;\n"
           << "  rdfs:range atom:Chunk .\n\n"
           << "<" << kUiUri << ">\n  a ui:X11UI ;\n"
           << "  lv2:requiredFeature ui:idleInterface , ui:parent ;\n"
           << "  lv2:optionalFeature ui:resize , ui:touch ;\n"
           << "  lv2:extensionData ui:idleInterface .\n";

    return writeFile(folder + "/manifest.ttl", manifest.str())
                   && writeFile(folder + "/Tessaline.ttl", plugin.str())
                   && writeFile(folder + "/presets.ttl", presets.str())
                   && writeFile(argv[3], panelTable(*plugIn, registry))
               ? 0
               : 1;
}
