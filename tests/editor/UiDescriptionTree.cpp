#include "UiDescriptionTree.h"

#include <expat.h>

#include <fstream>
#include <sstream>

namespace EditorTest {

const std::string* UiElement::attribute(const std::string& key) const
{
    auto it = attributes.find(key);
    return it == attributes.end() ? nullptr : &it->second;
}

std::vector<const UiElement*> UiElement::childrenNamed(const std::string& element) const
{
    std::vector<const UiElement*> found;
    for (const auto& child : children)
        if (child->name == element)
            found.push_back(child.get());
    return found;
}

namespace {

struct ParseState
{
    std::unique_ptr<UiElement> root;
    std::vector<UiElement*> open;
};

void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char** attrs)
{
    auto* state = static_cast<ParseState*>(data);
    auto element = std::make_unique<UiElement>();
    element->name = name;
    for (int i = 0; attrs[i]; i += 2)
        element->attributes[attrs[i]] = attrs[i + 1];
    UiElement* raw = element.get();
    if (state->open.empty())
        state->root = std::move(element);
    else
        state->open.back()->children.push_back(std::move(element));
    state->open.push_back(raw);
}

void XMLCALL endElement(void* data, const XML_Char*) { static_cast<ParseState*>(data)->open.pop_back(); }

} // namespace

std::unique_ptr<UiElement> readUiDescription(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        error = "cannot open " + path;
        return nullptr;
    }
    std::stringstream text;
    text << in.rdbuf();
    const std::string bytes = text.str();

    ParseState state;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, startElement, endElement);
    const bool ok = XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), 1) != XML_STATUS_ERROR;
    if (!ok)
        error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line "
                + std::to_string(XML_GetCurrentLineNumber(parser));
    XML_ParserFree(parser);
    return ok ? std::move(state.root) : nullptr;
}

} // namespace EditorTest
