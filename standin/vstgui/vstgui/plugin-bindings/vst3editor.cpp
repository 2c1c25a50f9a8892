#include "vst3editor.h"

#include "../lib/cframe.h"
#include "../lib/controls/ctextedit.h"
#include "parameterchangelistener.h"

#include "base/source/fstring.h"
#include "pluginterfaces/base/ustring.h"

#include <cmath>
#include <cstdlib>

namespace Steinberg {
__attribute__((weak)) const FUID IPlugViewContentScaleSupport::iid(IPlugViewContentScaleSupport_iid);
}

namespace VSTGUI {

namespace {
// "w, h" as the template's size attributes write it, within the range of a view's size.
bool parseSize(const std::string& text, CPoint& p) { return UIAttributes::stringToGeometry(text, p, true); }
// UTF-8 to the SDK's 16-bit text (128 units with the terminator; longer text is cut).
void toUTF16(const std::string& in, Steinberg::Vst::String128 out)
{
    size_t o = 0;
    for (size_t i = 0; i < in.size() && o < 127;)
    {
        const auto c = static_cast<unsigned char>(in[i]);
        uint32_t cp = 0xFFFD;
        size_t n = 1;
        if (c < 0x80)
            cp = c;
        else if ((c >> 5) == 6 && i + 1 < in.size())
            cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(in[i + 1]) & 0x3Fu), n = 2;
        else if ((c >> 4) == 14 && i + 2 < in.size())
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(in[i + 1]) & 0x3Fu) << 6)
                 | (static_cast<unsigned char>(in[i + 2]) & 0x3Fu),
            n = 3;
        else if ((c >> 3) == 30 && i + 3 < in.size())
            cp = ((c & 0x07u) << 18) | ((static_cast<unsigned char>(in[i + 1]) & 0x3Fu) << 12)
                 | ((static_cast<unsigned char>(in[i + 2]) & 0x3Fu) << 6)
                 | (static_cast<unsigned char>(in[i + 3]) & 0x3Fu),
            n = 4;
        i += n;
        if (cp >= 0x10000)
        {
            if (o + 2 > 127)
                break;
            cp -= 0x10000;
            out[o++] = static_cast<Steinberg::char16>(0xD800 + (cp >> 10));
            out[o++] = static_cast<Steinberg::char16>(0xDC00 + (cp & 0x3FF));
        }
        else
            out[o++] = static_cast<Steinberg::char16>(cp);
    }
    out[o] = 0;
}
} // namespace

VST3Editor::VST3Editor(Steinberg::Vst::EditController* controller, UTF8StringPtr templateName,
                       UTF8StringPtr xmlFile)
    : VSTGUIEditor(controller)
    , description(new UIDescription(CResourceDescription(xmlFile)))
    , delegate(dynamic_cast<VST3EditorDelegate*>(controller))
    , viewName(templateName ? templateName : "")
    , xmlFile(xmlFile ? xmlFile : "")
{
    init();
}

VST3Editor::VST3Editor(UIDescription* desc, Steinberg::Vst::EditController* controller,
                       UTF8StringPtr templateName, UTF8StringPtr xmlFile)
    : VSTGUIEditor(controller)
    , description(desc)
    , delegate(dynamic_cast<VST3EditorDelegate*>(controller))
    , viewName(templateName ? templateName : "")
    , xmlFile(xmlFile ? xmlFile : "")
{
    if (description)
        description->remember();
    else
        description = new UIDescription(CResourceDescription(xmlFile));
    init();
}

VST3Editor::~VST3Editor()
{
    // Destroyed while still attached (a host that skips removed): close as removed would.
    if (isAttached())
        removed();
    else if (frame)
        close();
    description->forget();
}

void VST3Editor::init()
{
    setIdleRate(300);
    if (!description->parse())
        return;
    const UIAttributes* attributes = description->getViewAttributes(viewName.c_str());
    if (!attributes)
        return;
    CPoint p;
    if (const std::string* s = attributes->getAttributeValue("size"); s && parseSize(*s, p))
    {
        rect.right = rect.left + static_cast<Steinberg::int32>(p.x);
        rect.bottom = rect.top + static_cast<Steinberg::int32>(p.y);
        minSize = maxSize = p;
    }
    if (const std::string* s = attributes->getAttributeValue("minSize"))
        parseSize(*s, minSize);
    if (const std::string* s = attributes->getAttributeValue("maxSize"))
        parseSize(*s, maxSize);
}

Steinberg::tresult PLUGIN_API VST3Editor::queryInterface(const ::Steinberg::TUID iid, void** obj)
{
    QUERY_INTERFACE(iid, obj, Steinberg::IPlugViewContentScaleSupport::iid,
                    Steinberg::IPlugViewContentScaleSupport)
    return VSTGUIEditor::queryInterface(iid, obj);
}

