#include "uidescription.h"

#include "../lib/cviewcontainer.h"
#include "icontroller.h"

#include <expat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace VSTGUI {

namespace {
constexpr const char* kRootElement = "vstgui-ui-description";
constexpr size_t kMaxDepth = 256;
// A view tree larger than any editor has: templates that each use the next several times
// would otherwise multiply into more views than memory holds.
constexpr size_t kMaxViews = 20000;

// Builds the node tree while expat reads; deeper nesting than kMaxDepth is refused.
struct ParseState
{
    std::unique_ptr<UIDescription::Node> root;
    std::vector<UIDescription::Node*> stack;
    bool failed{false};
    XML_Parser parser{nullptr};
};

void XMLCALL startElement(void* userData, const XML_Char* name, const XML_Char** atts)
{
    auto* s = static_cast<ParseState*>(userData);
    if (s->failed)
        return;
    if (s->stack.size() >= kMaxDepth || (!s->root && std::string(name) != kRootElement))
    {
        s->failed = true;
        XML_StopParser(s->parser, XML_FALSE);
        return;
    }
    auto node = std::make_unique<UIDescription::Node>();
    node->name = name;
    for (int i = 0; atts[i] && atts[i + 1]; i += 2)
        node->attributes.setAttribute(atts[i], atts[i + 1]);
    UIDescription::Node* raw = node.get();
    if (!s->root)
        s->root = std::move(node);
    else
        s->stack.back()->children.push_back(std::move(node));
    s->stack.push_back(raw);
}

void XMLCALL endElement(void* userData, const XML_Char*)
{
    auto* s = static_cast<ParseState*>(userData);
    if (!s->stack.empty())
        s->stack.pop_back();
}

std::string directoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}
} // namespace

UIDescription::UIDescription(const CResourceDescription& xmlFile)
    : filePath(xmlFile.getName().empty() ? std::string() : resolveResourcePath(xmlFile.getName()))
{}

UIDescription::~UIDescription() = default;

