// A parsed user-interface description ("vstgui-ui-description" XML): fonts, colours, bitmaps,
// control tags and templates. createView builds a template's view tree, asking the controller
// for custom views ("custom-view-name"), sub-controllers ("sub-controller") and tags.
#pragma once

#include "../lib/cbitmap.h"
#include "iuidescription.h"
#include "uiattributes.h"
#include "uiviewfactory.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {

class UIDescription : public CBaseObject, public IUIDescription
{
public:
    explicit UIDescription(const CResourceDescription& xmlFile);
    ~UIDescription() override;

    // Reads the file; false for a missing, unreadable or malformed file (nothing is kept then).
    virtual bool parse();
    // Same from text in memory (tests, embedded descriptions).
    bool parseText(const std::string& xml);
    bool isParsed() const { return root != nullptr; }

    // The view tree of a template, or nullptr when there is no such template.
    CView* createView(UTF8StringPtr name, IController* controller);
    const UIAttributes* getViewAttributes(UTF8StringPtr name) const;
    std::vector<std::string> collectTemplateViewNames() const;

    void setController(IController* newController) const { controller = newController; }
    const std::string& getFilePath() const { return filePath; }

    // IUIDescription
    CBitmap* getBitmap(UTF8StringPtr name) const override;
    CFontDesc* getFont(UTF8StringPtr name) const override;
    bool getColor(UTF8StringPtr name, CColor& color) const override;
    int32_t getTagForName(UTF8StringPtr name) const override;
    IControlListener* getControlListener(UTF8StringPtr name) const override;
    IController* getController() const override { return controller; }

    struct Node
    {
        std::string name;
        UIAttributes attributes;
        std::vector<std::unique_ptr<Node>> children;
    };

private:
    // What one createView has built so far: the templates it is inside and how many views.
    struct BuildState
    {
        std::vector<const Node*> templates;
        size_t depth{0};
        size_t views{0};
    };
    CView* buildView(const Node& node, const UIAttributes* templateAttributes, BuildState& state) const;
    const Node* findSection(const std::string& name) const;
    const Node* findTemplate(const std::string& name) const;
    void collectResources();

    std::string filePath;
    std::unique_ptr<Node> root;
    mutable IController* controller{nullptr};
    mutable std::map<std::string, SharedPointer<CBitmap>> bitmaps;
    std::map<std::string, SharedPointer<CFontDesc>> fonts;
    std::map<std::string, CColor> colors;
    std::map<std::string, int32_t> tags;
    std::map<std::string, UIAttributes> bitmapAttributes;
    UIViewFactory factory;
};

} // namespace VSTGUI
