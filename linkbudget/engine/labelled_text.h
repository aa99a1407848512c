// Values with their names, written as lines of "label<TAB>value": the form
// in which a budget hands its inputs or results to other programs.  Free of
// Qt.
#pragma once

#include <string>
#include <vector>

struct LabelledValue {
    std::string label;
    std::string value;
};

// Each pair on a line of its own, ended by a line feed, bytes as they are.
std::string LabelledText(const std::vector<LabelledValue>& values);
