// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/parser_texts.h"

#include <cstring>

namespace lumetra::cli {

namespace {

struct Text {
    const char* source;
    const char* italian;
};

constexpr Text kTexts[] = {
    {"Usage: %1", "Uso: %1"},
    {"[options]", "[opzioni]"},
    {"Options:", "Opzioni:"},
    {"Arguments:", "Argomenti:"},
    {"Displays help on commandline options.", "Mostra questo aiuto."},
    {"Displays help including Qt specific options.", "Come --help."},
    {"Displays version information.", "Mostra la versione del programma."},
    {"Missing value after '%1'.", "manca il valore dopo %1"},
    {"Unexpected value after '%1'.", "%1 non prende un valore"},
};

} // namespace

QString ParserTexts::translate(const char* context, const char* sourceText, const char*,
                               int) const {
    if (context == nullptr || sourceText == nullptr ||
        std::strcmp(context, "QCommandLineParser") != 0) {
        return {};
    }
    for (const Text& text : kTexts) {
        if (std::strcmp(sourceText, text.source) == 0) {
            return QString::fromUtf8(text.italian);
        }
    }
    return {};
}

} // namespace lumetra::cli
