// The reports of the look-angles and dual-feed windows, written line by line
// into any report buffer.  The input texts are shown as typed.  Free of Qt.
#pragma once

#include "framework/output/report_writer.h"
#include "pointing/alignment/dual_feed.h"
#include "pointing/alignment/look_angles.h"

inline constexpr const char* kAlignmentReportTitle = "Antenna Alignment";
inline constexpr const char* kDualFeedReportTitle = "Dual Feed Spacing";

void WriteAlignmentReport(ReportWriter& line, const ReportHeading& heading, const LookAngleInputRecord& record,
                          const AlignmentInputs& inputs, const AlignmentResult& result);

void WriteDualFeedReport(ReportWriter& line, const ReportHeading& heading, const DualFeedInputRecord& record,
                         const DualFeedResult& result);
