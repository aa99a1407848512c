// Builders for the control tables that every input form, calculator and
// picker is made from.  Sizes are pixels in the dialog; the heights are the
// ones the whole program uses, so that dialogs look alike.
#pragma once

#include "platform/dialog.h"

namespace controls {

inline constexpr int kLabelHeight = 20;
inline constexpr int kEditHeight = 22;
inline constexpr int kButtonHeight = 26;
inline constexpr int kOptionHeight = 20;

inline platform::ControlSpec Control(platform::ControlKind kind, int id, const char* text, int x, int y, int w, int h)
{
    platform::ControlSpec c;
    c.kind = kind;
    c.id = id;
    c.text = text;
    c.x = x, c.y = y, c.width = w, c.height = h;
    return c;
}

inline platform::ControlSpec Label(const char* text, int x, int y, int w, int h = kLabelHeight)
{
    return Control(platform::ControlKind::Static, 0, text, x, y, w, h);
}

inline platform::ControlSpec Group(const char* text, int x, int y, int w, int h)
{
    return Control(platform::ControlKind::GroupBox, 0, text, x, y, w, h);
}

// An edit that transfers `limit` bytes (its text limit, terminator included).
inline platform::ControlSpec Edit(int id, int limit, int x, int y, int w)
{
    platform::ControlSpec c = Control(platform::ControlKind::Edit, id, "", x, y, w, kEditHeight);
    c.textLimit = limit;
    return c;
}

// An edit that holds a file's name, picked or typed: shown as the file system
// names the file and transferred as its bytes, at most `limit` less one.
inline platform::ControlSpec FileNameEdit(int id, int limit, int x, int y, int w)
{
    platform::ControlSpec c = Edit(id, limit, x, y, w);
    c.fileName = true;
    return c;
}

// A result field: the user reads it, the form writes it; it still transfers.
inline platform::ControlSpec ReadOnlyEdit(int id, int limit, int x, int y, int w)
{
    platform::ControlSpec c = Edit(id, limit, x, y, w);
    c.readOnly = true;
    return c;
}

inline platform::ControlSpec Button(int id, const char* text, int x, int y, int w = 80)
{
    return Control(platform::ControlKind::PushButton, id, text, x, y, w, kButtonHeight);
}

inline platform::ControlSpec Check(int id, const char* text, int x, int y, int w)
{
    return Control(platform::ControlKind::CheckBox, id, text, x, y, w, kOptionHeight);
}

// A radio button; `groupStart` opens a new exclusive group.
inline platform::ControlSpec Radio(int id, const char* text, int x, int y, int w, bool groupStart = false)
{
    platform::ControlSpec c = Control(platform::ControlKind::RadioButton, id, text, x, y, w, kOptionHeight);
    c.groupStart = groupStart;
    return c;
}

inline platform::ControlSpec List(int id, int x, int y, int w, int h)
{
    return Control(platform::ControlKind::ListBox, id, "", x, y, w, h);
}

inline platform::ControlSpec Combo(int id, int x, int y, int w, int h = kEditHeight)
{
    return Control(platform::ControlKind::ComboBox, id, "", x, y, w, h);
}

inline platform::ControlSpec Tabs(int id, int x, int y, int w, int h)
{
    return Control(platform::ControlKind::TabControl, id, "", x, y, w, h);
}

inline platform::ControlSpec Gauge(int id, int x, int y, int w, int h = kEditHeight)
{
    return Control(platform::ControlKind::Gauge, id, "", x, y, w, h);
}

}  // namespace controls
