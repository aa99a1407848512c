// "Comparison of Digital Modulation Schemes": the uncoded Eb/No that BPSK,
// M-PSK and M-QAM need for one target bit error rate, with their bandwidth
// efficiency.  Free of Qt.
#pragma once

#include "rftools/tables/table_records.h"
#include "rftools/tables/table_text.h"

namespace orbiscope::tables {

TableText ModulationTable(const BerRecord& record, const ReportHeading& heading);

}  // namespace orbiscope::tables
