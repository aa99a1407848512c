// What the look-angles and dual-feed windows share: an input record edited
// by one dialog, saved whole after its version word, and read back from any
// version into a fresh record, checked silently and calculated, or handed to
// the dialog when a field fails its check.
#pragma once

#include <cstdint>

#include "framework/app/orbiscope.h"
#include "framework/output/mywindow.h"
#include "platform/command.h"
#include "platform/dialog.h"

// Traits: Record, Form (a TForm on a Record& with ValidateFields), and
//   static constexpr int kWindowType, kEditCommand; std::uint16_t kVersion;
//   static constexpr const char* kFilter, kExtension;
//   static bool Read(const char* fileName, Record& r).
template <class Traits>
class TAlignmentDocumentWin : public TMyWindow {
public:
    using InputRecord = typename Traits::Record;
    using Form = typename Traits::Form;
    static constexpr int kWindowType = Traits::kWindowType;
    static constexpr int kEditCommand = Traits::kEditCommand;

    TAlignmentDocumentWin(QWidget* parent, const char* title, const char* fileName, const InputRecord& start)
        : TMyWindow(parent, title, fileName), record_(start)
    {
        TabStops = {300, 400};
        SetHandler(kEditCommand, [this] { CmEditInputs(); });
        SetEnabler(kEditCommand, [] { return true; });
    }

    void SetupWindow() override
    {
        TMyWindow::SetupWindow();
        FileData.filter = Traits::kFilter;
        FileData.defaultExt = Traits::kExtension;
        FileData.overwritePrompt = true;
        if (HasFileName()) OpenDocument(true);
    }

    void EvSetFocus() override
    {
        if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
        TMyWindow::EvSetFocus();
    }

    // The edit command: the dialog on the record; OK recalculates.
    void CmEditInputs()
    {
        Form form(this, record_);
        RunInputForm(form, KeptTyping, [this] { return Recalculate(); });
    }

    // The report from the record; a calculation that cannot be made shows
    // its message and leaves the previous report as it was (false).
    virtual bool Recalculate() = 0;

    bool SaveFile(const char* fileName) override
    {
        return WriteDocument(fileName, Traits::kVersion, &record_, sizeof record_);
    }

    bool LoadFile(const char* fileName) override
    {
        InputRecord r;
        if (!Traits::Read(fileName, r)) return false;
        record_ = r;
        KeptTyping.clear();
        bool valid = false;
        {
            Form form(this, record_);
            form.SetSilent(true);
            valid = form.ValidateFields(record_);
        }
        if (valid)
            Recalculate();
        else
            platform::PostCommand(this, kEditCommand);
        return true;
    }

    InputRecord& Record() { return record_; }
    // What the last cancelled or refused edit typed: the next edit shows
    // it, but the record that is calculated and saved keeps the values of
    // the report on screen.
    CancelledTyping KeptTyping;

protected:
    InputRecord record_;
};
