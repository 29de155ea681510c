// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

namespace lumetra::resources {

// The title page that the title window shows: a page of fixed-pitch text
// drawn from its own geometry. The page is laid out in a space of about 600
// units per inch; the window shows it at natural size from its top-left
// corner, clipped to the control.
struct TitleLine {
    int paragraph;         // 1-based line of the page
    std::string_view text; // UTF-8
    double leftUnits;      // where the text starts
};

struct TitlePage {
    double widthTwips; // the page picture, 10208 twips across
    double widthUnits; // its drawing space, 4258 units across
    double firstBaselineUnits;
    double lineSpacingUnits;
    std::string_view fontFamily;
    double pointSize;
    std::vector<TitleLine> lines; // only the paragraphs that show text

    double twipsPerUnit() const { return widthTwips / widthUnits; }
    double baselineTwips(int paragraph) const {
        return (firstBaselineUnits + lineSpacingUnits * (paragraph - 1)) * twipsPerUnit();
    }
};

const TitlePage& titlePage();

} // namespace lumetra::resources
