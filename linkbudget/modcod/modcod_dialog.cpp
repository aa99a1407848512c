#include "linkbudget/modcod/modcod_dialog.h"

#include <QAbstractButton>
#include <QListWidget>

#include "framework/app/orbiscope.h"
#include "framework/forms/control_table.h"
#include "framework/forms/form_controls.h"

using platform::ControlSpec;

namespace {

constexpr HintEntry kListHint[] = {{TGetModcodDlg::kList, 0, "Select Modcod from the list box"}};

// The list and its options; nothing of this dialog transfers: OK leaves
// the choice in the selection.
std::vector<ControlSpec> ModcodControls()
{
    using platform::ControlKind;
    using D = TGetModcodDlg;
    std::vector<ControlSpec> table = {
        controls::List(D::kList, 10, 10, 260, 300),
        controls::Check(D::kPilots, "Pilots active", 285, 10, 170),
        controls::Radio(D::kNormalFrames, "Normal frames", 285, 45, 170),
        controls::Radio(D::kMediumFrames, "Medium frames", 285, 70, 170),
        controls::Radio(D::kShortFrames, "Short frames", 285, 95, 170),
        controls::Control(ControlKind::Static, D::kOptionalNote, "* denotes optional S2 modcods (S2-X)", 285, 130, 170,
                          40),
        controls::Control(ControlKind::Static, D::kNote, "", 285, 175, 170, controls::kLabelHeight),
        controls::Button(platform::IDOK, "OK", 30, 320, 75),
        controls::Button(platform::IDCANCEL, "Cancel", 115, 320, 75),
        controls::Button(platform::IDHELP, "Help", 200, 320, 75),
    };
    for (ControlSpec& c : table) c.transfer = false;
    return table;
}

}  // namespace

TGetModcodDlg::TGetModcodDlg(QWidget* parent, int standard)
    : TForm(parent, kResourceId, "Select Modcod", ModcodControls()),
      selection_(App() ? App()->SelectedModcod : ownSelection_),
      standard_(standard)
{
    const ModcodSelection& s = selection_;
    pilots_ = s.pilots != 0;
    frameSize_ = s.frameSize;
    (new TMyListBox(this, kList))->SetHints(kListHint);
    new TPilotsCheckBox(this, kPilots);
    for (int id : {kNormalFrames, kMediumFrames, kShortFrames}) new TFrameRadioButton(this, id);

    SetHandler(kPilots, [this] { CmPilots(); });
    SetHandler(kNormalFrames, [this] { CmFrame(modcod::kNormal); });
    SetHandler(kMediumFrames, [this] { CmFrame(modcod::kMedium); });
    SetHandler(kShortFrames, [this] { CmFrame(modcod::kShort); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
    for (int id : {int(kPilots), int(kNormalFrames), int(kMediumFrames), int(kShortFrames)})
        if (auto* b = qobject_cast<QAbstractButton*>(Control(id)))
            QObject::connect(b, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
    if (auto* list = qobject_cast<QListWidget*>(Control(kList))) {
        QObject::connect(list, &QListWidget::currentRowChanged, this, [this] { CmSelectionChanged(); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, this, [this] { CmDoubleClick(); });
    }
}

void TGetModcodDlg::SetupWindow()
{
    TForm::SetupWindow();
    ModcodSelection& s = selection_;
    row_ = modcod::RememberedRow(s, standard_, frameSize_);
    if (standard_ != modcod::kDvbs) {
        SetCheck(kPilots, pilots_ ? 1 : 0);
        const bool ns = standard_ != modcod::kDvbs2;
        const int frame = ns && frameSize_ == modcod::kMedium ? modcod::kNormal : frameSize_;
        SetCheck(kNormalFrames, frame == modcod::kNormal);
        SetCheck(kMediumFrames, frame == modcod::kMedium);
        SetCheck(kShortFrames, frame == modcod::kShort);
    }
    SelectStandard();
}

void TGetModcodDlg::SelectStandard()
{
    filling_ = true;
    ListClear(kList);
    const auto show = [this](int id, bool on) {
        EnableControl(id, on);
        if (QWidget* w = Control(id)) w->setVisible(on);
    };
    const char* caption = "Select Modcod - DVBS";
    if (standard_ == modcod::kDvbs) {
        for (int id : {kPilots, kNormalFrames, kMediumFrames, kShortFrames, kNote, kOptionalNote}) show(id, false);
    } else if (standard_ == modcod::kDvbs2) {
        for (int id : {kPilots, kNormalFrames, kMediumFrames, kShortFrames, kNote, kOptionalNote}) show(id, true);
        caption = "Select Modcod - DVBS2";
    } else {
        for (int id : {kPilots, kNote, kNormalFrames, kShortFrames}) show(id, true);
        for (int id : {kMediumFrames, kOptionalNote}) show(id, false);
        caption = standard_ == modcod::kNs3 ? "Select Modcod - NS3" : "Select Modcod - NS4";
    }
    setWindowTitle(caption);
    const auto names = modcod::ListNames(standard_, frameSize_);
    for (const char* name : names) ListAddString(kList, name);
    if (row_ < 0 || std::size_t(row_) >= names.size()) row_ = 0;
    ListSetSelIndex(kList, row_);
    filling_ = false;
}

void TGetModcodDlg::CmPilots()
{
    pilots_ = GetCheck(kPilots) != 0;
    selection_.pilots = pilots_ ? 1 : 0;
}

void TGetModcodDlg::CmFrame(int frameSize)
{
    frameSize_ = frameSize;
    ModcodSelection& s = selection_;
    s.frameSize = frameSize;
    row_ = modcod::RememberedRow(s, standard_, frameSize_);
    SelectStandard();
}

void TGetModcodDlg::CmSelectionChanged()
{
    if (filling_) return;
    // A list that has lost its selection keeps the last row chosen, so OK
    // always confirms a row of the table shown.
    const int index = ListSelIndex(kList);
    if (index >= 0) row_ = index;
}

void TGetModcodDlg::CmDoubleClick()
{
    CmSelectionChanged();
    QMetaObject::invokeMethod(this, [this] { OnButton(platform::IDOK); }, Qt::QueuedConnection);
}

bool TGetModcodDlg::CanClose()
{
    modcod::Confirm(selection_, standard_, row_);
    return true;
}
