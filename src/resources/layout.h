// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/draw_target.h"

#include <optional>
#include <string_view>
#include <vector>

namespace lumetra::resources {

// Window layouts as data: positions and sizes in twips, captions in UTF-8.
// The windows are built from these tables and a test walks them against the
// built widgets, so that nothing can drift between the two.

enum class ControlKind { CommandButton, Label, TextBox, HScrollBar, CheckBox, Frame, TitlePage };

enum class SystemColour { ButtonFace, ButtonText, WindowBackground, HighlightText };

struct Colour {
    std::optional<runtime::Rgb> rgb;  // 0xRRGGBB
    std::optional<SystemColour> role; // or a system colour
};

struct FontStyle {
    std::string_view family;
    double pointSize;
    int weight; // 400 regular, 700 bold
};

struct ScrollRange {
    int minimum;
    int maximum;
    int smallChange;
    int largeChange;
    int value;
};

struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    std::string_view caption; // caption or initial text
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    std::string_view container; // empty: the window; else the frame's name
    std::optional<FontStyle> font = std::nullopt;
    std::optional<Colour> foreground = std::nullopt;
    std::optional<Colour> background = std::nullopt;
    std::optional<ScrollRange> scroll = std::nullopt;
    // What assistive tools call a control that has no caption of its own;
    // empty: the caption.
    std::string_view accessibleName = {};
};

struct WindowLayout {
    std::string_view name;
    std::string_view caption;
    int clientWidth;  // twips
    int clientHeight; // twips
    // The three later windows open maximized, so that the calibration factor
    // found on one serves the others: their client areas match.
    bool maximized;
    std::vector<ControlLayout> controls; // in the layout's order
};

inline constexpr FontStyle kWindowFont{"MS Sans Serif", 8.0, 400};

const WindowLayout& form1Layout();
const WindowLayout& form2Layout();
const WindowLayout& form3Layout();
const WindowLayout& form4Layout();

const ControlLayout& control(const WindowLayout& window, std::string_view name);

inline constexpr int twipsToPixels(int twips) {
    return twips / runtime::kTwipsPerPixel;
}

} // namespace lumetra::resources
