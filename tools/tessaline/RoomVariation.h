// Rooms varied over a corpus: "--vary PARAM=LOW:HIGH" draws a number evenly from LOW to HIGH,
// "--vary PARAM=A,B,C" one of the entries. Every output's draw comes from its own generator,
// seeded with the seed and the output's name, so an output gets the same room whatever the order
// of the batch, the number of jobs or the share of a list one machine takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TessalineTool {

class PluginSession;

class RoomVariation
{
public:
    // Adds one "PARAM=LOW:HIGH" or "PARAM=A,B,C"; false with a message when it is neither.
    bool add(const std::string& text, std::string& error);
    bool empty() const { return ranges.empty(); }

    // Learns from the plug-in which parameters take whole numbers only (switches such as Decay
    // Type or Bypass draw one of them, never a fraction); false with a message for a range over a
    // list parameter, a parameter varied twice, or what check() refuses.
    bool learn(PluginSession& session, std::string& error);

    // False with a message when the plug-in does not accept a bound or an entry.
    bool check(PluginSession& session, std::string& error) const;

    // The settings ("PARAM=VALUE", in the order given) drawn for the output of that name.
    std::vector<std::string> draw(uint64_t seed, const std::string& outputName) const;

private:
    struct Range
    {
        std::string title;
        bool numeric = false;
        double low = 0.0;
        double high = 0.0;
        std::vector<std::string> entries; // when not numeric
        bool whole = false;               // numeric, drawn from the whole numbers LOW..HIGH
    };
    std::vector<Range> ranges;
};

} // namespace TessalineTool
