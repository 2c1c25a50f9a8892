#include "CustomViewFactory.h"

#include "ViewAttributes.h"
#include "controls/CKickButtonKa.h"
#include "controls/CPadControllerKa.h"
#include "controls/CTextEditKa.h"
#include "controls/CTextLabelKa.h"
#include "controls/CVuMeterKa.h"
#include "controls/CXYPadKa.h"

#include "public.sdk/source/vst/vsteditcontroller.h"

#include <cstring>
#include <string>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

using namespace VSTGUI;
namespace VA = VSTGUI::ViewAttributes;

namespace {

constexpr ParamID kVectorJoystickX = 0x8005;
constexpr ParamID kVectorJoystickY = 0x8006;

// The view holds its own references to the bitmaps it was given; ours go.
void dropBitmap(CBitmap* bitmap)
{
    if (bitmap)
        bitmap->forget();
}

int32_t tagOf(const UIAttributes& attributes, const IUIDescription* description)
{
    const std::string* name = VA::find(attributes, "control-tag");
    return name && description ? description->getTagForName(name->c_str()) : -1;
}

IControlListener* listenerOf(const UIAttributes& attributes, const IUIDescription* description)
{
    const std::string* name = VA::find(attributes, "control-tag");
    return name && description ? description->getControlListener(name->c_str()) : nullptr;
}

CView* kickButton(const std::string& name, const UIAttributes& attributes, const IUIDescription* description)
{
    CBitmap* image = VA::bitmap(attributes, "bitmap");
    auto* button =
        new CKickButtonKa(VA::rect(attributes), listenerOf(attributes, description),
                          tagOf(attributes, description), image, VA::point(attributes, "background-offset"));
    dropBitmap(image);
    if (name == "TovuKickButtonDU")
        button->setKickMode(CKickButtonKa::kReportPressAndRelease);
    else if (name == "TovuKickButtonD")
        button->setKickMode(CKickButtonKa::kReportPress);
    else
        button->setKickMode(CKickButtonKa::kReportRelease);
    return button;
}

CView* xyPad(const std::string& name, const UIAttributes& attributes, const IUIDescription* description)
{
    auto* pad = new CXYPadKa(VA::rect(attributes));
    pad->setJoystick(name == "Joystick");
    pad->setBackColor(VA::color(attributes, "back-color", description));
    pad->setFrameColor(VA::color(attributes, "frame-color", description));
    pad->setFontColor(VA::color(attributes, "font-color", description));
    pad->setFrameWidth(VA::integer(attributes, "frame-width"));
    pad->setRoundRectRadius(VA::integer(attributes, "round-rect-radius"));
    int32_t style = pad->getStyle();
    style = VA::flag(attributes, "style-round-rect") ? (style | kRoundRectStyle) : (style & ~kRoundRectStyle);
    style = VA::flag(attributes, "style-no-frame") ? (style | kNoFrame) : (style & ~kNoFrame);
    pad->setStyle(style);
    return pad;
}

CView* unitsView(const std::string& name, CPlugIn& plugIn, const UIAttributes& attributes,
                 const IUIDescription* description)
{
    const int32_t tag = tagOf(attributes, description);
    const CControlEntry* record =
        tag >= 0 ? plugIn.m_ControlList.controlAt(static_cast<uint32_t>(tag)) : nullptr;
    if (!record)
        return nullptr;
    CBitmap* image = VA::hasText(attributes, "bitmap") ? VA::bitmap(attributes, "bitmap") : nullptr;
    const std::string title = VA::text(attributes, "title");
    CView* view;
    if (name == "UnitsEdit")
    {
        auto* edit = new CTextEditKa(VA::rect(attributes), listenerOf(attributes, description), tag,
                                     title.c_str(), image, 0);
        edit->setUnits(record->szUnits);
        view = edit;
    }
    else
    {
        auto* label = new CTextLabelKa(VA::rect(attributes), title.c_str(), image, 0);
        label->setUnits(record->szUnits);
        view = label;
    }
    dropBitmap(image);
    return view;
}

// A meter needs its rectangle, both images and a sensible LED count.
bool meterComplete(const UIAttributes& attributes)
{
    for (const char* name : {"size", "origin", "bitmap", "off-bitmap", "num-led"})
        if (!VA::has(attributes, name))
            return false;
    const int32_t leds = VA::integer(attributes, "num-led");
    return leds >= 1 && leds <= VA::kMaxLeds;
}

void configureDetector(CVuMeterKa& meter, const CPlugIn& plugIn, const UIAttributes& attributes,
                       bool needsMeterVariable)
{
    const std::string* tagName = VA::find(attributes, "control-tag");
    if (!tagName)
        return;
    const CControlList& list = plugIn.m_ControlList;
    for (uint32_t i = 0; i < list.controlCount(); ++i)
    {
        const CControlEntry* record = list.controlAt(i);
        if (!record || *tagName != record->szName)
            continue;
        if (needsMeterVariable && !record->pMeterVar)
            continue;
        meter.initDetector(kMeterUpdatesPerSecond, record->fMeterAttackMs, record->fMeterReleaseMs, true,
                           record->nMeterDetectMode, record->bMeterDecibels);
    }
}

CVuMeterKa* meter(const UIAttributes& attributes, bool inverted, bool analog)
{
    CBitmap* on = VA::bitmap(attributes, "bitmap");
    CBitmap* off = VA::bitmap(attributes, "off-bitmap");
    auto* view = new CVuMeterKa(VA::rect(attributes), on, off, VA::integer(attributes, "num-led"), inverted,
                                analog, kVertical);
    dropBitmap(on);
    dropBitmap(off);
    return view;
}

// Frame height and zero frame written into a needle meter's name: "..._H65_Z52". A name
// without both, with "_Z" before "_H", or with numbers out of reason keeps the defaults.
void applyNeedleFrames(CVuMeterKa& view, const std::string& name)
{
    const auto h = name.find("_H");
    const auto z = name.find("_Z");
    if (h == std::string::npos || z == std::string::npos || z < h + 2)
        return;
    const auto height = VA::parseNumber(name.substr(h + 2, z - (h + 2)));
    const auto zero = VA::parseNumber(name.substr(z + 2));
    if (height && *height > 0.0 && *height <= VA::kMaxExtent)
        view.setFrameHeight(*height);
    if (zero && *zero >= 0.0 && *zero <= view.getFrameCount())
        view.setZeroFrame(*zero);
}

CView* needleMeter(const std::string& name, CPlugIn& plugIn, const UIAttributes& attributes)
{
    CVuMeterKa* view = meter(attributes, name.find("InvertedAnalogMeterView") != std::string::npos, true);
    view->setFrameCount(VA::integer(attributes, "num-led"));
    applyNeedleFrames(*view, name);
    configureDetector(*view, plugIn, attributes, true);
    return view;
}

CView* ledMeter(const std::string& name, CPlugIn& plugIn, const UIAttributes& attributes)
{
    CVuMeterKa* view = meter(attributes, name == "InvertedMeterView", false);
    configureDetector(*view, plugIn, attributes, false);
    return view;
}

// A name the framework does not know: the DSP object's view, built from the element's fields.
// Everything the record points to lives in this frame and is gone when the call returns.
CView* dspView(CPlugIn& plugIn, CUiMessage& m, const std::string& name, const UIAttributes& attributes,
               const IUIDescription* description)
{
    m.code = kUiCreateCustomView;
    m.viewName = name.c_str();
    m.extraText = "";
    m.editorView = nullptr;
    m.parentWindow = nullptr;
    m.moduleHandle = nullptr;
    m.listener = nullptr;
    m.answer = false;
    m.editorWidth = 0;
    m.editorHeight = 0;
    if (VA::hasText(attributes, "control-tag"))
    {
        m.controlTag = tagOf(attributes, description);
        m.listener = listenerOf(attributes, description);
    }
    const CRect r = VA::rect(attributes);
    m.viewLeft = static_cast<int32_t>(r.left);
    m.viewTop = static_cast<int32_t>(r.top);
    m.viewBottom = static_cast<int32_t>(r.bottom);
    m.viewRight = static_cast<int32_t>(r.right);
    const CPoint offset = VA::point(attributes, "background-offset");
    m.backOffsetX = static_cast<int32_t>(offset.x);
    m.backOffsetY = static_cast<int32_t>(offset.y);

    auto pngName = [&](const char* attribute) {
        return VA::hasText(attributes, attribute) ? VA::text(attributes, attribute) + ".png" : std::string();
    };
    const std::string bitmapFile = pngName("bitmap");
    const std::string handleFile = pngName("handle-bitmap");
    const std::string offFile = handleFile.empty() ? pngName("off-bitmap") : std::string();
    const std::string orientation = VA::text(attributes, "orientation");
    m.bitmapFile = bitmapFile.c_str();
    m.handleBitmapFile = handleFile.c_str();
    m.offBitmapFile = offFile.c_str();
    m.orientation = orientation.c_str();

    CColor back, frame, font;
    auto colorField = [&](const char* attribute, CColor& storage) -> const CColor* {
        if (!VA::hasText(attributes, attribute))
            return nullptr;
        storage = VA::color(attributes, attribute, description);
        return &storage;
    };
    m.backColor = colorField("back-color", back);
    m.frameColor = colorField("frame-color", frame);
    m.fontColor = colorField("font-color", font);
    m.frameWidth = VA::integer(attributes, "frame-width");
    m.roundRectRadius = VA::integer(attributes, "round-rect-radius");
    m.heightOfOneImage = VA::integer(attributes, "height-of-one-image");
    m.subPixmaps = VA::integer(attributes, "sub-pixmaps");
    m.styleRoundRect = VA::flag(attributes, "style-round-rect");
    m.styleNoFrame = VA::flag(attributes, "style-no-frame");

    auto* view = static_cast<CView*>(plugIn.uiMessage(&m));

    // The texts and colours above die with this frame: the kept record must not point at them.
    m.viewName = "";
    m.bitmapFile = m.handleBitmapFile = m.offBitmapFile = m.orientation = "";
    m.backColor = m.frameColor = m.fontColor = nullptr;
    return view;
}

} // namespace

