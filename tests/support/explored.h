#pragma once

#include "exploration_runner.h"

// What the exploration window shows for an input once it is done: the window's own stages,
// computed here through to the exact plan at `planResolution` points a side.
inline explore::Exploration Explored(const explore::ExplorationInput &input, int planResolution)
{
    explore::Exploration last;
    const auto keep = [&last](std::shared_ptr<const explore::Exploration> stage, bool) {
        if (stage)
            last = *stage;
    };
    explore::ComputeExploration(
        input, planResolution, [] { return false; }, keep);
    return last;
}
