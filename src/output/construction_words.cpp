// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/construction_words.h"

#include "output/construction_frame.h"

#include <QLocale>

namespace lumetra::output {

namespace {

using geometry::ConstructionPass;
using geometry::PassOutcome;

constexpr int kCoordinateDecimals = 4;
constexpr int kFactorDecimals = 6;

QLocale numbers() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// Every digit the double holds, so that 1.5000000000000002 shows as the counter has it.
QString exact(double value) {
    return numbers().toString(value, 'g', QLocale::FloatingPointShortest);
}

QString fixed(double value, int decimals) {
    return numbers().toString(value, 'f', decimals);
}

QString point(const QString& name, double x, double y) {
    return QStringLiteral("%1 (%2; %3)")
        .arg(name, fixed(x, kCoordinateDecimals), fixed(y, kCoordinateDecimals));
}

QString factor(const QString& name, bool cosine, double value) {
    return QStringLiteral("%1 = %2 ALFA = %3")
        .arg(name, cosine ? QStringLiteral("cos") : QStringLiteral("sen"),
             fixed(value, kFactorDecimals));
}

QStringList pointWords(const PlotConstruction& construction, const ConstructionPass& pass) {
    const geometry::Construction& c = construction.construction;
    const QString first = point(QStringLiteral("Punto della prima famiglia"), pass.X1, pass.Y1);
    const QString second = point(QStringLiteral("Punto della seconda famiglia"), pass.XS, pass.YS);
    const QString bounds =
        QStringLiteral("(ammessi |x| \u2264 %1 e |y| \u2264 %2)")
            .arg(exact(static_cast<double>(c.CX)), exact(static_cast<double>(c.CY)));
    switch (pass.outcome) {
    case PassOutcome::Pair:
        return {first, second};
    case PassOutcome::FirstOnly:
        return {first, second + QStringLiteral(": fuori dall'area ") + bounds +
                           QStringLiteral(", non disegnato")};
    case PassOutcome::FirstOutOfRange:
        return {first + QStringLiteral(": fuori dall'area ") + bounds +
                QStringLiteral(", nessun punto disegnato")};
    case PassOutcome::ZeroFactor:
        return {QStringLiteral("Nessun punto disegnato: il coseno di ALFA o di A2 vale zero")};
    case PassOutcome::Stopped:
        return {QStringLiteral("Il disegno si ferma qui per un errore di esecuzione")};
    }
    return {};
}

} // namespace

QString sweepAngleText(const PlotConstruction& construction, int k) {
    if (k < 1 || k > passCount(construction)) {
        return QStringLiteral("ALFA \u2014");
    }
    return QStringLiteral("ALFA = %1\u00B0")
        .arg(exact(construction.construction.passes[k - 1].ALFA));
}

QStringList passWords(const PlotConstruction& construction, int k) {
    const int count = passCount(construction);
    if (k < 1 || k > count) {
        return {QStringLiteral("Passo 0 di %1: nessun punto ancora disegnato").arg(count)};
    }
    const geometry::Construction& c = construction.construction;
    const ConstructionPass& pass = c.passes[k - 1];
    QStringList words{QStringLiteral("Passo %1 di %2").arg(k).arg(count),
                      sweepAngleText(construction, k)};
    if (pass.outcome != PassOutcome::Stopped) {
        words << QStringLiteral("A2 = %1\u00B0, direzione BETA1 \u00D7 sen A2 = %2 rad")
                     .arg(pass.A2)
                     .arg(fixed(pass.gamma, kFactorDecimals));
    }
    if (pass.outcome != PassOutcome::ZeroFactor && pass.outcome != PassOutcome::Stopped) {
        words << factor(QStringLiteral("SC1"), c.xCosine, pass.SC1)
              << factor(QStringLiteral("SCY"), c.yCosine, pass.SCY);
    }
    words << pointWords(construction, pass);
    if (pass.chord) {
        words << QStringLiteral("Corda tra i due punti");
    }
    return words;
}

} // namespace lumetra::output
