// A DSP object for the framework's editor tests: a gain, a meter and a units control; it keeps
// copies of what each view request carried while the request lasted, may build a view of its
// own, and may draw its own editor.
#pragma once

#include "EditorFixture.h"

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cview.h"

#include <optional>
#include <string>

namespace FrameworkTest {

using namespace EditorTest;

// What a view request (code 3) carried, copied during the call.
struct ViewRequest
{
    std::string viewName, bitmapFile, handleBitmapFile, offBitmapFile, orientation, extraText;
    std::optional<VSTGUI::CColor> backColor, frameColor, fontColor;
    int32_t controlTag = 0;
    bool hasListener = false;
    int32_t left = 0, top = 0, right = 0, bottom = 0, offsetX = 0, offsetY = 0;
    int32_t frameWidth = 0, roundRectRadius = 0, heightOfOneImage = 0, subPixmaps = 0;
    bool styleRoundRect = false, styleNoFrame = false, answer = true;
};

class FrameworkDsp : public EditorDsp
{
public:
    std::vector<ViewRequest> requests;
    bool buildsViews = false;    // answer view requests with a view of its own
    bool drawsOwnEditor = false; // answer "open own editor"
    int32_t ownWidth = 240, ownHeight = 130;

    FrameworkDsp()
    {
        addControl("Gain", kControlKindNormal, kDataFloat, -60.0f, 12.0f, 0.0f);
        CControlEntry& level = addControl("Level", kControlKindMeter, kDataFloat, 0.0f, 1.0f, 0.0f);
        level.pMeterVar = &values[1];
        level.fMeterAttackMs = 20.0f;
        level.fMeterReleaseMs = 400.0f;
        level.nMeterDetectMode = 0;
        level.bMeterDecibels = true;
        CControlEntry& freq = addControl("Freq", kControlKindNormal, kDataFloat, 20.0f, 20000.0f, 440.0f);
        CControlEntry::setText(freq.szUnits, " Hz ");
    }

    void* uiMessage(CUiMessage* m) override
    {
        void* answer = EditorDsp::uiMessage(m);
        if (m->code == kUiCreateCustomView)
        {
            ViewRequest r;
            auto str = [](const char* s) { return s ? std::string(s) : std::string("<null>"); };
            r.viewName = str(m->viewName);
            r.bitmapFile = str(m->bitmapFile);
            r.handleBitmapFile = str(m->handleBitmapFile);
            r.offBitmapFile = str(m->offBitmapFile);
            r.orientation = str(m->orientation);
            r.extraText = str(m->extraText);
            if (m->backColor)
                r.backColor = *m->backColor;
            if (m->frameColor)
                r.frameColor = *m->frameColor;
            if (m->fontColor)
                r.fontColor = *m->fontColor;
            r.controlTag = m->controlTag;
            r.hasListener = m->listener != nullptr;
            r.left = m->viewLeft;
            r.top = m->viewTop;
            r.right = m->viewRight;
            r.bottom = m->viewBottom;
            r.offsetX = m->backOffsetX;
            r.offsetY = m->backOffsetY;
            r.frameWidth = m->frameWidth;
            r.roundRectRadius = m->roundRectRadius;
            r.heightOfOneImage = m->heightOfOneImage;
            r.subPixmaps = m->subPixmaps;
            r.styleRoundRect = m->styleRoundRect;
            r.styleNoFrame = m->styleNoFrame;
            r.answer = m->answer;
            requests.push_back(r);
            if (buildsViews)
                return new VSTGUI::CView(VSTGUI::CRect(m->viewLeft, m->viewTop, m->viewRight, m->viewBottom));
        }
        if (m->code == kUiOpenOwnEditor && drawsOwnEditor)
        {
            m->editorWidth = ownWidth;
            m->editorHeight = ownHeight;
            return this;
        }
        return answer;
    }
};

} // namespace FrameworkTest
