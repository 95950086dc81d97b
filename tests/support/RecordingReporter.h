// A failure reporter that remembers what it was asked to show, for testing the JSON operations natively.
#pragma once

#include "json/JsonIntake.h"

#include <string>
#include <utility>
#include <vector>

namespace vivu::test {

class RecordingReporter : public FailureReporter {
public:
    std::vector<std::pair<std::string, std::string>> shown; // text, title
    void ShowFailure(const std::string& text, const std::string& title) override { shown.emplace_back(text, title); }
};

} // namespace vivu::test
