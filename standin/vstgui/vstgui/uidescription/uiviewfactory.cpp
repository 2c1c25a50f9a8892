#include "uiviewfactory.h"

#include "../lib/cbitmap.h"
#include "../lib/controls/cbuttons.h"
#include "../lib/controls/cknob.h"
#include "../lib/controls/coptionmenu.h"
#include "../lib/controls/ctextedit.h"
#include "../lib/controls/cvumeter.h"
#include "../lib/controls/cxypad.h"
#include "../lib/cviewcontainer.h"
#include "iuidescription.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

namespace VSTGUI {

namespace {
UIDebugSink debugSink = nullptr;

// Attributes every view may carry that the factory reads elsewhere or that only tools use.
bool isBookkeepingAttribute(const std::string& name)
{
    static const char* names[] = {
        "class",         "name",    "template", "custom-view-name", "sub-controller",
        "minSize",       "maxSize", "autosize", "tooltip",          "opacity",
        "wants-focus",   "origin",  "size",     "editor-template",  "tovutemplate-type",
        "tovulabel-type"};
    for (const char* n : names)
        if (name == n)
            return true;
    return false;
}

bool isTrue(const std::string& v) { return v == "true"; }

bool toDouble(const std::string& v, double& d) { return UIAttributes::stringToDouble(v, d); }

bool toFloat(const std::string& v, float& f)
{
    double d;
    if (!toDouble(v, d))
        return false;
    f = static_cast<float>(d);
    return true;
}

bool toPoint(const std::string& v, CPoint& p) { return UIAttributes::stringToPoint(v, p); }

bool toColor(const std::string& v, const IUIDescription* d, CColor& c)
{
    return d && d->getColor(v.c_str(), c);
}

void setStyleBit(int32_t& style, int32_t bit, const std::string& v)
{
    if (isTrue(v))
        style |= bit;
    else
        style &= ~bit;
}

// Each applier handles one attribute of its class; false means "not an attribute of mine".
using Applier =
    std::function<bool(CView*, const std::string& name, const std::string& value, const IUIDescription*)>;

bool applyView(CView* view, const std::string& n, const std::string& v, const IUIDescription* d)
{
    if (n == "transparent")
        view->setTransparency(isTrue(v));
    else if (n == "mouse-enabled")
        view->setMouseEnabled(isTrue(v));
    else if (n == "bitmap")
        view->setBackground(v.empty() || !d ? nullptr : d->getBitmap(v.c_str()));
    else
        return false;
    return true;
}

bool applyContainer(CView* view, const std::string& n, const std::string& v, const IUIDescription* d)
{
    auto c = dynamic_cast<CViewContainer*>(view);
    if (!c)
        return false;
    CColor color;
    if (n == "background-color")
    {
        if (v.empty())
            c->setBackgroundColor(kTransparentCColor);
        else if (toColor(v, d, color))
            c->setBackgroundColor(color);
    }
    else if (n == "background-color-draw-style")
    {
        if (v == "stroked")
            c->setBackgroundColorDrawStyle(kDrawStroked);
        else if (v == "filled")
            c->setBackgroundColorDrawStyle(kDrawFilled);
        else
            c->setBackgroundColorDrawStyle(kDrawFilledAndStroked);
    }
    else if (n == "background-offset")
    {
        CPoint p;
        if (toPoint(v, p))
            c->setBackgroundOffset(p);
    }
    else
        return false;
    return true;
}

bool applyControl(CView* view, const std::string& n, const std::string& v, const IUIDescription* d)
{
    auto c = dynamic_cast<CControl*>(view);
    if (!c)
        return false;
    float f;
    if (n == "control-tag")
    {
        if (!v.empty() && d)
        {
            c->setListener(d->getControlListener(v.c_str()));
            c->setTag(d->getTagForName(v.c_str()));
        }
    }
    else if (n == "default-value")
    {
        if (toFloat(v, f))
            c->setDefaultValue(f);
    }
    else if (n == "min-value")
    {
        if (toFloat(v, f))
            c->setMin(f);
    }
    else if (n == "max-value")
    {
        if (toFloat(v, f))
            c->setMax(f);
    }
    else if (n == "wheel-inc-value")
    {
        if (toFloat(v, f))
            c->setWheelInc(f);
    }
    else
        return false;
    return true;
}

bool applyParamDisplay(CView* view, const std::string& n, const std::string& v, const IUIDescription* d)
{
    auto p = dynamic_cast<CParamDisplay*>(view);
    if (!p)
        return false;
    CColor color;
    double x;
    CPoint pt;
    int32_t style = p->getStyle();
    if (n == "font")
    {
        if (d)
            if (CFontDesc* font = d->getFont(v.c_str()))
                p->setFont(font);
    }
    else if (n == "font-color")
    {
        if (toColor(v, d, color))
            p->setFontColor(color);
    }
    else if (n == "back-color")
    {
        if (toColor(v, d, color))
            p->setBackColor(color);
    }
    else if (n == "frame-color")
    {
        if (toColor(v, d, color))
            p->setFrameColor(color);
    }
    else if (n == "shadow-color")
    {
        if (toColor(v, d, color))
            p->setShadowColor(color);
    }
    else if (n == "frame-width")
    {
        if (toDouble(v, x))
            p->setFrameWidth(x);
    }
    else if (n == "round-rect-radius")
    {
        if (toDouble(v, x))
            p->setRoundRectRadius(x);
    }
    else if (n == "font-antialias")
        p->setAntialias(isTrue(v));
    else if (n == "text-alignment")
    {
        if (v == "left")
            p->setHoriAlign(kLeftText);
        else if (v == "right")
            p->setHoriAlign(kRightText);
        else if (v == "center")
            p->setHoriAlign(kCenterText);
    }
    else if (n == "text-inset")
    {
        if (toPoint(v, pt))
            p->setTextInset(pt);
    }
    else if (n == "text-shadow-offset")
    {
        if (toPoint(v, pt))
            p->setShadowTextOffset(pt);
    }
    else if (n == "background-offset")
    {
        if (toPoint(v, pt))
            p->setBackgroundOffset(pt);
    }
    else if (n == "value-precision")
    {
        if (toDouble(v, x) && x >= 0 && x <= 255)
            p->setPrecision(static_cast<uint8_t>(x));
    }
    else if (n == "style-3D-in" || n == "style-3D-out" || n == "style-no-frame" || n == "style-no-text"
             || n == "style-no-draw" || n == "style-shadow-text" || n == "style-round-rect")
    {
        static const std::map<std::string, int32_t> bits = {{"style-3D-in", k3DIn},
                                                            {"style-3D-out", k3DOut},
                                                            {"style-no-frame", kNoFrame},
                                                            {"style-no-text", kNoTextStyle},
                                                            {"style-no-draw", kNoDrawStyle},
                                                            {"style-shadow-text", kShadowText},
                                                            {"style-round-rect", kRoundRectStyle}};
        setStyleBit(style, bits.at(n), v);
        p->setStyle(style);
    }
    else if (n == "text-rotation" || n == "text-truncate-mode")
        ; // accepted, drawn horizontally and untruncated
    else
        return false;
    return true;
}

bool applyTextLabel(CView* view, const std::string& n, const std::string& v, const IUIDescription*)
{
    auto l = dynamic_cast<CTextLabel*>(view);
    if (!l || n != "title")
        return false;
    l->setText(v);
    return true;
}

bool applyTextEdit(CView* view, const std::string& n, const std::string& v, const IUIDescription*)
{
    auto e = dynamic_cast<CTextEdit*>(view);
    if (!e)
        return false;
    if (n == "immediate-text-change")
        e->setImmediateTextChange(isTrue(v));
    else if (n == "secure-style" || n == "placeholder-title")
        ;
    else
        return false;
    return true;
}

bool applyKnob(CView* view, const std::string& n, const std::string& v, const IUIDescription* d)
{
    auto k = dynamic_cast<CKnobBase*>(view);
    if (!k)
        return false;
    constexpr double kDegree = 3.14159265358979323846 / 180.;
    double x;
    CColor color;
    if (n == "angle-start")
    {
        if (toDouble(v, x))
            k->setStartAngle(static_cast<float>(x * kDegree));
    }
    else if (n == "angle-range")
    {
        if (toDouble(v, x))
            k->setRangeAngle(static_cast<float>(x * kDegree));
    }
    else if (n == "value-inset")
    {
        if (toDouble(v, x))
            k->setInsetValue(x);
    }
    else if (n == "zoom-factor")
    {
        if (toDouble(v, x) && x > 0)
            k->setZoomFactor(static_cast<float>(x));
    }
    else if (auto knob = dynamic_cast<CKnob*>(view))
    {
        if (n == "handle-bitmap")
            knob->setHandleBitmap(v.empty() || !d ? nullptr : d->getBitmap(v.c_str()));
        else if (n == "handle-color")
        {
            if (toColor(v, d, color))
                knob->setColorHandle(color);
        }
        else if (n == "handle-shadow-color")
        {
            if (toColor(v, d, color))
                knob->setColorShadowHandle(color);
        }
        else if (n == "handle-line-width")
        {
            if (toDouble(v, x))
                knob->setHandleLineWidth(x);
        }
        else if (n.compare(0, 6, "corona") == 0 || n == "circle-drawing")
            ; // the handle line is the only knob drawing
        else
            return false;
    }
    else if (auto anim = dynamic_cast<CAnimKnob*>(view))
    {
        int32_t i = 0;
        if (n == "height-of-one-image")
        {
            if (toDouble(v, x))
                anim->setHeightOfOneImage(x);
        }
        else if (n == "sub-pixmaps")
        {
            if (toDouble(v, x))
                anim->setNumSubPixmaps(static_cast<int32_t>(x));
        }
        else if (n == "inverse-bitmap")
            anim->setInverseBitmap(isTrue(v));
        else if (n == "background-offset")
            (void)i;
        // Knob drawing attributes written by authoring tools for every knob; a filmstrip ignores them.
        else if (n.compare(0, 6, "corona") == 0 || n == "circle-drawing" || n.compare(0, 6, "handle") == 0)
            ;
        else
            return false;
    }
    else
        return false;
    return true;
}

bool applyButtons(CView* view, const std::string& n, const std::string& v, const IUIDescription*)
{
    double x;
    CPoint p;
    if (auto b = dynamic_cast<COnOffButton*>(view))
    {
        if (n == "height-of-one-image")
        {
            if (toDouble(v, x))
                b->setHeightOfOneImage(x);
        }
        else if (n == "background-offset")
        {
            if (toPoint(v, p))
                b->setBackgroundOffset(p);
        }
        else
            return false;
        return true;
    }
    if (auto k = dynamic_cast<CKickButton*>(view))
    {
        if (n == "height-of-one-image")
        {
            if (toDouble(v, x))
                k->setHeightOfOneImage(x);
        }
        else if (n != "background-offset")
            return false;
        return true;
    }
    return false;
}

bool applyMenuMeterPad(CView* view, const std::string& n, const std::string& v, const IUIDescription* d)
{
    double x;
    if (dynamic_cast<COptionMenu*>(view))
        return n == "menu-popup-style" || n == "menu-check-style";
    if (auto m = dynamic_cast<CVuMeter*>(view))
    {
        if (n == "off-bitmap")
            m->setOffBitmap(v.empty() || !d ? nullptr : d->getBitmap(v.c_str()));
        else if (n == "num-led")
        {
            if (toDouble(v, x))
                m->setNbLed(static_cast<int32_t>(x));
        }
        else if (n == "orientation")
            m->setStyle(v == "horizontal" ? kHorizontal : kVertical);
        else if (n == "decrease-step-value")
        {
            if (toDouble(v, x))
                m->setDecreaseStepValue(static_cast<float>(x));
        }
        else
            return false;
        return true;
    }
    if (auto pad = dynamic_cast<CXYPad*>(view))
    {
        if (n != "stop-tracking-on-mouse-exit")
            return false;
        pad->setStopTrackingOnMouseExit(isTrue(v));
        return true;
    }
    return false;
}

const std::vector<Applier>& appliers()
{
    static const std::vector<Applier> list = {applyView,         applyContainer, applyControl,
                                              applyParamDisplay, applyTextLabel, applyTextEdit,
                                              applyKnob,         applyButtons,   applyMenuMeterPad};
    return list;
}

const std::map<std::string, std::function<CView*()>>& creators()
{
    static const std::map<std::string, std::function<CView*()>> map = {
        {"CView", [] { return new CView(CRect()); }},
        {"CViewContainer", [] { return new CViewContainer(CRect()); }},
        {"CParamDisplay", [] { return new CParamDisplay(CRect()); }},
        {"CTextLabel", [] { return new CTextLabel(CRect()); }},
        {"CTextEdit", [] { return new CTextEdit(CRect(), nullptr, -1); }},
        {"CKnob", [] { return new CKnob(CRect(), nullptr, -1, nullptr, nullptr); }},
        {"CAnimKnob", [] { return new CAnimKnob(CRect(), nullptr, -1, nullptr); }},
        {"COnOffButton", [] { return new COnOffButton(CRect()); }},
        {"CKickButton", [] { return new CKickButton(CRect(), nullptr, -1, nullptr); }},
        {"COptionMenu", [] { return new COptionMenu(CRect(), nullptr, -1); }},
        {"CVuMeter", [] { return new CVuMeter(CRect(), nullptr, nullptr, 100); }},
        {"CXYPad", [] { return new CXYPad(CRect()); }},
    };
    return map;
}
} // namespace

void setUIDebugSink(UIDebugSink sink) { debugSink = sink; }

void uiDebugLog(const std::string& message)
{
    if (debugSink)
        debugSink(message);
    else if (std::getenv("TESSALINE_VSTGUI_DEBUG"))
        std::fprintf(stderr, "vstgui: %s\n", message.c_str());
}

bool UIViewFactory::isKnownClass(const std::string& className) { return creators().count(className) != 0; }

void UIViewFactory::reportOnce(const std::string& what) const
{
    if (reported.insert(what).second)
        uiDebugLog(what);
}

CView* UIViewFactory::createView(const UIAttributes& attributes, const IUIDescription* description) const
{
    const std::string* className = attributes.getAttributeValue("class");
    if (!className)
    {
        reportOnce("view without a class");
        return nullptr;
    }
    auto it = creators().find(*className);
    if (it == creators().end())
    {
        reportOnce("unknown view class '" + *className + "' skipped");
        return nullptr;
    }
    CView* view = it->second();
    applyAttributeValues(view, attributes, description);
    return view;
}

bool UIViewFactory::applyAttributeValues(CView* view, const UIAttributes& attributes,
                                         const IUIDescription* description) const
{
    if (!view)
        return false;
    // Geometry first: bitmaps and knob frames depend on the size.
    CPoint origin(view->getViewSize().getTopLeft()), size(view->getViewSize().getSize());
    if (const std::string* text = attributes.getAttributeValue("origin"))
        UIAttributes::stringToGeometry(*text, origin, false);
    if (const std::string* text = attributes.getAttributeValue("size"))
        UIAttributes::stringToGeometry(*text, size, true);
    view->setViewSize(CRect(origin, size));
    view->setMouseableArea(view->getViewSize());
    if (const std::string* tip = attributes.getAttributeValue("tooltip"))
        if (!tip->empty())
            view->setAttribute("tooltip", *tip);
    double opacity;
    if (attributes.getDoubleAttribute("opacity", opacity))
        view->setAlphaValue(static_cast<float>(opacity));

    const std::string* className = attributes.getAttributeValue("class");
    const std::string cls = className ? *className : "?";
    for (const auto& a : attributes)
    {
        if (isBookkeepingAttribute(a.first))
            continue;
        bool applied = false;
        for (const auto& applier : appliers())
            if ((applied = applier(view, a.first, a.second, description)))
                break;
        if (!applied)
            reportOnce("attribute '" + a.first + "' unknown to " + cls + ", skipped");
    }
    return true;
}

} // namespace VSTGUI
