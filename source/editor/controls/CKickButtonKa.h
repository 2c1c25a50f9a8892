// A kick button that reports the press, the release, or both, to its listener.
#pragma once

#include "vstgui/lib/controls/ckickbutton.h"

namespace VSTGUI {

class CKickButtonKa : public CKickButton
{
public:
    enum KickMode : int32_t
    {
        kReportPressAndRelease = 0,
        kReportRelease = 1,
        kReportPress = 2,
    };

    CKickButtonKa(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                  const CPoint& offset = CPoint(0, 0));

    void setKickMode(int32_t mode) { m_nKickMode = mode; }
    int32_t getKickMode() const { return m_nKickMode; }

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CView* newCopy() const override { return new CKickButtonKa(*this); }

private:
    int32_t m_nKickMode = kReportPressAndRelease;
};

} // namespace VSTGUI
