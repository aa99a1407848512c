#include "framework/databases/window_shared.h"

#include <QListWidget>

#include "framework/app/config_files.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/output/mywindow.h"
#include "platform/dialog.h"

namespace databases {

void UseDatabaseFonts(TMyWindow& window)
{
    window.HeadingFont = platform::FontDesc{14, 700, "Courier New"};
    window.BodyFont = platform::FontDesc{12, 300, "Courier New"};
}

void DisableReportOutput(TMyWindow& window)
{
    using namespace orbiscope;
    for (int id : {int(CM_SAVETABBED), int(CM_SAVEHTML), int(CM_FILEPRINT), int(CM_FILEPRINTERSETUP),
                   int(CM_FILEPRINTPREVIEW), int(CM_EDITCOPY)})
        window.SetEnabler(id, [] { return false; });
}

void AddCompanyHeading(TMyWindow& window)
{
    std::string line;
    if (TOrbiscope* app = TOrbiscope::Current()) {
        SetUpRecord record;
        record.bytes = app->SetUpRecord;
        line = record.Company();
    }
    line += '~';
    window.AddLine(line.c_str());
}

void SetTabStops(TMyWindow& window, std::initializer_list<int> characters)
{
    const int width = std::max(1, platform::AverageCharWidthOf(platform::MakeFont(window.BodyFont), window.viewport()));
    window.AverageCharWidth = width;
    window.TabStops.clear();
    for (int c : characters) window.TabStops.push_back(c * width);
}

void ConnectList(platform::Dialog& dialog, int listId, std::function<void(int)> selected,
                 std::function<void(int)> doubleClicked)
{
    auto* list = qobject_cast<QListWidget*>(dialog.Control(listId));
    if (!list) return;
    QObject::connect(list, &QListWidget::currentRowChanged, &dialog, [selected](int row) {
        if (row >= 0 && selected) selected(row);
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, [list, doubleClicked](QListWidgetItem* item) {
        const int row = list->row(item);
        if (row >= 0 && doubleClicked) doubleClicked(row);
    });
}

ListFill::ListFill(platform::Dialog& dialog, int listId) : dialog_(dialog), listId_(listId), wasBlocked_(false)
{
    if (QWidget* list = dialog_.Control(listId_)) wasBlocked_ = list->blockSignals(true);
    dialog_.ListClear(listId_);
}

ListFill::~ListFill()
{
    if (QWidget* list = dialog_.Control(listId_)) list->blockSignals(wasBlocked_);
}

}  // namespace databases
