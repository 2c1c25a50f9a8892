// The process's one planner lock (see the header).
#include "engine/FftwPlanner.h"

std::mutex& fftwPlannerMutex()
{
    static std::mutex mutex;
    return mutex;
}
