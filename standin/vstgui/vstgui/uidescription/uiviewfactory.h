// Builds views from a class name and attributes, and applies attributes to existing views.
// Unknown classes and unknown attributes are reported once each (to the debug log) and skipped.
#pragma once

#include "uiattributes.h"

#include <set>
#include <string>

namespace VSTGUI {

class UIViewFactory
{
public:
    // A new view of the class named by the "class" attribute, with every attribute applied;
    // nullptr for an unknown class.
    CView* createView(const UIAttributes& attributes, const IUIDescription* description) const;
    // Applies the attributes that the view's class knows; true when the view is of a known class.
    bool applyAttributeValues(CView* view, const UIAttributes& attributes,
                              const IUIDescription* description) const;
    static bool isKnownClass(const std::string& className);

private:
    void reportOnce(const std::string& what) const;
    mutable std::set<std::string> reported;
};

// Diagnostics of description loading go here (stderr when TESSALINE_VSTGUI_DEBUG is set; tests
// may install a sink to see them).
void uiDebugLog(const std::string& message);
using UIDebugSink = void (*)(const std::string& message);
void setUIDebugSink(UIDebugSink sink);

} // namespace VSTGUI
