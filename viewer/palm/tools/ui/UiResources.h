#pragma once
// Encoders of the Palm OS user-interface resources the viewer uses, in the
// layout the system reads from a resource database (68k structures, big-endian,
// pointers stored as zero and the texts appended after the structures).

#include <cstdint>
#include <string>
#include <vector>

#include "formats/palm/ResourceBundle.h"

namespace skedlin::palm {

struct Rect {
    std::int16_t x = 0, y = 0, w = 0, h = 0;
};

struct FormScrollBar {
    std::uint16_t id = 0;
    Rect bounds;
    bool usable = false;  // hidden until the program shows it
};

// A full-screen form with a title bar, an optional scroll bar and a menu bar.
struct FormDescription {
    std::uint16_t id = 0;
    Rect bounds;
    std::string title;
    std::uint16_t menuBarId = 0;
    std::vector<FormScrollBar> scrollBars;
};
Bytes encodeForm(const FormDescription &form);

struct MenuItem {
    std::uint16_t id = 0;
    char shortcut = 0;  // the command-stroke letter, or 0
    std::string text;
};
struct MenuPullDown {
    std::string title;
    Rect titleBounds;
    Rect bounds;  // of the pull-down window
    std::vector<MenuItem> items;
};
Bytes encodeMenuBar(const std::vector<MenuPullDown> &menus);

enum class AlertType : std::uint16_t { Information = 0, Confirmation = 1, Warning = 2, Error = 3 };
struct AlertDescription {
    AlertType type = AlertType::Information;
    std::string title;
    std::string message;  // ^1, ^2, ^3 are replaced by the program's texts
    std::vector<std::string> buttons;
    std::uint16_t defaultButton = 0;
};
Bytes encodeAlert(const AlertDescription &alert);

}  // namespace skedlin::palm
