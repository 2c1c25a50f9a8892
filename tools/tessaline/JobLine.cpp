#include "JobLine.h"

#include <cstring>

namespace TessalineTool {

bool splitJobLine(const std::string& line, std::vector<std::string>& words, std::string& error)
{
    words.clear();
    std::string word;
    bool inWord = false;
    for (size_t i = 0; i < line.size(); ++i)
    {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
        {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        }
        else if (c == '#' && !inWord)
            break;
        else if (c == '\\')
        {
            if (++i == line.size())
            {
                error = "the line ends in a backslash";
                return false;
            }
            word += line[i];
            inWord = true;
        }
        else if (c == '\'' || c == '"')
        {
            const size_t close = line.find(c, i + 1);
            size_t end = i + 1;
            for (; end < line.size() && line[end] != c; ++end)
            {
                if (c == '"' && line[end] == '\\' && end + 1 < line.size()
                    && std::strchr("\"\\$`", line[end + 1]) != nullptr)
                    ++end;
                word += line[end];
            }
            if (close == std::string::npos || end >= line.size())
            {
                error = std::string("a ") + (c == '"' ? "double" : "single") + " quote is not closed";
                return false;
            }
            i = end;
            inWord = true;
        }
        else
        {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return true;
}

} // namespace TessalineTool