bool UIDescription::parse()
{
    if (root)
        return true;
    std::ifstream in(filePath, std::ios::binary);
    if (filePath.empty() || !in)
    {
        uiDebugLog("description '" + filePath + "' not found");
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return parseText(text.str());
}

bool UIDescription::parseText(const std::string& xml)
{
    root.reset();
    ParseState state;
    state.parser = XML_ParserCreate("UTF-8");
    if (!state.parser)
        return false;
    XML_SetUserData(state.parser, &state);
    XML_SetElementHandler(state.parser, startElement, endElement);
    const bool ok =
        XML_Parse(state.parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
    if (!ok || state.failed)
    {
        std::string why = state.failed ? "not a user-interface description"
                                       : XML_ErrorString(XML_GetErrorCode(state.parser));
        uiDebugLog("description '" + filePath + "' rejected: " + why + " (line "
                   + std::to_string(XML_GetCurrentLineNumber(state.parser)) + ")");
        XML_ParserFree(state.parser);
        return false;
    }
    XML_ParserFree(state.parser);
    if (!state.root)
        return false;
    root = std::move(state.root);
    collectResources();
    return true;
}

const UIDescription::Node* UIDescription::findSection(const std::string& name) const
{
    if (!root)
        return nullptr;
    for (const auto& child : root->children)
        if (child->name == name)
            return child.get();
    return nullptr;
}

const UIDescription::Node* UIDescription::findTemplate(const std::string& name) const
{
    if (!root)
        return nullptr;
    for (const auto& child : root->children)
        if (child->name == "template")
            if (const std::string* n = child->attributes.getAttributeValue("name"); n && *n == name)
                return child.get();
    return nullptr;
}

void UIDescription::collectResources()
{
    fonts.clear();
    colors.clear();
    tags.clear();
    bitmaps.clear();
    bitmapAttributes.clear();
    for (const auto& section : root->children)
    {
        for (const auto& entry : section->children)
        {
            const std::string* name = entry->attributes.getAttributeValue("name");
            if (!name)
                continue;
            const UIAttributes& a = entry->attributes;
            if (section->name == "fonts" && entry->name == "font")
            {
                const std::string* family = a.getAttributeValue("font-name");
                double size = 12;
                a.getDoubleAttribute("size", size);
                int32_t style = kNormalFace;
                bool b = false;
                if (a.getBooleanAttribute("bold", b) && b)
                    style |= kBoldFace;
                if (a.getBooleanAttribute("italic", b) && b)
                    style |= kItalicFace;
                if (a.getBooleanAttribute("underline", b) && b)
                    style |= kUnderlineFace;
                if (a.getBooleanAttribute("strike-through", b) && b)
                    style |= kStrikethroughFace;
                fonts[*name] = makeOwned<CFontDesc>(family ? *family : std::string(), size, style);
            }
            else if (section->name == "colors" && entry->name == "color")
            {
                CColor c;
                const std::string* rgba = a.getAttributeValue("rgba");
                const std::string* rgb = a.getAttributeValue("rgb");
                if ((rgba && c.fromString(*rgba)) || (rgb && c.fromString(*rgb)))
                    colors[*name] = c;
                else
                    uiDebugLog("colour '" + *name + "' has no readable value");
            }
            else if (section->name == "control-tags" && entry->name == "control-tag")
            {
                const std::string* tag = a.getAttributeValue("tag");
                char* end = nullptr;
                const long value = tag ? std::strtol(tag->c_str(), &end, 10) : 0;
                if (tag && end != tag->c_str() && *end == 0 && value >= INT32_MIN && value <= INT32_MAX)
                    tags[*name] = static_cast<int32_t>(value);
                else
                    uiDebugLog("control tag '" + *name + "' has no integer tag");
            }
            else if (section->name == "bitmaps" && entry->name == "bitmap")
                bitmapAttributes[*name] = a;
        }
    }
}

CBitmap* UIDescription::getBitmap(UTF8StringPtr name) const
{
    if (!name)
        return nullptr;
    auto cached = bitmaps.find(name);
    if (cached != bitmaps.end())
        return cached->second;
    auto entry = bitmapAttributes.find(name);
    if (entry == bitmapAttributes.end())
    {
        uiDebugLog(std::string("bitmap '") + name + "' is not in the description");
        return nullptr;
    }
    const std::string* path = entry->second.getAttributeValue("path");
    std::string file = path ? *path : std::string();
    if (!file.empty() && file[0] != '/' && !filePath.empty())
        file = directoryOf(filePath) + "/" + file;
    SharedPointer<CBitmap> bitmap;
    CRect offsets;
    if (entry->second.getRectAttribute("nineparttiled-offsets", offsets))
        bitmap = owned<CBitmap>(new CNinePartTiledBitmap(
            CResourceDescription(file),
            CNinePartTiledDescription(offsets.left, offsets.top, offsets.right, offsets.bottom)));
    else
        bitmap = owned(new CBitmap(CResourceDescription(file)));
    if (!bitmap->isLoaded())
        uiDebugLog(std::string("bitmap '") + name + "': file '" + file
                   + "' missing or not a PNG; drawn empty");
    bitmaps[name] = bitmap;
    return bitmap;
}

CFontDesc* UIDescription::getFont(UTF8StringPtr name) const
{
    if (!name)
        return nullptr;
    auto it = fonts.find(name);
    if (it != fonts.end())
        return it->second;
    return getPredefinedFont(name);
}

bool UIDescription::getColor(UTF8StringPtr name, CColor& color) const
{
    if (!name)
        return false;
    auto it = colors.find(name);
    if (it != colors.end())
    {
        color = it->second;
        return true;
    }
    if (getPredefinedColor(name, color))
        return true;
    return color.fromString(name);
}

int32_t UIDescription::getTagForName(UTF8StringPtr name) const
{
    if (!name)
        return -1;
    auto it = tags.find(name);
    const int32_t tag = it == tags.end() ? -1 : it->second;
    return controller ? controller->getTagForName(name, tag) : tag;
}

IControlListener* UIDescription::getControlListener(UTF8StringPtr name) const
{
    return controller ? controller->getControlListener(name) : nullptr;
}

const UIAttributes* UIDescription::getViewAttributes(UTF8StringPtr name) const
{
    const Node* t = name ? findTemplate(name) : nullptr;
    return t ? &t->attributes : nullptr;
}

std::vector<std::string> UIDescription::collectTemplateViewNames() const
{
    std::vector<std::string> names;
    if (root)
        for (const auto& child : root->children)
            if (child->name == "template")
                if (const std::string* n = child->attributes.getAttributeValue("name"))
                    names.push_back(*n);
    return names;
}

CView* UIDescription::createView(UTF8StringPtr name, IController* c)
{
    const Node* t = name ? findTemplate(name) : nullptr;
    if (!t)
    {
        uiDebugLog(std::string("no template '") + (name ? name : "") + "'");
        return nullptr;
    }
    IController* saved = controller;
    controller = c;
    BuildState state;
    state.templates.push_back(t);
    CView* view = buildView(*t, nullptr, state);
    controller = saved;
    return view;
}

CView* UIDescription::buildView(const Node& node, const UIAttributes* overrides, BuildState& state) const
{
    // Nesting counts the templates a view pulls in as well as the file's own: a template that
    // uses itself, directly or through others, is refused rather than expanded without end.
    if (state.depth >= kMaxDepth || state.views >= kMaxViews)
    {
        uiDebugLog("view tree deeper or larger than an editor can have, cut short");
        return nullptr;
    }
    ++state.views;
    // A view that names a template is that template's view with the view's own attributes on top.
    UIAttributes attributes = node.attributes;
    if (overrides)
        attributes.merge(*overrides);
    const Node* templateNode = nullptr;
    if (const std::string* templateName = node.attributes.getAttributeValue("template");
        templateName && node.name == "view")
    {
        templateNode = findTemplate(*templateName);
        if (!templateNode)
        {
            uiDebugLog("view names the missing template '" + *templateName + "', skipped");
            return nullptr;
        }
        if (std::find(state.templates.begin(), state.templates.end(), templateNode) != state.templates.end())
        {
            uiDebugLog("template '" + *templateName + "' uses itself, skipped");
            return nullptr;
        }
        UIAttributes merged = templateNode->attributes;
        merged.merge(attributes);
        merged.removeAttribute("template");
        attributes = merged;
    }

    IController* parentController = controller;
    IController* subController = nullptr;
    if (const std::string* sub = attributes.getAttributeValue("sub-controller");
        sub && !sub->empty() && controller)
    {
        subController = controller->createSubController(sub->c_str(), this);
        if (subController)
            controller = subController;
    }

    CView* view = nullptr;
    if (const std::string* custom = attributes.getAttributeValue("custom-view-name");
        custom && !custom->empty() && controller)
    {
        view = controller->createView(attributes, this);
        if (view)
            factory.applyAttributeValues(view, attributes, this);
    }
    if (!view)
        view = factory.createView(attributes, this);

    if (view)
    {
        if (auto container = dynamic_cast<CViewContainer*>(view))
        {
            ++state.depth;
            auto addChildren = [&](const Node& parent) {
                for (const auto& child : parent.children)
                    if (child->name == "view")
                        if (CView* childView = buildView(*child, nullptr, state))
                            container->addView(childView);
            };
            if (templateNode)
            {
                state.templates.push_back(templateNode);
                addChildren(*templateNode);
                state.templates.pop_back();
            }
            addChildren(node);
            --state.depth;
        }
        if (controller)
            view = controller->verifyView(view, attributes, this);
    }
    controller = parentController;
    if (subController)
    {
        if (view)
            view->setOwnedController(subController);
        else if (auto ref = dynamic_cast<IReference*>(subController))
            ref->forget();
        else
            delete subController;
    }
    return view;
}

} // namespace VSTGUI
