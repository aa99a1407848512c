// The MDI client: creates the document windows by window type, opens files by
// extension, and dispatches the File, Edit, Map, Graph, Table and Calculate
// menus.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "framework/output/mywindow.h"
#include "platform/mdi.h"
#include "propagation/itu_maps.h"

class TOrbiscope;

class TOrbiscopeMDIChild : public platform::MdiChild {
public:
    TOrbiscopeMDIChild(platform::MdiClient* client, const std::string& title, TMyWindow* window)
        : platform::MdiChild(client, title, window) {}
    TMyWindow* Document() const { return static_cast<TMyWindow*>(ClientWindow()); }
};

class TOrbiscopeMDIClient : public platform::MdiClient {
public:
    explicit TOrbiscopeMDIClient(TOrbiscope* app);
    ~TOrbiscopeMDIClient() override;

    // The ITU-R map loader (a seam: tests install a stand-in or switch it off
    // with an empty function).  The default loads from the program directory.
    using MapLoader = std::function<int(const std::filesystem::path& programDir, ItuMapLoadObserver& observer)>;
    static void SetMapLoader(MapLoader loader);
    static void ResetMapLoader();

    platform::MdiChild* InitChild() override;
    // Set-up when the client is created: placement, set-up file, stored values.
    void SetupWindow();

    // Opens a file in the window its extension names; true when it opened.
    bool OpenFile(const char* fileName);
    void CmNewDocument(int windowType);
    void CmEditActiveDocument();
    bool EditActiveEnabled() const;
    void CmFileOpen();
    void CmFileClose();
    void CmCloseAll();
    void ShowGraph(int commandId);
    void ShowTable(int commandId);
    void ShowBitmapResource(int bitmapId);
    void LendToModalForm(TMyWindow& window);
    void CmCalculator(int commandId);

    TOrbiscopeMDIChild* ActiveDocumentChild() const;
    // Maps that failed to load when the client was created.
    int MapFailures() const { return mapFailures_; }
    bool OpenFromFile = false;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    TMyWindow* CreateWindowChild(int windowType, int builderCommand, int builderArgument);

    TOrbiscope* app_;
    bool mapsLoaded_ = false;
    int mapFailures_ = 0;
};
