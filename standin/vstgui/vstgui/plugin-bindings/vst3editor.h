// The stock editor: a frame built from a description template, every control bound to the
// parameter whose id equals its tag, a delegate (the edit controller, when it implements
// VST3EditorDelegate) asked for custom views and sub-controllers, and the editor's timer.
#pragma once

#include "../uidescription/icontroller.h"
#include "../uidescription/uidescription.h"
#include "parameterchangelistener.h"
#include "public.sdk/source/vst/vstguieditor.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <map>
#include <string>

namespace VSTGUI {

class COptionMenu;
class VST3Editor;

class VST3EditorDelegate
{
public:
    virtual ~VST3EditorDelegate() = default;

    virtual CView* createCustomView(UTF8StringPtr name, const UIAttributes& attributes,
                                    const IUIDescription* description, VST3Editor* editor)
    {
        return nullptr;
    }
    virtual CView* verifyView(CView* view, const UIAttributes& attributes, const IUIDescription* description,
                              VST3Editor* editor)
    {
        return view;
    }
    virtual bool findParameter(const CPoint& pos, Steinberg::Vst::ParamID& paramID, VST3Editor* editor)
    {
        return false;
    }
    virtual bool isPrivateParameter(const Steinberg::Vst::ParamID paramID) { return false; }
    virtual void didOpen(VST3Editor* editor) {}
    virtual void willClose(VST3Editor* editor) {}
    virtual COptionMenu* createContextMenu(const CPoint& pos, VST3Editor* editor) { return nullptr; }
    // The editor owns what this returns (see getViewController).
    virtual IController* createSubController(UTF8StringPtr name, const IUIDescription* description,
                                             VST3Editor* editor)
    {
        return nullptr;
    }
};

class VST3Editor : public Steinberg::Vst::VSTGUIEditor,
                   public IController,
                   public IViewAddedRemovedObserver,
                   public Steinberg::IPlugViewContentScaleSupport
{
public:
    VST3Editor(Steinberg::Vst::EditController* controller, UTF8StringPtr templateName, UTF8StringPtr xmlFile);
    VST3Editor(UIDescription* desc, Steinberg::Vst::EditController* controller, UTF8StringPtr templateName,
               UTF8StringPtr xmlFile = nullptr);

    // Shows another template (done on the next timer tick, like a re-creation).
    bool exchangeView(UTF8StringPtr templateName);
    // Rebuilds the view from the description on the next timer tick.
    void requestRecreateView() { doCreateView = true; }
    bool isRecreateViewPending() const { return doCreateView; }

    bool setEditorSizeConstrains(const CPoint& newMinimumSize, const CPoint& newMaximumSize);
    void getEditorSizeConstrains(CPoint& minimumSize, CPoint& maximumSize) const;
    double getContentScaleFactor() const { return contentScaleFactor; }
    UIDescription* getUIDescription() const { return description; }

    DELEGATE_REFCOUNT(Steinberg::Vst::VSTGUIEditor)
    Steinberg::tresult PLUGIN_API queryInterface(const ::Steinberg::TUID iid, void** obj) override;

    // IPlugViewContentScaleSupport: the layout keeps its points; pixels per point change.
    Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

    // Open/close the editor's frame in a parent window (the view's attach/remove call these).
    bool PLUGIN_API open(void* parent, const PlatformType& type) override;
    void PLUGIN_API close() override;

    // IControlListener: the edit of a control bound to a parameter.
    void valueChanged(CControl* pControl) override;
    void controlBeginEdit(CControl* pControl) override;
    void controlEndEdit(CControl* pControl) override;
    void controlTagWillChange(CControl* pControl) override;
    void controlTagDidChange(CControl* pControl) override;

protected:
    ~VST3Editor() override;
    void init();
    ParameterChangeListener* getParameterChangeListener(int32_t tag) const;
    void recreateView();
    // Builds the template's view into the frame and binds its controls; false without a view.
    bool createTemplateView();

    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;

    // IController
    CView* createView(const UIAttributes& attributes, const IUIDescription* description) override;
    CView* verifyView(CView* view, const UIAttributes& attributes,
                      const IUIDescription* description) override;
    IController* createSubController(UTF8StringPtr name, const IUIDescription* description) override;

    CMessageResult notify(CBaseObject* sender, IdStringPtr message) override;
    bool beforeSizeChange(const CRect& newSize, const CRect& oldSize) override;

    Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
    Steinberg::tresult PLUGIN_API canResize() override;
    Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) override;

    // IViewAddedRemovedObserver: binds and unbinds controls as they enter and leave the frame.
    void onViewAdded(CFrame* frame, CView* view) override;
    void onViewRemoved(CFrame* frame, CView* view) override;

    UIDescription* description{nullptr};
    VST3EditorDelegate* delegate{nullptr};
    using ParameterChangeListenerMap = std::map<int32_t, ParameterChangeListener*>;
    ParameterChangeListenerMap paramChangeListeners;
    std::string viewName;
    std::string xmlFile;
    bool doCreateView{false};
    double contentScaleFactor{1.};
    CPoint minSize;
    CPoint maxSize;
};

} // namespace VSTGUI
