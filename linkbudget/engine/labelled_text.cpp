#include "linkbudget/engine/labelled_text.h"

std::string LabelledText(const std::vector<LabelledValue>& values)
{
    std::string text;
    for (const LabelledValue& v : values) text += v.label + '\t' + v.value + '\n';
    return text;
}
