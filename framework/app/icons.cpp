#include "framework/app/icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <map>

#include "framework/app/menus.h"

// Outside any namespace, as the resource system wants it; called before the
// first picture is read, since a static library's resources are not set up
// by themselves.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace orbiscope {

namespace {

// The sizes a window caption, a menu, a toolbar and the about box ask for.
constexpr int kIconSizesPx[] = {16, 20, 24, 32, 48};

const std::map<int, const char*>& IconFiles()
{
    static const std::map<int, const char*> files = {
        {60, "orbiscope"},          {61, "window-solar-outage"}, {62, "window-downlink"},
        {63, "window-geo-budget"},  {66, "window-satellite"},    {67, "window-look-angles"},
        {68, "window-dual-feed"},   {69, "window-bitmap"},       {70, "window-graph"},
        {72, "window-country"},     {73, "window-table"},        {74, "window-uplink"},
        {75, "window-rain"},        {77, "window-nongeo-budget"}, {78, "window-tle"},
    };
    return files;
}

const std::map<int, const char*>& ToolbarFiles()
{
    static const std::map<int, const char*> files = {
        {CM_FILEOPEN, "open"},     {CM_FILESAVE, "save"},     {CM_EDITACTIVE, "edit-document"},
        {CM_EDITCOPY, "copy"},     {6510, "evaluator"},       {CM_FILEPRINT, "print"},
        {CM_FILEPRINTPREVIEW, "print-preview"}, {CM_CASCADE, "cascade"}, {CM_TILE, "tile-vertically"},
        {CM_HELPCONTENTS, "help"},
    };
    return files;
}

// Drawn afresh each time: a few small pictures, and none outlives the
// application's graphics.
QIcon Render(const char* name)
{
    static const bool ready = (InitIconResources(), true);
    (void)ready;
    QSvgRenderer svg(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
    QIcon icon;
    if (svg.isValid()) {
        for (const int size : kIconSizesPx) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            svg.render(&painter, QRectF(0, 0, size, size));
            painter.end();
            icon.addPixmap(pixmap);
        }
    }
    return icon;
}

QIcon Lookup(const std::map<int, const char*>& files, int id)
{
    auto it = files.find(id);
    return it == files.end() ? QIcon() : Render(it->second);
}

}  // namespace

QIcon IconResource(int iconId) { return Lookup(IconFiles(), iconId); }
QIcon ToolbarBitmap(int commandId) { return Lookup(ToolbarFiles(), commandId); }
QIcon ProgramIcon() { return IconResource(60); }

}  // namespace orbiscope
