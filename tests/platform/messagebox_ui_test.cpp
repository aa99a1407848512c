// A message box is wide enough for its caption: a box whose body is only a
// field's name would otherwise be narrower than its title bar needs, and
// the window manager cuts the caption that says what went wrong.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QMessageBox>
#include <QTest>
#include <filesystem>

#include "platform/messagebox.h"
#include "qt_app.h"
#include "tests/picture_path.h"

namespace {

struct BoxCase {
    const char* caption;
    const char* text;
    unsigned flags;
};

// Boxes the forms show, with the shortest bodies they have.
const BoxCase kBoxes[] = {
    {"Empty Field Error", "Az", platform::MB_ICONEXCLAMATION},
    {"Invalid Character Error", "EL", platform::MB_ICONEXCLAMATION},
    {"Incorrectly Placed Suffix Error", "Frequency", platform::MB_ICONEXCLAMATION},
    {"Satellite Longitude Error", "Adjacent and wanted satellites have same longitude", platform::MB_ICONSTOP},
    {"Orbiscope", "Save changes?", platform::MB_YESNO | platform::MB_ICONQUESTION},
};

// The caption in the application's bold font, measured here on its own.
int CaptionTextWidth(const char* caption)
{
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(QString::fromLatin1(caption));
}

TEST(MessageBoxWidth, HoldsTheWholeCaption)
{
    platformtest::App();
    for (const BoxCase& c : kBoxes) {
        SCOPED_TRACE(c.caption);
        const auto box = platform::BuildMessageBox(nullptr, c.text, c.caption, c.flags);
        box->show();
        QCoreApplication::processEvents();
        const int textWidth = CaptionTextWidth(c.caption);
        // The caption itself, and room for the icon and three buttons of a
        // title bar, each at least as wide as a line of text is high.
        const int lineHeight = QFontMetrics(QApplication::font()).height();
        EXPECT_GE(box->width(), textWidth + 4 * lineHeight);
        EXPECT_EQ(box->windowTitle().toStdString(), c.caption);
        // Not more than the caption asks for, when the body is short.
        if (std::string_view(c.text).size() < 4) {
            EXPECT_LE(box->width(), platform::CaptionWidth(c.caption) + 120);
        }
        box->hide();
    }
}

// A box as a user sees it, into the build folder's pictures, under a title
// strip drawn as a window manager draws one: the caption in the bold face
// from the left, and three buttons at the right.
TEST(MessageBoxWidth, Picture)
{
    platformtest::App();
    const char* caption = "Incorrectly Placed Suffix Error";
    const auto box = platform::BuildMessageBox(nullptr, "Az", caption, platform::MB_ICONEXCLAMATION);
    box->show();
    QCoreApplication::processEvents();
    const QImage body = box->grab().toImage();
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int line = QFontMetrics(bold).height();
    const int strip = line + 10;
    QImage picture(body.width(), body.height() + strip, QImage::Format_RGB32);
    picture.fill(QColor(60, 90, 140));
    QPainter p(&picture);
    p.drawImage(0, strip, body);
    p.setFont(bold);
    p.setPen(Qt::white);
    p.drawText(QRect(line + 8, 0, body.width(), strip), Qt::AlignVCenter | Qt::AlignLeft, caption);
    p.fillRect(4, 5, line, line, QColor(200, 200, 200));  // the window's icon
    for (int i = 1; i <= 3; ++i) p.fillRect(body.width() - i * (line + 4), 5, line, line, QColor(200, 200, 200));
    p.end();
    EXPECT_TRUE(picture.save(QString::fromStdString(TestPicture("messagebox_caption.png").string())));
    // The caption ends before the first button.
    EXPECT_LT(line + 8 + QFontMetrics(bold).horizontalAdvance(caption), body.width() - 3 * (line + 4));
    box->hide();
}

// The fault it mends, seen on a plain box: sized to its two-letter body, it
// is narrower than its caption needs.
TEST(MessageBoxWidth, APlainBoxIsSizedToItsBody)
{
    platformtest::App();
    QMessageBox plain;
    plain.setWindowTitle("Incorrectly Placed Suffix Error");
    plain.setText("Az");
    plain.setStandardButtons(QMessageBox::Ok);
    plain.show();
    QCoreApplication::processEvents();
    EXPECT_LT(plain.width(), CaptionTextWidth("Incorrectly Placed Suffix Error") + 4 * QFontMetrics(QApplication::font()).height());
    plain.hide();
}

// Escape and the box's own close (a window manager's close button, Alt+F4)
// answer a box that has a way back: Cancel where it has one, as the "save?"
// question does.  A Yes/No question has none, and one that took them for No
// would discard what its No discards on a key meant to keep it.  Return
// presses the default, Yes.
TEST(MessageBoxKeys, AYesNoQuestionIsAnsweredOnlyByItsButtons)
{
    platformtest::App();
    enum Action { kEscape, kClose, kReturn };
    const struct Case {
        unsigned flags;
        Action action;
        int answer;  // 0: the box stays up, unanswered
    } cases[] = {
        {platform::MB_YESNO | platform::MB_ICONQUESTION, kEscape, 0},
        {platform::MB_YESNO | platform::MB_ICONQUESTION, kClose, 0},
        {platform::MB_YESNO | platform::MB_ICONQUESTION, kReturn, platform::IDYES},
        {platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION, kEscape, platform::IDCANCEL},
        {platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION, kClose, platform::IDCANCEL},
        {platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION, kReturn, platform::IDYES},
        {platform::MB_OK | platform::MB_ICONSTOP, kEscape, platform::IDOK},
        {platform::MB_OK | platform::MB_ICONSTOP, kClose, platform::IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.flags) + " " + std::to_string(int(c.action)));
        const auto built = platform::BuildMessageBox(nullptr, "File Untitled may have been edited.", "Orbiscope", c.flags);
        auto& box = static_cast<QMessageBox&>(*built);
        box.show();
        if (c.action == kClose) box.close();
        else QTest::keyClick(&box, c.action == kEscape ? Qt::Key_Escape : Qt::Key_Return);
        EXPECT_EQ(box.isVisible(), c.answer == 0);
        EXPECT_EQ(box.clickedButton() == nullptr, c.answer == 0);
        if (c.answer != 0) {
            EXPECT_EQ(platform::BuiltBoxAnswer(box), c.answer);
        }
    }
}

}  // namespace
