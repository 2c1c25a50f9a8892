// Argument and value records exchanged between the host adapter and a DSP object.
// No SDK and no UI dependency: UI types are only forward-declared here.
#pragma once

#include <cstdint>

class IMidiEventList;
namespace VSTGUI {
struct CColor;
class IControlListener;
} // namespace VSTGUI
namespace Steinberg {
namespace Vst {
class VSTGUIEditor; // the SDK's editor base: the VSTGUI binding puts it here
}
} // namespace Steinberg
class CVSTParameterConnector;

// Ids the DSP object knows beside its controls' own: a press of one of the editor's three
// buttons arrives as controlChanged(kButtonNControlId); the joystick axes carry the two
// joystick ids (which are also their host parameter ids).
enum CReservedControlId : uint32_t
{
    kButton1ControlId = 50,
    kButton2ControlId = 51,
    kButton3ControlId = 52,
    kJoystickXControlId = 0x8005,
    kJoystickYControlId = 0x8006,
};

// One element of the DSP object's value table (controls, then the two joystick axes).
struct CControlValue
{
    int32_t nIndex = 0;     // position of the control in the list
    uint32_t uId = 0;       // the control's own id
    float fValue = 0.0f;    // incoming: linear normalized value; outgoing: meter reading
    float fJoystick = 0.0f; // joystick position (joystick elements only)
    bool bUpdated = false;  // the element carries a new value
    bool bAxesRotated = false;
};

// Host transport information; hostMessage always copies the whole record.
struct CHostInfo
{
    uint64_t uSamplePos = 0;   // sample position of the coming frame
    double dTimeSeconds = 0.0; // that position in seconds
    double dTempo = 0.0;       // beats per minute
    float fTimeSigNumerator = 0.0f;
    uint32_t uTimeSigDenominator = 0;
    // Further transport fields, left zero by this system's host adapter.
    double dPpqPos = 0.0;
    double dBarStartPpq = 0.0;
    uint32_t uFlags = 0;
};

enum CHostMessageType : uint32_t
{
    msgApplyControlValues = 0,
    msgCollectMeters = 1,
    msgHostInfo = 2,
    msgMidiEventList = 5,
};

struct CHostMessage
{
    CControlValue* pValuesIn = nullptr;
    CControlValue* pValuesOut = nullptr;
    CHostInfo* pHostInfo = nullptr;
    IMidiEventList* pMidiEvents = nullptr;
    int32_t nValueCount = 0;
    bool bApplyNow = false;
};

// One node of a dependent-control list.
struct CDependentControl
{
    uint32_t uId = 0;
    float fValue = 0.0f;
    CDependentControl* pNext = nullptr;
};

enum CUiMessageCode : uint32_t
{
    kUiDidOpen = 0,
    kUiWillClose = 1,
    kUiTimerPing = 2,
    kUiCreateCustomView = 3,
    kUiHasOwnEditor = 5,
    kUiOpenOwnEditor = 6,
    kUiCloseOwnEditor = 7,
    kUiParameterValue = 13,
};

// Argument record of uiMessage: editor events and parameter values for the DSP object.
struct CUiMessage
{
    uint32_t code = 0;
    const char* viewName = nullptr;
    int32_t controlTag = 0;
    int32_t viewLeft = 0, viewTop = 0, viewBottom = 0, viewRight = 0;
    int32_t backOffsetX = 0, backOffsetY = 0;
    const char* bitmapFile = nullptr;
    const char* handleBitmapFile = nullptr;
    const char* offBitmapFile = nullptr;
    const char* orientation = nullptr;
    const VSTGUI::CColor* backColor = nullptr;
    const VSTGUI::CColor* frameColor = nullptr;
    const VSTGUI::CColor* fontColor = nullptr;
    int32_t frameWidth = 0;
    int32_t roundRectRadius = 0;
    bool styleNoFrame = false;
    bool styleRoundRect = false;
    int32_t heightOfOneImage = 0;
    int32_t subPixmaps = 0;
    const char* extraText = nullptr;
    Steinberg::Vst::VSTGUIEditor* editorView = nullptr;
    void* parentWindow = nullptr;
    VSTGUI::IControlListener* listener = nullptr;
    int32_t platformType = 0;
    double paramValue = 0.0;
    int32_t paramIndex = 0;
    void* moduleHandle = nullptr;
    CVSTParameterConnector* connector = nullptr;
    bool answer = false;
    int32_t editorWidth = 0, editorHeight = 0;
};

// Argument record of processAuxInput.
struct CAuxInputInfo
{
    int32_t nVersion = 0;           // the host adapter sets 1
    float* pAuxFrame = nullptr;     // two-float side-chain frame (frame mode)
    void* pReserved = nullptr;      // left null
    float** ppAuxBuffers = nullptr; // side-chain channel pointers (whole-buffer mode)
    uint32_t uAuxChannels = 0;
    bool bAuxValid = false;
};
