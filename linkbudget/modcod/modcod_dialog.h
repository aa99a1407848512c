// TGetModcodDlg: "Select Modcod" (dialog 652), the list of one standard's
// modcods with the frame size and pilots where the standard has them.  OK
// leaves the choice in the application's SelectedModcod (a dialog made
// without an application keeps it in a selection of its own).
#pragma once

#include "framework/forms/form.h"
#include "linkbudget/modcod/modcod.h"

class TGetModcodDlg : public TForm {
public:
    static constexpr int kResourceId = 652;
    enum ControlId : int {
        kList = 653, kPilots = 239, kNormalFrames = 246, kMediumFrames = 244, kShortFrames = 240,
        kOptionalNote = 248, kNote = 247,
    };

    // standard: 0 DVB-S, 1 DVB-S2 and its extensions, 2 NS3, 3 NS4.
    TGetModcodDlg(QWidget* parent, int standard);

    void SetupWindow() override;
    bool CanClose() override;

    void SelectStandard();
    void CmPilots();
    void CmFrame(int frameSize);
    void CmSelectionChanged();
    void CmDoubleClick();

    int Standard() const { return standard_; }
    int CurrentRow() const { return row_; }
    int FrameSize() const { return frameSize_; }
    // The selection the dialog fills: the application's, or its own.
    const ModcodSelection& Selection() const { return selection_; }

private:
    ModcodSelection ownSelection_;
    ModcodSelection& selection_;
    int standard_;
    int row_ = 0;
    bool pilots_;
    int frameSize_;
    bool filling_ = false;
};
