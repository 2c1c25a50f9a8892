#include "x11runloop.h"

#include <vector>

namespace VSTGUI {
namespace X11 {

namespace {
// Open editors push their run loop; the innermost one serves new registrations.
std::vector<IRunLoop*>& runLoops()
{
    static std::vector<IRunLoop*> loops;
    return loops;
}
} // namespace

void RunLoop::init(IRunLoop* runLoop)
{
    if (runLoop)
        runLoops().push_back(runLoop);
}

void RunLoop::exit(IRunLoop* runLoop)
{
    auto& loops = runLoops();
    for (auto it = loops.end(); it != loops.begin();)
        if (*--it == runLoop)
        {
            loops.erase(it);
            return;
        }
}

IRunLoop* RunLoop::get() { return runLoops().empty() ? nullptr : runLoops().back(); }

} // namespace X11
} // namespace VSTGUI