CView* createFrameworkView(CPlugIn& plugIn, CUiMessage& message, const char* nameText,
                           const UIAttributes& attributes, const IUIDescription* description)
{
    if (!nameText || !*nameText)
        return nullptr;
    const std::string name(nameText);
    if (name == "TovuKickButton" || name == "TovuKickButtonDU" || name == "TovuKickButtonU"
        || name == "TovuKickButtonD")
        return kickButton(name, attributes, description);
    if (name == "TrackPad" || name == "Joystick")
        return xyPad(name, attributes, description);
    if (name == "UnitsEdit" || name == "UnitsLabel")
        return unitsView(name, plugIn, attributes, description);
    const bool needle = name.find("AnalogMeterView") != std::string::npos;
    const bool led = name == "InvertedMeterView" || name == "MeterView";
    if ((needle || led) && meterComplete(attributes))
        return needle ? needleMeter(name, plugIn, attributes) : ledMeter(name, plugIn, attributes);
    return dspView(plugIn, message, name, attributes, description);
}

namespace {

// The ids in "..._X<a>_Y<b>": a between "_X" and "_Y", b after "_Y". False when either is
// missing, in the wrong order, or not a number.
bool padIds(const std::string& name, ParamID& x, ParamID& y)
{
    const auto px = name.find("_X");
    const auto py = name.find("_Y");
    if (px == std::string::npos || py == std::string::npos || px >= py)
        return false;
    const std::string xs = name.substr(px + 2, py - (px + 2));
    const std::string ys = name.substr(py + 2);
    if (xs.empty() || ys.empty())
        return false;
    const int32_t xi = VA::parseInt(xs.c_str());
    const int32_t yi = VA::parseInt(ys.c_str());
    x = static_cast<ParamID>(xi);
    y = static_cast<ParamID>(yi);
    return true;
}

} // namespace

IController* createFrameworkSubController(const char* nameText, EditController* controller,
                                          IController* parent)
{
    if (!nameText || !controller)
        return nullptr;
    const std::string name(nameText);
    if (name == "VectorJoystick")
        return new PadController(parent, controller, controller->getParameterObject(kVectorJoystickX),
                                 controller->getParameterObject(kVectorJoystickY));
    const bool joystick = name.find("Joystick_") != std::string::npos;
    const bool trackPad = name.find("TrackPad_") != std::string::npos;
    ParamID x = 0, y = 0;
    if ((joystick || trackPad) && padIds(name, x, y))
        return new CPadControllerKa(parent, controller, controller->getParameterObject(x),
                                    controller->getParameterObject(y));
    return nullptr;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
