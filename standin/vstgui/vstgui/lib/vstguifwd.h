// Basic types and forward declarations shared by every header of the toolkit.
#pragma once

#include <cstdint>

namespace VSTGUI {

using CCoord = double;
using UTF8StringPtr = const char*;
using IdStringPtr = const char*;

enum CMessageResult
{
    kMessageUnknown = 0,
    kMessageNotified = 1
};

enum CMouseEventResult
{
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
    kMouseMoveEventHandledButDontNeedMoreEvents
};

enum CMouseWheelAxis
{
    kMouseWheelAxisX = 0,
    kMouseWheelAxisY
};

enum CHoriTxtAlign
{
    kLeftText = 0,
    kCenterText,
    kRightText
};

enum CDrawStyle
{
    kDrawStroked = 0,
    kDrawFilled,
    kDrawFilledAndStroked
};

enum CDrawModeFlags : int32_t
{
    kAliasing = 0,
    kAntiAliasing = 1
};

// Window system of the parent handed to CFrame::open; only X11 embedding is implemented.
enum PlatformType
{
    kHWND,
    kWindowRef,
    kNSView,
    kUIView,
    kHIView,
    kX11EmbedWindowID,
    kDefaultNative = kX11EmbedWindowID
};

// Knob mouse modes as VSTGUIEditorInterface::getKnobMode answers them.
enum CKnobMode
{
    kCircularMode = 0,
    kRelativCircularMode,
    kLinearMode
};

struct CPoint;
struct CRect;
struct CColor;
struct VstKeyCode;
class CButtonState;
class CBaseObject;
class CBitmap;
class CFontDesc;
class CDrawContext;
class COffscreenContext;
class CGraphicsPath;
class CView;
class CViewContainer;
class CFrame;
class CControl;
class IControlListener;
class CParamDisplay;
class CTextLabel;
class CTextEdit;
class CKnobBase;
class CKnob;
class CAnimKnob;
class COnOffButton;
class CKickButton;
class COptionMenu;
class CMenuItem;
class CVuMeter;
class CXYPad;
class CVSTGUITimer;
class VSTGUIEditorInterface;
class UIAttributes;
class IUIDescription;
class UIDescription;
class IController;

} // namespace VSTGUI