bool VST3Editor::exchangeView(UTF8StringPtr templateName)
{
    if (!templateName || !description->getViewAttributes(templateName))
        return false;
    viewName = templateName;
    doCreateView = true;
    return true;
}

bool VST3Editor::setEditorSizeConstrains(const CPoint& newMinimumSize, const CPoint& newMaximumSize)
{
    if (newMinimumSize.x > newMaximumSize.x || newMinimumSize.y > newMaximumSize.y)
        return false;
    minSize = newMinimumSize;
    maxSize = newMaximumSize;
    return true;
}

void VST3Editor::getEditorSizeConstrains(CPoint& minimumSize, CPoint& maximumSize) const
{
    minimumSize = minSize;
    maximumSize = maxSize;
}

bool PLUGIN_API VST3Editor::open(void* parent, const PlatformType& type)
{
    if (frame || !description->isParsed() || !description->getViewAttributes(viewName.c_str()))
        return false;
    const CCoord width = std::round(rect.getWidth() / contentScaleFactor);
    const CCoord height = std::round(rect.getHeight() / contentScaleFactor);
    frame = new CFrame(CRect(0, 0, width, height), this);
    frame->setZoom(contentScaleFactor);
    frame->registerViewAddedRemovedObserver(this);
    // A null parent opens the editor offscreen: the whole view tree without a window.
    if ((parent && !frame->open(parent, type, getFrameConfig())) || !createTemplateView())
    {
        frame->unregisterViewAddedRemovedObserver(this);
        frame->close();
        frame = nullptr;
        return false;
    }
    if (delegate)
        delegate->didOpen(this);
    return true;
}

void PLUGIN_API VST3Editor::close()
{
    if (!frame)
        return;
    if (delegate)
        delegate->willClose(this);
    CFrame* f = frame;
    frame = nullptr;
    // Unbinding happens as the views leave the frame; closing also frees the frame.
    f->close();
    for (auto& entry : paramChangeListeners)
        entry.second->release();
    paramChangeListeners.clear();
    doCreateView = false;
}

bool VST3Editor::createTemplateView()
{
    CView* view = description->createView(viewName.c_str(), this);
    if (!view)
        return false;
    const CRect& r = view->getViewSize();
    CRect current;
    frame->getSize(current);
    if (r.getWidth() != current.getWidth() || r.getHeight() != current.getHeight())
        frame->setSize(r.getWidth(), r.getHeight());
    frame->addView(view);
    return true;
}

void VST3Editor::recreateView()
{
    doCreateView = false;
    if (!frame)
        return;
    frame->setFocusView(nullptr);
    frame->setModalView(nullptr);
    frame->removeAll();
    createTemplateView();
    frame->invalid();
}

ParameterChangeListener* VST3Editor::getParameterChangeListener(int32_t tag) const
{
    if (tag == -1)
        return nullptr;
    auto it = paramChangeListeners.find(tag);
    return it == paramChangeListeners.end() ? nullptr : it->second;
}

void VST3Editor::beginEdit(int32_t)
{
    // Gestures go through the parameter bindings: not every tag is a parameter.
}

void VST3Editor::endEdit(int32_t) {}

CView* VST3Editor::createView(const UIAttributes& attributes, const IUIDescription* desc)
{
    if (!delegate)
        return nullptr;
    const std::string* name = attributes.getAttributeValue("custom-view-name");
    if (!name || name->empty())
        return nullptr;
    return delegate->createCustomView(name->c_str(), attributes, desc, this);
}

CView* VST3Editor::verifyView(CView* view, const UIAttributes& attributes, const IUIDescription* desc)
{
    return delegate ? delegate->verifyView(view, attributes, desc, this) : view;
}

IController* VST3Editor::createSubController(UTF8StringPtr name, const IUIDescription* desc)
{
    return delegate ? delegate->createSubController(name, desc, this) : nullptr;
}

CMessageResult VST3Editor::notify(CBaseObject* sender, IdStringPtr message)
{
    if (message == CVSTGUITimer::kMsgTimer)
    {
        if (doCreateView)
            recreateView();
        for (auto& entry : paramChangeListeners)
            entry.second->idle();
    }
    return VSTGUIEditor::notify(sender, message);
}

bool VST3Editor::beforeSizeChange(const CRect& newSize, const CRect&)
{
    if (minSize.x > 0 && (newSize.getWidth() < minSize.x || newSize.getHeight() < minSize.y))
        return false;
    if (maxSize.x > 0 && (newSize.getWidth() > maxSize.x || newSize.getHeight() > maxSize.y))
        return false;
    return true;
}

Steinberg::tresult PLUGIN_API VST3Editor::onSize(Steinberg::ViewRect* newSize)
{
    if (!newSize)
        return Steinberg::kInvalidArgument;
    // The host's rectangle is in pixels; the frame keeps points.
    if (frame)
        frame->setSize(std::round(newSize->getWidth() / contentScaleFactor),
                       std::round(newSize->getHeight() / contentScaleFactor));
    return EditorView::onSize(newSize);
}

