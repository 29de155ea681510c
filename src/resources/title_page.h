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
    double widthTwips; // the page picture, 10208 x 7841 twips
    double heightTwips;
    double widthUnits; // its drawing space, 4258 x 3268 units
    double heightUnits;
    double firstBaselineUnits;
    double lineSpacingUnits;
    double characterHeightUnits;
    std::string_view fontFamily;
    double pointSize;
    std::vector<TitleLine> lines; // only the paragraphs that show text

    double twipsPerUnit() const { return widthTwips / widthUnits; }
    double baselineTwips(int paragraph) const {
        return (firstBaselineUnits + lineSpacingUnits * (paragraph - 1)) * twipsPerUnit();
    }
    double leftTwips(const TitleLine& line) const { return line.leftUnits * twipsPerUnit(); }
};

const TitlePage& titlePage();

} // namespace lumetra::resources
