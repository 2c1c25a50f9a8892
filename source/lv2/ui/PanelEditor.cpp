#include "lv2/ui/PanelEditor.h"

#include "adapter/parameters/EnumList.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/coptionmenu.h"
#include "vstgui/lib/platform/iplatformframe.h"
#include "vstgui/lib/platform/x11/x11runloop.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace TessalineLv2 {

namespace {
constexpr const char* kDescription = "tovu.uidesc";
constexpr const char* kTemplate = "Editor";
constexpr float kNothing = std::numeric_limits<float>::quiet_NaN();
} // namespace

PanelEditor::PanelEditor(const HostAccess& host)
    : m_Host(host)
{
    const auto& ports = panelPorts();
    for (const PanelPort& port : ports)
        m_PortValues.push_back(port.defaultValue);
    m_Pending.assign(ports.size(), kNothing);
    m_Gestures.assign(ports.size(), 0);
    m_Bound.resize(ports.size());
}

std::unique_ptr<PanelEditor> PanelEditor::open(const std::string& resourceFolder, void* parent,
                                               const HostAccess& host)
{
    if (!parent || !host.write)
        return nullptr;
    std::unique_ptr<PanelEditor> self(new PanelEditor(host));
    VSTGUI::setResourceDirectory(resourceFolder);
    self->m_pDescription = new VSTGUI::UIDescription(VSTGUI::CResourceDescription(kDescription));
    if (!self->m_pDescription->parse())
        return nullptr;
    VSTGUI::CView* view = self->m_pDescription->createView(kTemplate, self.get());
    if (!view)
        return nullptr;
    const VSTGUI::CRect size = view->getViewSize();
    auto* frame = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, size.getWidth(), size.getHeight()), self.get());
    self->frame = frame;
    frame->registerViewAddedRemovedObserver(self.get());
    VSTGUI::X11::RunLoop::init(&self->m_RunLoop);
    VSTGUI::X11::RunLoop::Scope scope(&self->m_RunLoop);
    VSTGUI::X11::FrameConfig config(&self->m_RunLoop);
    if (!frame->open(parent, VSTGUI::kX11EmbedWindowID, &config))
    {
        view->forget();
        return nullptr; // the destructor closes the frame and leaves the run loop
    }
    frame->addView(view);
    if (host.resize)
        host.resize->ui_resize(host.resize->handle, static_cast<int>(size.getWidth()),
                               static_cast<int>(size.getHeight()));
    return self;
}

PanelEditor::~PanelEditor()
{
    if (frame)
    {
        frame->unregisterViewAddedRemovedObserver(this);
        for (auto& controls : m_Bound)
            controls.clear();
        VSTGUI::CFrame* f = frame;
        frame = nullptr;
        VSTGUI::X11::RunLoop::Scope scope(&m_RunLoop);
        f->close();
        VSTGUI::X11::RunLoop::exit(&m_RunLoop);
    }
    if (m_pDescription)
        m_pDescription->forget();
}

uintptr_t PanelEditor::window() const
{
    return frame && frame->getPlatformFrame() ? frame->getPlatformFrame()->nativeWindow() : 0;
}

void PanelEditor::portEvent(uint32_t port, float value)
{
    if (port < m_Pending.size() && std::isfinite(value))
        m_Pending[port] = value;
}

int PanelEditor::idle()
{
    for (uint32_t port = 0; port < m_Pending.size(); ++port)
    {
        if (std::isnan(m_Pending[port]))
            continue;
        // A control the user holds stays where the user puts it.
        if (m_Gestures[port] == 0)
        {
            m_PortValues[port] = m_Pending[port];
            showPort(port);
        }
        m_Pending[port] = kNothing;
    }
    m_RunLoop.idle();
    return 0;
}

