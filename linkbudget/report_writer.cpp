#include "linkbudget/report_writer.h"

#include "framework/app/config_files.h"
#include "framework/app/orbiscope.h"

namespace lbreport {

const char* PolarizationName(const char* text)
{
    switch (text[0]) {
    case 'V': return "Vertical";
    case 'H': return "Horizontal";
    case 'C': return "Circular";
    default: return "";
    }
}

void WriteReportHeading(ReportWriter& line, TOrbiscope* app, const char* title)
{
    line("%s", title);
    std::string company;
    if (app) {
        SetUpRecord setup;
        setup.bytes = app->SetUpRecord;
        company = setup.Company();
    }
    line("%s~", company.c_str());
    line("%s", app ? app->FormatDate(false) : "");
}

}  // namespace lbreport
