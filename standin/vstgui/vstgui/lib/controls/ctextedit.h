// A label the user can type into. A click (or takeFocus) starts editing with a caret; Enter or
// losing the focus commits the text and reports it to the listener, Escape restores the text
// from before the edit and reports nothing.
#pragma once

#include "ctextlabel.h"

namespace VSTGUI {

class CTextEdit : public CTextLabel
{
public:
    using StringToValueFunction = std::function<bool(UTF8StringPtr txt, float& result, CTextEdit* textEdit)>;

    CTextEdit(const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt = nullptr,
              CBitmap* background = nullptr, const int32_t style = 0);
    CTextEdit(const CTextEdit& textEdit);
    ~CTextEdit() override;

    void setText(const std::string& txt) override;
    void setValue(float val) override;
    void setStringToValueFunction(const StringToValueFunction& func) { stringToValue = func; }
    void setImmediateTextChange(bool state) { immediateTextChange = state; }
    bool isEditingText() const { return editingText; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    void takeFocus() override;
    void looseFocus() override;
    bool removed(CView* parent) override;
    CView* newCopy() const override { return new CTextEdit(*this); }

protected:
    void commit();
    void cancel();

    StringToValueFunction stringToValue;
    std::string editText;
    std::string textBeforeEdit;
    size_t caret{0};
    bool editingText{false};
    bool immediateTextChange{false};
    bool cancelling{false};
};

} // namespace VSTGUI