void PanelEditor::showPort(uint32_t port)
{
    const PanelPort& info = panelPorts()[port];
    const float value = controlValueOfPort(info, m_PortValues[port]);
    for (VSTGUI::CControl* control : m_Bound[port])
    {
        if (info.steps > 0)
        {
            if (auto* menu = dynamic_cast<VSTGUI::COptionMenu*>(control);
                menu && *info.entries && menu->getNbEntries() != info.steps + 1)
            {
                menu->removeAllEntry();
                // The entries as the VST3 editor's list parameter shows them.
                for (int32_t k = 0; k <= info.steps; ++k)
                    if (const auto entry = Steinberg::Vst::Vava2DUZ3::enumListItem(info.entries, k))
                        menu->addEntry(*entry);
            }
            control->setMin(0.0f);
            control->setMax(static_cast<float>(info.steps));
            control->setDefaultValue(controlValueOfPort(info, info.defaultValue));
            control->setValue(value);
        }
        else
        {
            control->setDefaultValue(controlValueOfPort(info, info.defaultValue));
            control->setValueNormalized(value);
        }
        control->invalid();
    }
}

void PanelEditor::touch(uint32_t port, bool grabbed)
{
    if (m_Host.touch)
        m_Host.touch->touch(m_Host.touch->handle, port, grabbed);
}

void PanelEditor::valueChanged(VSTGUI::CControl* control)
{
    const int32_t tag = control->getTag();
    if (tag < 0 || static_cast<size_t>(tag) >= m_Bound.size())
        return;
    const auto port = static_cast<uint32_t>(tag);
    const PanelPort& info = panelPorts()[port];
    const float value =
        portValueOfControl(info, info.steps > 0 ? control->getValue() : control->getValueNormalized());
    // An edit outside a gesture (a click, a menu choice) gets a gesture of its own.
    const bool ownGesture = m_Gestures[port] == 0;
    if (ownGesture)
        touch(port, true);
    m_PortValues[port] = value;
    m_Host.write(m_Host.controller, port, sizeof(float), 0, &value);
    if (ownGesture)
        touch(port, false);
    // Other controls of the same port follow.
    const float shown = controlValueOfPort(info, value);
    for (VSTGUI::CControl* other : m_Bound[port])
        if (other != control)
        {
            if (info.steps > 0)
                other->setValue(shown);
            else
                other->setValueNormalized(shown);
            other->invalid();
        }
}

void PanelEditor::controlBeginEdit(VSTGUI::CControl* control)
{
    const int32_t tag = control->getTag();
    if (tag >= 0 && static_cast<size_t>(tag) < m_Gestures.size()
        && m_Gestures[static_cast<size_t>(tag)]++ == 0)
        touch(static_cast<uint32_t>(tag), true);
}

void PanelEditor::controlEndEdit(VSTGUI::CControl* control)
{
    const int32_t tag = control->getTag();
    if (tag < 0 || static_cast<size_t>(tag) >= m_Gestures.size() || m_Gestures[static_cast<size_t>(tag)] == 0)
        return;
    if (--m_Gestures[static_cast<size_t>(tag)] == 0)
        touch(static_cast<uint32_t>(tag), false);
}

void PanelEditor::onViewAdded(VSTGUI::CFrame*, VSTGUI::CView* view)
{
    auto* control = dynamic_cast<VSTGUI::CControl*>(view);
    if (!control || control->getListener() != this)
        return;
    const int32_t tag = control->getTag();
    if (tag < 0 || static_cast<size_t>(tag) >= m_Bound.size())
        return;
    auto& bound = m_Bound[static_cast<size_t>(tag)];
    if (std::find(bound.begin(), bound.end(), control) == bound.end())
        bound.push_back(control);
    showPort(static_cast<uint32_t>(tag));
}

void PanelEditor::onViewRemoved(VSTGUI::CFrame*, VSTGUI::CView* view)
{
    auto* control = dynamic_cast<VSTGUI::CControl*>(view);
    if (!control)
        return;
    for (auto& bound : m_Bound)
        bound.erase(std::remove(bound.begin(), bound.end(), control), bound.end());
}

} // namespace TessalineLv2
