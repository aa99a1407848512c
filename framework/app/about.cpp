#include "framework/app/about.h"

#include <QApplication>
#include <QLabel>

#include "framework/app/icons.h"
#include "framework/app/mdiclient.h"
#include "framework/app/orbiscope.h"
#include "platform/services.h"
#include "framework/app/menus.h"
#include "framework/app/registration.h"

using platform::ControlKind;
using platform::ControlSpec;

namespace {

std::optional<TProjectRCVersion::Strings>& Override()
{
    static std::optional<TProjectRCVersion::Strings> strings;
    return strings;
}

bool Answer(const std::optional<std::string>& value, std::string& text)
{
    if (!value) return false;
    text = *value;
    return true;
}

// The static texts hold at most 255 characters.
constexpr std::size_t kStaticTextLimit = 255;
// The middle field is read from its static with at most 128 characters.
constexpr std::size_t kMiddleTextLimit = 128;

}  // namespace

TProjectRCVersion::TProjectRCVersion() : strings_(Override() ? *Override() : BuildStrings()) {}

TProjectRCVersion::Strings TProjectRCVersion::BuildStrings()
{
    Strings s;
    s.productName = orbiscope::kProductName;
#ifdef ORBISCOPE_PROJECT_VERSION
    s.productVersion = ORBISCOPE_PROJECT_VERSION;
#endif
    s.legalCopyright = "Copyright (C) 2026 the Orbiscope project. All rights reserved.";
    return s;
}

void TProjectRCVersion::SetOverride(std::optional<Strings> strings) { Override() = std::move(strings); }

bool TProjectRCVersion::GetProductName(std::string& text) const { return Answer(strings_.productName, text); }
bool TProjectRCVersion::GetProductVersion(std::string& text) const { return Answer(strings_.productVersion, text); }
bool TProjectRCVersion::GetCopyright(std::string& text) const { return Answer(strings_.legalCopyright, text); }

std::string AboutVersionLine(const std::string& productName, const std::string& text,
                             const std::string& productVersion)
{
    std::string line = productName + " " + text + " " + productVersion;
    if (line.size() > kStaticTextLimit) line.resize(kStaticTextLimit);
    return line;
}

std::vector<ControlSpec> TAboutDlg::ControlTable()
{
    return {
        {ControlKind::Static, kVersionLine, "", 60, 14, 420, 20},
        {ControlKind::Static, kLegalNotice, "", 60, 38, 420, 20},
        {ControlKind::Static, 0, orbiscope::kPublisherLine, 60, 62, 420, 20},
        {ControlKind::Static, kWebsiteLink, orbiscope::kWebsiteLinkText, 60, 90, 420, 20},
        {ControlKind::PushButton, platform::IDOK, "OK", 205, 124, 80, 26},
    };
}

TAboutDlg::TAboutDlg(QWidget* parent) : platform::Dialog(parent, kResourceId, "About", ControlTable())
{
    if (auto* link = qobject_cast<QLabel*>(Control(kWebsiteLink))) {
        link->setTextFormat(Qt::RichText);
        link->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                          .arg(QString::fromLatin1(orbiscope::kWebsiteTarget),
                               QString::fromLatin1(orbiscope::kWebsiteLinkText)));
        link->setOpenExternalLinks(false);
        link->setTextInteractionFlags(Qt::TextBrowserInteraction);
        QObject::connect(link, &QLabel::linkActivated, this, [this] { OpenWebsite(); });
    }
    // The program's icon.
    auto* icon = new QLabel(this);
    icon->setGeometry(12, 14, 36, 36);
    icon->setPixmap(orbiscope::ProgramIcon().pixmap(32, 32));
}

void TAboutDlg::SetupWindow()
{
    platform::Dialog::SetupWindow();
    const TProjectRCVersion version;
    std::string name, number, notice;
    if (version.GetProductName(name) && version.GetProductVersion(number)) {
        std::string middle = GetControlText(kVersionLine);
        if (middle.size() > kMiddleTextLimit) middle.resize(kMiddleTextLimit);
        SetControlText(kVersionLine, AboutVersionLine(name, middle, number));
    }
    if (version.GetCopyright(notice)) {
        if (notice.size() > kStaticTextLimit) notice.resize(kStaticTextLimit);
        SetControlText(kLegalNotice, notice);
    }
}

void TAboutDlg::OpenWebsite()
{
    if (TOrbiscope* app = TOrbiscope::Current()) app->CmHelpContents();
    else platform::HelpViewer::ShowContents();
}

namespace about {

void RegisterAboutCommand()
{
    orbiscope::RegisterClientCommand(orbiscope::CM_HELPABOUT, [](TOrbiscopeMDIClient& client) {
        TAboutDlg dialog(client.window());
        dialog.Execute();
    });
}

}  // namespace about