Steinberg::tresult PLUGIN_API VST3Editor::canResize()
{
    return (minSize != maxSize) ? Steinberg::kResultTrue : Steinberg::kResultFalse;
}

Steinberg::tresult PLUGIN_API VST3Editor::checkSizeConstraint(Steinberg::ViewRect* r)
{
    if (!r)
        return Steinberg::kInvalidArgument;
    const double s = contentScaleFactor;
    auto clampTo = [](Steinberg::int32 v, double lo, double hi) {
        return static_cast<Steinberg::int32>(std::round(std::min(std::max(static_cast<double>(v), lo), hi)));
    };
    r->right = r->left + clampTo(r->getWidth(), minSize.x * s, maxSize.x * s);
    r->bottom = r->top + clampTo(r->getHeight(), minSize.y * s, maxSize.y * s);
    return Steinberg::kResultTrue;
}

Steinberg::tresult PLUGIN_API VST3Editor::setContentScaleFactor(ScaleFactor factor)
{
    if (!(factor > 0.f) || factor > 16.f)
        return Steinberg::kResultFalse;
    const double old = contentScaleFactor;
    contentScaleFactor = factor;
    // Same layout in points, more pixels: the view's pixel size follows the scale.
    Steinberg::ViewRect r(
        rect.left, rect.top,
        rect.left + static_cast<Steinberg::int32>(std::round(rect.getWidth() / old * factor)),
        rect.top + static_cast<Steinberg::int32>(std::round(rect.getHeight() / old * factor)));
    rect = r;
    if (frame)
        frame->setZoom(factor);
    if (plugFrame && isAttached())
        plugFrame->resizeView(this, &r);
    return Steinberg::kResultTrue;
}

void VST3Editor::valueChanged(CControl* control)
{
    ParameterChangeListener* pcl = getParameterChangeListener(control->getTag());
    if (!pcl)
        return;
    Steinberg::Vst::ParamValue value = control->getValueNormalized();
    if (auto edit = dynamic_cast<CTextEdit*>(control); edit && pcl->getParameter())
    {
        // Typed text goes through the parameter's own parser; text it rejects changes nothing
        // and the field shows the parameter again.
        Steinberg::Vst::String128 text{};
        toUTF16(edit->getText(), text);
        if (getController()->getParamValueByString(pcl->getParameterID(), text, value)
                != Steinberg::kResultTrue
            || std::isnan(value))
        {
            pcl->updateControls();
            return;
        }
        // A number beyond the parameter's range (the parsers do not check) means its end.
        value = std::min(std::max(value, 0.), 1.);
    }
    pcl->performEdit(value);
}

void VST3Editor::controlBeginEdit(CControl* control)
{
    // Typed values open their gesture only once they parse (see valueChanged).
    if (dynamic_cast<CTextEdit*>(control))
        return;
    if (ParameterChangeListener* pcl = getParameterChangeListener(control->getTag()))
        pcl->beginEdit();
}

void VST3Editor::controlEndEdit(CControl* control)
{
    if (dynamic_cast<CTextEdit*>(control))
        return;
    if (ParameterChangeListener* pcl = getParameterChangeListener(control->getTag()))
        pcl->endEdit();
}

void VST3Editor::controlTagWillChange(CControl* control)
{
    if (control->getListener() == this && control->isAttached())
        onViewRemoved(frame, control);
}

void VST3Editor::controlTagDidChange(CControl* control)
{
    if (control->getListener() == this && control->isAttached())
        onViewAdded(frame, control);
}

void VST3Editor::onViewAdded(CFrame*, CView* view)
{
    auto control = dynamic_cast<CControl*>(view);
    if (!control || control->getTag() == -1 || control->getListener() != this)
        return;
    if (ParameterChangeListener* pcl = getParameterChangeListener(control->getTag()))
    {
        pcl->addControl(control);
        return;
    }
    Steinberg::Vst::Parameter* parameter =
        getController()
            ? getController()->getParameterObject(static_cast<Steinberg::Vst::ParamID>(control->getTag()))
            : nullptr;
    if (delegate && parameter && delegate->isPrivateParameter(parameter->getInfo().id))
        parameter = nullptr;
    paramChangeListeners[control->getTag()] =
        new ParameterChangeListener(getController(), parameter, control);
}

void VST3Editor::onViewRemoved(CFrame*, CView* view)
{
    auto control = dynamic_cast<CControl*>(view);
    if (!control || control->getTag() == -1)
        return;
    auto it = paramChangeListeners.find(control->getTag());
    if (it == paramChangeListeners.end())
        return;
    it->second->removeControl(control);
    if (it->second->getControls().empty())
    {
        it->second->release();
        paramChangeListeners.erase(it);
    }
}

} // namespace VSTGUI
