// Small builders for the control tables of the database dialogs.
#pragma once

#include "platform/dialog.h"

namespace databases::layout {

inline platform::ControlSpec Control(platform::ControlKind kind, int id, const char* text, int x, int y, int w, int h)
{
    platform::ControlSpec c;
    c.kind = kind;
    c.id = id;
    c.text = text;
    c.x = x, c.y = y, c.width = w, c.height = h;
    return c;
}

inline platform::ControlSpec Label(const char* text, int x, int y, int w, int h = 20)
{
    return Control(platform::ControlKind::Static, 0, text, x, y, w, h);
}

inline platform::ControlSpec Group(const char* text, int x, int y, int w, int h)
{
    return Control(platform::ControlKind::GroupBox, 0, text, x, y, w, h);
}

inline platform::ControlSpec Edit(int id, int limit, int x, int y, int w)
{
    platform::ControlSpec c = Control(platform::ControlKind::Edit, id, "", x, y, w, 22);
    c.textLimit = limit;
    return c;
}

inline platform::ControlSpec Button(int id, const char* text, int x, int y, int w = 80)
{
    return Control(platform::ControlKind::PushButton, id, text, x, y, w, 26);
}

inline platform::ControlSpec Check(int id, const char* text, int x, int y, int w)
{
    return Control(platform::ControlKind::CheckBox, id, text, x, y, w, 20);
}

inline platform::ControlSpec List(int id, int x, int y, int w, int h)
{
    return Control(platform::ControlKind::ListBox, id, "", x, y, w, h);
}

}  // namespace databases::layout
