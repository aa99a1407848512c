#include "framework/output/window_report.h"

#include "framework/app/config_files.h"
#include "framework/app/orbiscope.h"

ReportHeading ReportHeadingOf(TOrbiscope* app)
{
    ReportHeading heading;
    if (!app) return heading;
    SetUpRecord setup;
    setup.bytes = app->SetUpRecord;
    heading.company = setup.Company();
    heading.date = app->FormatDate(false);
    return heading;
}
