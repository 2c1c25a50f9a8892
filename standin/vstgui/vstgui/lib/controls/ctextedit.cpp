#include "ctextedit.h"

#include "../cdrawcontext.h"
#include "../cframe.h"

#include <cstdlib>

namespace VSTGUI {

namespace {
// Byte length of the UTF-8 sequence that ends at 'end' (for backspace and left).
size_t previousCharLength(const std::string& s, size_t end)
{
    size_t n = 0;
    while (end > 0)
    {
        --end;
        ++n;
        if ((static_cast<unsigned char>(s[end]) & 0xC0) != 0x80)
            break;
    }
    return n;
}

size_t nextCharLength(const std::string& s, size_t pos)
{
    size_t n = pos < s.size() ? 1 : 0;
    while (pos + n < s.size() && (static_cast<unsigned char>(s[pos + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

void appendUTF8(std::string& out, uint32_t cp)
{
    if (cp < 0x80)
        out += static_cast<char>(cp);
    else if (cp < 0x800)
    {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else if (cp < 0x10000)
    {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else if (cp < 0x110000)
    {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
} // namespace

CTextEdit::CTextEdit(const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt,
                     CBitmap* background, const int32_t style)
    : CTextLabel(size, txt, background, style)
{
    this->listener = listener;
    this->tag = tag;
    setWantsFocus(true);
}

CTextEdit::CTextEdit(const CTextEdit& t)
    : CTextLabel(t)
    , stringToValue(t.stringToValue)
{}

CTextEdit::~CTextEdit() = default;

void CTextEdit::setText(const std::string& txt)
{
    CTextLabel::setText(txt);
    if (editingText && !cancelling)
    {
        editText = text;
        caret = editText.size();
    }
}

void CTextEdit::setValue(float val)
{
    CTextLabel::setValue(val);
    // Without a converter the text shows the value (a bound parameter sets the text itself).
    if (valueToStringFunction)
    {
        std::string s;
        if (valueToStringFunction(value, s, this))
            CTextLabel::setText(s);
    }
}

void CTextEdit::draw(CDrawContext* context)
{
    if (!editingText)
    {
        CTextLabel::draw(context);
        return;
    }
    drawBack(context);
    drawPlatformText(context, editText);
    // Caret after the text before it; the text is placed as drawPlatformText places it.
    context->setFont(fontID);
    CRect textRect(size);
    textRect.inset(textInset.x, textInset.y);
    const CCoord full = context->getStringWidth(editText.c_str());
    const CCoord before = context->getStringWidth(editText.substr(0, caret).c_str());
    CCoord x = textRect.left;
    if (horiTxtAlign == kCenterText)
        x = textRect.left + (textRect.getWidth() - full) / 2.;
    else if (horiTxtAlign == kRightText)
        x = textRect.right - full;
    x += before;
    context->setFrameColor(fontColor);
    context->setLineWidth(1);
    context->drawLine(CPoint(x, textRect.top + 2), CPoint(x, textRect.bottom - 2));
    setDirty(false);
}

CMouseEventResult CTextEdit::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (!editingText)
    {
        if (parentFrame)
            parentFrame->setFocusView(this);
        else
            takeFocus();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::takeFocus()
{
    if (editingText)
        return;
    editingText = true;
    textBeforeEdit = text;
    editText = text;
    caret = editText.size();
    invalid();
}

void CTextEdit::looseFocus()
{
    // Losing the focus commits, as Enter does; Escape has already ended the edit.
    if (editingText)
        commit();
}

bool CTextEdit::removed(CView* parent)
{
    // A view leaving the tree drops its edit without reporting it.
    editingText = false;
    return CTextLabel::removed(parent);
}

void CTextEdit::commit()
{
    editingText = false;
    if (editText == textBeforeEdit)
    {
        // Nothing typed: no edit to report.
        if (parentFrame && parentFrame->getFocusView() == this)
            parentFrame->setFocusView(nullptr);
        invalid();
        return;
    }
    CTextLabel::setText(editText);
    if (stringToValue)
    {
        float result = value;
        if (stringToValue(text.c_str(), result, this))
            CTextLabel::setValue(result);
    }
    invalid();
    beginEdit();
    valueChanged();
    endEdit();
    if (parentFrame && parentFrame->getFocusView() == this)
        parentFrame->setFocusView(nullptr);
}

void CTextEdit::cancel()
{
    cancelling = true;
    editingText = false;
    CTextLabel::setText(textBeforeEdit);
    if (parentFrame && parentFrame->getFocusView() == this)
        parentFrame->setFocusView(nullptr);
    cancelling = false;
    invalid();
}

int32_t CTextEdit::onKeyDown(VstKeyCode& key)
{
    if (!editingText)
        return -1;
    switch (key.virt)
    {
    case VKEY_RETURN:
    case VKEY_ENTER: commit(); return 1;
    case VKEY_ESCAPE: cancel(); return 1;
    case VKEY_BACK:
        if (caret > 0)
        {
            const size_t n = previousCharLength(editText, caret);
            editText.erase(caret - n, n);
            caret -= n;
        }
        break;
    case VKEY_DELETE: editText.erase(caret, nextCharLength(editText, caret)); break;
    case VKEY_LEFT: caret -= previousCharLength(editText, caret); break;
    case VKEY_RIGHT: caret += nextCharLength(editText, caret); break;
    case VKEY_HOME: caret = 0; break;
    case VKEY_END: caret = editText.size(); break;
    case VKEY_SPACE:
        editText.insert(caret, " ");
        ++caret;
        break;
    default:
        if (key.virt != 0 || key.character < 0x20 || key.character == 0x7f)
            return -1;
        {
            std::string utf8;
            appendUTF8(utf8, static_cast<uint32_t>(key.character));
            editText.insert(caret, utf8);
            caret += utf8.size();
        }
        break;
    }
    if (immediateTextChange)
    {
        CTextLabel::setText(editText);
        valueChanged();
    }
    invalid();
    return 1;
}

} // namespace VSTGUI
