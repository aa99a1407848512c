// The results export of a calculated GEO budget: the values of its report in
// the report's order, named for programs that read them.  (The inputs export
// names the record's fields by the dialog's layout: FormLayout::FieldValues.)
// Free of Qt.
#pragma once

#include <string_view>
#include <vector>

#include "linkbudget/engine/labelled_text.h"

// The results of a budget report: every value of every section after the
// three sections that echo the inputs.  A row's label is qualified by its
// section ("Uplink Calculation: C/N (thermal)") and, where the row has more
// than one value, by its column ("... (Rain Up)"); a row with one value
// takes no column.  Units stay in the report.
std::vector<LabelledValue> ReportResults(std::string_view report, int lineCount);
