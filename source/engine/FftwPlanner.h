// The lock around FFTW's planner. FFTW makes and destroys plans through process-wide state
// (its wisdom and its table of solvers), so every plan made or destroyed anywhere in the
// process, by the engine or by a tool, is made under this one mutex; running a finished plan
// needs no lock. Main thread only: the audio thread never plans.
#pragma once

#include <mutex>

std::mutex& fftwPlannerMutex();
