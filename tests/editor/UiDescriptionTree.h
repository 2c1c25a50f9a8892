// An editor description read as a plain element tree, so tests can check what the file says
// independently of the toolkit that builds views from it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace EditorTest {

struct UiElement
{
    std::string name;
    std::map<std::string, std::string> attributes;
    std::vector<std::unique_ptr<UiElement>> children;

    // The attribute's value, or nullptr when the element does not carry it.
    const std::string* attribute(const std::string& key) const;
    // Direct children of one element name, in file order.
    std::vector<const UiElement*> childrenNamed(const std::string& element) const;
};

// Parses the file; nullptr (and `error` set) when it is missing or not well-formed XML.
std::unique_ptr<UiElement> readUiDescription(const std::string& path, std::string& error);

} // namespace EditorTest
