// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTranslator>

namespace lumetra::cli {

// Qt's own texts of the command-line parser in Italian, whatever the user's
// language: the headings and the standard options of --help and the faults
// it reports itself.
class ParserTexts final : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }
};

} // namespace lumetra::cli
