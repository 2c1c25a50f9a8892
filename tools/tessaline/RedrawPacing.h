// When a progress line on a terminal may be drawn: not before a render has run a moment (short
// ones show none), then at most ten times a second.
#pragma once

#include <chrono>

namespace TessalineTool {

class RedrawPacing
{
public:
    using Clock = std::chrono::steady_clock;

    // True when a line may be drawn at `now` (`shown`: one is on the terminal already); a true
    // answer counts as a drawing.
    bool due(Clock::time_point now, bool shown)
    {
        if (now - started < kQuietStart || (shown && now - lastDrawn < kRedrawInterval))
            return false;
        lastDrawn = now;
        return true;
    }
    Clock::time_point start() const { return started; }

private:
    static constexpr auto kQuietStart = std::chrono::milliseconds(400);
    static constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

    Clock::time_point started = Clock::now();
    Clock::time_point lastDrawn = started;
};

} // namespace TessalineTool
