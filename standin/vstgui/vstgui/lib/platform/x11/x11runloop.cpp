#include "x11runloop.h"

#include <utility>
#include <vector>

namespace VSTGUI {
namespace X11 {

namespace {
// Open editors' loops, oldest first, each with the number of its opening.
std::vector<std::pair<IRunLoop*, uint64_t>>& openLoops()
{
    static std::vector<std::pair<IRunLoop*, uint64_t>> loops;
    return loops;
}
uint64_t nextOpening = 1;
// The loops of the panels whose code is running, innermost last.
std::vector<IRunLoop*>& currentLoops()
{
    static std::vector<IRunLoop*> loops;
    return loops;
}
} // namespace

void RunLoop::init(IRunLoop* runLoop)
{
    if (runLoop)
        openLoops().emplace_back(runLoop, nextOpening++);
}

void RunLoop::exit(IRunLoop* runLoop)
{
    auto& loops = openLoops();
    for (auto it = loops.end(); it != loops.begin();)
        if ((--it)->first == runLoop)
        {
            loops.erase(it);
            return;
        }
}

IRunLoop* RunLoop::get()
{
    // A current loop counts only while it is open.
    const auto& current = currentLoops();
    for (auto it = current.rbegin(); it != current.rend(); ++it)
        if (openingOf(*it) != 0)
            return *it;
    return openLoops().empty() ? nullptr : openLoops().back().first;
}

uint64_t RunLoop::openingOf(IRunLoop* runLoop)
{
    const auto& loops = openLoops();
    for (auto it = loops.rbegin(); it != loops.rend(); ++it)
        if (it->first == runLoop)
            return it->second;
    return 0;
}

RunLoop::Scope::Scope(IRunLoop* runLoop) { currentLoops().push_back(runLoop); }

RunLoop::Scope::~Scope() { currentLoops().pop_back(); }

} // namespace X11
} // namespace VSTGUI
