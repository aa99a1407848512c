// TOrbiscope: the application object.  It owns the frame, the state shared by
// windows and dialogs, the recent-files list, help and the start-up and
// shut-down order.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <QRect>

#include "framework/app/config_files.h"
#include "framework/app/dde.h"
#include "framework/forms/modcod_selection.h"
#include "platform/filedialog.h"
#include "platform/mdi.h"
#include "platform/printer.h"
#include "platform/registry.h"
#include "platform/single_instance.h"

class TOrbiscopeMDIClient;
class CalculationNotifier;
class QToolBar;

inline constexpr int kFormValueBytes = 5980;
inline constexpr int kSetUpRecordBytes = 142;

class TOrbiscope : public platform::Application {
public:
    TOrbiscope();
    ~TOrbiscope() override;

    static TOrbiscope* Current();

    // Start-up after construction and the single-instance check.  When a map
    // failed, nothing more is set up and the loop's quit is posted.
    void InitMainWindow();
    bool StartFailed() const { return startFailed_; }
    void SetupToolbar();
    bool CanClose() override;
    bool ProcessAppMsg(QKeyEvent* event) override;
    void DropFiles(const std::vector<std::string>& files) override;
    void OpenDroppedFiles(const std::vector<std::string>& files);

    void SetProgramDir();
    void ShowHelp(int contextId);
    // F1 in a field: the page of the form's topic at the field's entry.
    void ShowFieldHelp(int topic, int controlId);
    void CmHelpContents();
    void CmHelpAbout();
    void CmMruFile(int index);
    const char* FormatDate(bool withTime);

    void AddRecentFile(const std::string& fileName);
    platform::RecentFiles& Recent() { return recent_; }
    void RebuildRecentFilesMenu();

    // Later start: asks the first instance to raise its window.
    static platform::HandOver ActivatePreviousInstance(int connectMs = platform::SingleInstance::kConnectTimeoutMs,
                                                       int answerMs = platform::SingleInstance::kAnswerTimeoutMs);
    // Tries the single-instance lock; the first instance listens from here on.
    // A start for the print verb ends once it has printed: its end begins as
    // soon as it holds the lock, so that it tells no later start its file was
    // taken, and they try again until one of them becomes the first instance.
    platform::InstanceRole BecomeFirstInstance(bool forPrint = false);
    // Lines from the single-instance socket are handled from here on: called
    // once start-up is over, just before the main loop runs.
    void StartServingSocket();
    // The program's end has begun (its close is asked, or it is a print
    // start): no later start is told its file was taken from now on, unless
    // the close is called off.
    void BeginEnding();
    // The socket's last word once the loop has ended: every file a later
    // start was told was taken is handled, nothing more is taken, and the
    // lock goes.
    void FinishServing();
    const platform::SingleInstance* Instance() const { return instance_.get(); }

    // DDE server (dde.cpp).  The callback finds the application through
    // Current(); string1 is the topic, string2 the service.
    bool InitDdeServer();
    void ShutdownDdeServer();
    static std::uintptr_t DdeServerCallback(orbiscope::DdeTransaction type, unsigned format,
                                            std::uintptr_t conversation, std::string_view string1,
                                            std::string_view string2, std::string_view data, std::uintptr_t data1,
                                            std::uintptr_t data2);
    // One conversation received on the single-instance socket.
    void ReceiveDdeMessage(std::string_view line);

    // Command line and document-type registration (shell_registration.cpp).
    void ProcessCmdLine(const std::vector<std::string>& arguments);
    void RegisterExtensions();
    void UnregisterExtensions();
    void RegisterDocClasses(int classNumber, const char* extension);
    void UnregisterDocClasses(int classNumber, const char* extension);

    // Configuration files, read when the client is set up and written at
    // shut-down.  The reads and their notices are hook points for the
    // configuration part of the framework; each returns whether it succeeded.
    virtual bool WriteFormValueFile();                     // "orbisco.dat"
    void RestorePlacement();                               // "orbisco.ini"
    bool SavePlacement();

    // Set-up record options (16-bit words at 138 and 140).
    bool SaveDialogValuesOnExit() const;
    bool RestrictPolarization() const;
    std::span<std::uint8_t> FormRecord(int record);  // 1-based
    static int FormRecordOffset(int record);

    TOrbiscopeMDIClient* Client() const { return client_; }

    // ---- shared state (the fields the windows and dialogs reach) ----
    bool HelpOpened = false;
    platform::FileDialogData FileData;   // File Open; its name is CurrentFileName
    std::string& CurrentFileName = FileData.fileName;
    std::string ProgramDir;              // ends in '/'
    std::int32_t PendingWindowType = 0;
    bool ViewPainted = false;
    std::unique_ptr<platform::Printer> Printer;  // created by the first print job
    bool Printing = false;               // a printout is rendering: Paint draws a page
    int PrintPage = 1;                   // page being printed (printout)
    std::int32_t GraphPrintLayout = 0;   // nonzero: a printed graph takes the page's layout
    bool PlotPainted = false;            // the graph window's last Paint drew a plot
    bool PicturePainted = false;         // the image window's last Paint drew a picture
    std::array<std::uint8_t, kSetUpRecordBytes> SetUpRecord{};
    char PickedSiteName[41] = {};
    char PickedSiteLatitude[13] = {};
    char PickedSiteLongitude[13] = {};
    char PickedSiteAltitude[13] = {};
    char PickedSatName[41] = {};
    char PickedSatLongitude[13] = {};
    ModcodSelection SelectedModcod;      // left by the "Select Modcod" dialog on OK
    std::string SelectedCountryFile;
    std::string CurrentCountryFile;
    int LastFocusedEntry = 0;
    char HintText[1024] = {};
    char DateText[86] = {};
    std::array<std::uint8_t, kFormValueBytes> FormValueTable{};
    std::string DefaultCountryFile;
    std::uint32_t DdeInstance = 0;       // 0 when the server is not started
    std::string DdeServiceHandle;
    std::string DdeTopicHandle;

private:
    void ApplyDefaultButtonStates();

    platform::RecentFiles recent_;
    TOrbiscopeMDIClient* client_ = nullptr;
    platform::MdiFrame* frame_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    std::unique_ptr<platform::SingleInstance> instance_;
    std::unique_ptr<CalculationNotifier> notifier_;
    CalculationNotifier* previousNotifier_ = nullptr;
    std::vector<QAction*> mruActions_;
    bool startFailed_ = false;
};

// A window's inside rectangle placed so that the whole window, the frame the
// window system draws around it included, lies on the available area of its
// screen, as a restored placement must: moved in where it lies beyond an
// edge, and narrowed or shortened only where it is larger than the area.
QRect KeepOnScreen(const QRect& inside, const QMargins& frame, const QRect& available);

// The exit status of a program that could not start: a map failed, or a
// later start could not hand its request to the first.
inline constexpr int kExitStartFailed = 1;

// The program: QApplication, single instance, main window, message loop.
int OwlMain(int argc, char* argv[]);
