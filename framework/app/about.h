// Help > About: the product name, version and legal notice of the program,
// a line naming the publisher and a link to the program's own pages.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace orbiscope {
// The project publishes no web site: the link opens the pages that come with
// the program, its help, rather than an address that leads nowhere.
inline constexpr const char* kWebsiteTarget = "help:contents";
inline constexpr const char* kWebsiteLinkText = "Visit the Orbiscope website";
inline constexpr const char* kPublisherLine = "Published by the Orbiscope project, Liverpool, England";
}  // namespace orbiscope

// The program's version information: its product name, the project version
// the build was configured with, and its legal notice.  Each answer is false
// when the string is missing.
class TProjectRCVersion {
public:
    TProjectRCVersion();

    bool GetProductName(std::string& text) const;
    bool GetProductVersion(std::string& text) const;
    bool GetCopyright(std::string& text) const;

    // Test seam: other strings (nullopt = missing) in place of the build's.
    struct Strings {
        std::optional<std::string> productName;
        std::optional<std::string> productVersion;
        std::optional<std::string> legalCopyright;
    };
    static Strings BuildStrings();
    static void SetOverride(std::optional<Strings> strings);

private:
    Strings strings_;
};

// Dialog 22000, owned by the main window.
class TAboutDlg : public platform::Dialog {
public:
    static constexpr int kResourceId = 22000;
    enum ControlId : int { kVersionLine = 22001, kLegalNotice = 22002, kWebsiteLink = 131 };

    explicit TAboutDlg(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

    // The version line and the legal notice from the version information.
    void SetupWindow() override;
    // The link: the help's contents.
    void OpenWebsite();
};

// The version line: the product name, the line's own text and the version,
// separated by single blanks (an empty middle text leaves two).
std::string AboutVersionLine(const std::string& productName, const std::string& text,
                             const std::string& productVersion);

namespace about {
// Binds the about box to Help > About (6712).
void RegisterAboutCommand();
}  // namespace about
