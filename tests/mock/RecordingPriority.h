#pragma once
// Records the priority choices applied, in order, instead of changing the test process's scheduling.
#include "platform/ProcessPriority.h"

#include <vector>

namespace tarvel::mock {

class RecordingPriority : public platform::ProcessPriority {
public:
    void apply(int choice) override { choices.push_back(choice); }
    std::vector<int> choices;
};

} // namespace tarvel::mock
