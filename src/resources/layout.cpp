// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/layout.h"

#include <stdexcept>
#include <string>

namespace lumetra::resources {

namespace {

using K = ControlKind;

constexpr runtime::Rgb kRed = 0xFF0000;
constexpr runtime::Rgb kDarkRed = 0xC00000;
constexpr runtime::Rgb kOrange = 0xFFC080;

const FontStyle kLarge{"MS Sans Serif", 13.5, 400};
const FontStyle kLargeBold{"MS Sans Serif", 13.5, 700};
const FontStyle kMedium{"MS Sans Serif", 12.0, 400};

} // namespace

const WindowLayout& form1Layout() {
    static const WindowLayout entry{
        "Form1",
        "Form1",
        11670,
        7305,
        false,
        {
            {"Command1", K::CommandButton, "AVANTI", 3600, 5640, 2895, 855, 1, ""},
            {"OLE1", K::TitlePage, "", 1410, 330, 8415, 5055, 0, "", std::nullopt, std::nullopt,
             std::nullopt, std::nullopt, "Pagina del titolo"},
        }};
    return entry;
}

const WindowLayout& form2Layout() {
    static const WindowLayout entry{
        "Form2",
        "Form2",
        9855,
        6840,
        true,
        {
            {"Command3", K::CommandButton, "ESCI", 360, 4080, 1695, 615, 4, ""},
            {"Command2", K::CommandButton,
             "KLICCARE  sulla barra di scorrimento fino a che la figura  risulti una "
             "CIRCONFERENZA",
             360, 1560, 6255, 735, 3, "", std::nullopt, std::nullopt,
             Colour{kOrange, std::nullopt}},
            {"Command1", K::CommandButton, "OK - continua", 3120, 2880, 1575, 615, 2, "",
             std::nullopt, std::nullopt, Colour{std::nullopt, SystemColour::HighlightText}},
            {"Text1", K::TextBox, "Text1", 360, 2880, 735, 375, 1, "", std::nullopt, std::nullopt,
             std::nullopt, std::nullopt, "Fattore di calibrazione"},
            {"HScroll1", K::HScrollBar, "", 480, 1080, 5895, 255, 0, "", std::nullopt, std::nullopt,
             std::nullopt, ScrollRange{1, 30, 1, 1, 1}, "Barra di calibrazione"},
            {"Label1", K::Label,
             "Per calibrare l' impostazione corretta della risoluzione dello SCHERMO", 360, 240,
             9135, 495, 5, "", kLarge, Colour{kRed, std::nullopt}},
        }};
    return entry;
}

const WindowLayout& form3Layout() {
    static const WindowLayout entry{
        "Form3",
        " ",
        10605,
        7245,
        true,
        {
            {"Text5", K::TextBox, "1", 5400, 3720, 615, 495, 8, "", std::nullopt, std::nullopt,
             std::nullopt, std::nullopt, "Incremento degli  ANGOLI di  OA"},
            {"Text1", K::TextBox, "86", 3720, 2040, 735, 495, 0, "", std::nullopt, std::nullopt,
             std::nullopt, std::nullopt, "Valore  di OA"},
            {"Text2", K::TextBox, "55", 3720, 2880, 735, 495, 1, "", std::nullopt, std::nullopt,
             std::nullopt, std::nullopt, "Angolo di OA con l'asse X"},
            {"Command1", K::CommandButton, "ESCI", 1080, 5640, 1935, 735, 3, ""},
            {"Command2", K::CommandButton, "AVANTI", 5280, 5640, 1935, 735, 2, ""},
            {"Label6", K::Label, "Incremento degli  ANGOLI di  OA", 1800, 3840, 3015, 255, 7, ""},
            {"Label1", K::Label, "IMPOSTARE I VALORI DELLE COSTANTI", 1800, 360, 6135, 375, 6, "",
             kLargeBold, Colour{kRed, std::nullopt}},
            {"Label2", K::Label, "Valore  di OA", 720, 2040, 2175, 375, 5, "", kMedium},
            {"Label3", K::Label, "Angolo di OA con l'asse X", 600, 2880, 2775, 375, 4, "", kMedium},
        }};
    return entry;
}

const WindowLayout& form4Layout() {
    static const WindowLayout entry{
        "Form4",
        "Form4",
        10605,
        6780,
        true,
        {
            {"Frame2", K::Frame, "Valore della segmentazione di OA", 1080, 2760, 3375, 1695, 4, ""},
            {"Command6", K::CommandButton, "Cancel e traccia", 2040, 1080, 1095, 495, 8, "Frame2"},
            {"Command5", K::CommandButton, "TRACCIA", 2040, 600, 1095, 375, 7, "Frame2"},
            {"Check2", K::CheckBox, "Y=OA Cos", 240, 960, 1455, 375, 6, "Frame2"},
            {"Check1", K::CheckBox, "X=OA Cos", 240, 600, 1455, 375, 5, "Frame2"},
            {"Label2", K::Label, " X per Sen  (normale)", 240, 240, 1695, 255, 9, "Frame2",
             std::nullopt, Colour{kDarkRed, std::nullopt}},
            {"Command4", K::CommandButton, "Traccia le linee tra le curve di I\u00B0 livello", 3000,
             1800, 1695, 615, 3, ""},
            {"Command1", K::CommandButton, "RIPRENDI i dati", 960, 720, 1695, 615, 2, ""},
            {"Command2", K::CommandButton, "Cancella e riprendi      i dati", 3000, 720, 1695, 615,
             1, ""},
            {"Command3", K::CommandButton, "ESCI", 960, 1800, 1695, 615, 0, ""},
        }};
    return entry;
}

const ControlLayout& control(const WindowLayout& window, std::string_view name) {
    for (const ControlLayout& c : window.controls) {
        if (c.name == name) {
            return c;
        }
    }
    throw std::out_of_range("no control " + std::string(name) + " in " + std::string(window.name));
}

} // namespace lumetra::resources
