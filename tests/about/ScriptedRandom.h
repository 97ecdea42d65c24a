// SPDX-License-Identifier: MIT
#pragma once

#include "about/ProgramRandom.h"

#include <deque>
#include <memory>
#include <vector>

// A random source that answers from a queue (0 once it is empty) and records the range of every draw.
struct ScriptedRandom {
    struct State {
        std::deque<int> answers;
        std::vector<int> ranges;
    };
    std::shared_ptr<State> state = std::make_shared<State>();

    TRandomSource Source() const {
        return [state = state](int range) {
            state->ranges.push_back(range);
            if (state->answers.empty())
                return 0;
            const int answer = state->answers.front();
            state->answers.pop_front();
            return answer;
        };
    }
    void Answer(std::initializer_list<int> values) { state->answers.insert(state->answers.end(), values); }
    const std::vector<int>& Ranges() const { return state->ranges; }
};
