// The UI module's one export, lv2ui_descriptor: an X11 UI embedded through ui:parent, run by
// ui:idleInterface, sized through ui:resize, with gestures through ui:touch when offered.
#include "lv2/Lv2PortLayout.h"
#include "lv2/ui/PanelEditor.h"

#include <lv2/ui/ui.h>

#include <cstring>
#include <new>
#include <string>

namespace {
using TessalineLv2::PanelEditor;

PanelEditor* editorOf(LV2UI_Handle handle) { return static_cast<PanelEditor*>(handle); }

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char* bundlePath,
                         LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features)
{
    // One panel serves both rooms of the bundle: they share every port.
    if (!pluginUri
        || (std::strcmp(pluginUri, TessalineLv2::kPluginUri) != 0
            && std::strcmp(pluginUri, TessalineLv2::kAnyRatePluginUri) != 0)
        || !bundlePath)
        return nullptr;
    void* parent = nullptr;
    PanelEditor::HostAccess host;
    host.write = write;
    host.controller = controller;
    for (int i = 0; features && features[i]; ++i)
    {
        const char* uri = features[i]->URI;
        if (std::strcmp(uri, LV2_UI__parent) == 0)
            parent = features[i]->data;
        else if (std::strcmp(uri, LV2_UI__touch) == 0)
            host.touch = static_cast<const LV2UI_Touch*>(features[i]->data);
        else if (std::strcmp(uri, LV2_UI__resize) == 0)
            host.resize = static_cast<const LV2UI_Resize*>(features[i]->data);
    }
    try
    {
        auto editor = PanelEditor::open(bundlePath, parent, host);
        if (!editor)
            return nullptr;
        // An X11 UI hands the host its window id in the widget pointer.
        if (widget)
            *widget = reinterpret_cast<LV2UI_Widget>(editor->window()); // NOLINT(performance-no-int-to-ptr)
        return editor.release();
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle handle) { delete editorOf(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    if (format == 0 && size == sizeof(float) && buffer)
    {
        float value;
        std::memcpy(&value, buffer, sizeof value);
        editorOf(handle)->portEvent(port, value);
    }
}

int idle(LV2UI_Handle handle) { return editorOf(handle)->idle(); }

const LV2UI_Idle_Interface kIdle = {idle};

const void* extensionData(const char* uri)
{
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdle : nullptr;
}

const LV2UI_Descriptor kDescriptor = {TessalineLv2::kUiUri, instantiate, cleanup, portEvent, extensionData};
} // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
