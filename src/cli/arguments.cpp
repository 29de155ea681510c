// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/arguments.h"

#include "cli/curve_option.h"
#include "cli/script_number.h"
#include "output/picture_layout.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace lumetra::cli {

namespace {

using namespace Qt::StringLiterals;

constexpr int kSmallestSide = 16;
constexpr int kLargestSide = 16384;
constexpr double kSmallestFactor = 0.1;
constexpr double kLargestFactor = 10.0;

const QString kOutput = u"output"_s;
const QString kLength = u"lunghezza"_s;
const QString kAngle = u"angolo"_s;
const QString kIncrement = u"incremento"_s;
const QString kCurve = u"curva"_s;
const QString kXCosine = u"x-cos"_s;
const QString kYCosine = u"y-cos"_s;
const QString kChords = u"corde"_s;
const QString kSize = u"dimensioni"_s;
const QString kFactor = u"fattore"_s;
const QString kLegend = u"legenda"_s;
const QString kBackground = u"sfondo"_s;
const QString kCrop = u"ritaglia"_s;
const QString kResolution = u"dpi"_s;
const QString kPaper = u"carta"_s;
const QString kOrientation = u"orientamento"_s;
const QString kWork = u"da"_s;
const QString kFormat = u"formato"_s;
const QString kConstruction = u"costruzione"_s;
// The file name that stands for standard output.
const QString kStandardOutput = u"-"_s;

// Thrown by the checks below, caught once: the first fault found is the one reported.
struct BadUsage {
    QString message;
};

QString dashed(const QString& name) {
    return (name.size() == 1 ? u"-"_s : u"--"_s) + name;
}

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

void addOptions(QCommandLineParser& parser) {
    const QString curves = u" Ripetuta, una curva per valore."_s;
    const QString family = u" Per le curve di --lunghezza, --angolo e --incremento."_s;
    parser.addOptions({
        {{u"o"_s, kOutput},
         u"Il file da scrivere; l'estensione decide il formato: .png, .svg o .pdf. "
         u"Con - l'immagine va sullo standard output."_s,
         u"FILE"_s},
        {kFormat, u"Il formato dell'immagine: png, svg o pdf; necessario con -o -."_s,
         u"FORMATO"_s},
        {kWork,
         u"Un'immagine scritta da LUMETRA (PNG, SVG o PDF): il suo lavoro tracciato di nuovo, "
         u"al posto delle curve delle opzioni."_s,
         u"FILE"_s},
        {kLength, u"Valore di OA (predefinito 86)."_s + curves, u"N"_s},
        {kAngle, u"Angolo di OA con l'asse X, in gradi (predefinito 55)."_s + curves, u"N"_s},
        {kIncrement, u"Incremento degli angoli di OA (predefinito 1)."_s + curves, u"N"_s},
        {kXCosine, u"X=OA Cos: il coseno sull'asse X."_s + family},
        {kYCosine, u"Y=OA Cos: il coseno sull'asse Y."_s + family},
        {kChords, u"Traccia anche le linee tra le curve di I\u00B0 livello."_s + family},
        {kCurve,
         u"Una curva con i suoi valori, le sue caselle e le sue corde: lunghezza, angolo e "
         u"incremento, poi a scelta x-cos, y-cos e corde, separati da due punti "
         u"(86,5:55:1:x-cos). Ripetuta, una curva per valore, dopo quelle di --lunghezza, "
         u"--angolo e --incremento."_s,
         u"L:A:I"_s},
        {kSize,
         u"Larghezza e altezza in pixel, da 16 a 16384 (predefinite 1280x800; con --da "
         u"quelle dell'ultima curva del lavoro)."_s,
         u"LxA"_s},
        {kFactor,
         u"Fattore di calibrazione Incr, da 0,1 a 10 (predefinito altezza/larghezza: "
         u"cerchi rotondi)."_s,
         u"N"_s},
        {kLegend, u"La legenda delle curve nell'immagine."_s},
        {kBackground,
         u"Lo sfondo dell'immagine: bianco (predefinito) o schermo, il grigio della finestra."_s,
         u"SFONDO"_s},
        {kCrop, u"L'immagine ritagliata alla figura: le curve, la legenda e qualche millimetro di "
                u"margine."_s},
        {kResolution,
         u"La risoluzione in punti per pollice, da 72 a 1200: l'immagine ha la grandezza "
         u"vera sulla carta, con punti, linee e legenda come su uno schermo."_s,
         u"N"_s},
        {kPaper,
         u"La carta, A3, A4 o A5: la figura vi sta tutta, il PNG ha i pixel del foglio, il PDF "
         u"\u00E8 il foglio (senza --dimensioni, l'area di disegno \u00E8 il foglio)."_s,
         u"CARTA"_s},
        {kOrientation, u"Il foglio verticale o orizzontale (predefinito: come la figura)."_s,
         u"VERSO"_s},
        {kConstruction,
         u"Al posto dell'immagine, l'animazione della costruzione dell'ultima curva, passo "
         u"per passo: un file .gif o .svg (con -o -, --formato gif o svg)."_s},
    });
}

// The value of an option that may be given at most once.
std::optional<QString> single(const QCommandLineParser& parser, const QString& name) {
    QStringList values = parser.values(name);
    if (values.size() > 1) {
        std::transform(values.begin(), values.end(), values.begin(), quoted);
        throw BadUsage{dashed(name) + u" \u00E8 dato pi\u00F9 volte: "_s + values.join(u", "_s)};
    }
    return values.isEmpty() ? std::nullopt : std::optional(values.first());
}

double number(const QString& name, const QString& text) {
    if (const std::optional<double> value = parseScriptNumber(text)) {
        return *value;
    }
    throw BadUsage{dashed(name) + u' ' + quoted(text) + u" non \u00E8 un numero"_s};
}

QList<double> numbers(const QCommandLineParser& parser, const QString& name) {
    QList<double> values;
    for (const QString& text : parser.values(name)) {
        values.append(number(name, text));
    }
    return values;
}

// The format --formato names, if given.
std::optional<output::PictureFormat> chosenFormat(const QCommandLineParser& parser) {
    const std::optional<QString> text = single(parser, kFormat);
    if (!text) {
        return std::nullopt;
    }
    for (const output::PictureFormat format :
         {output::PictureFormat::Png, output::PictureFormat::Svg, output::PictureFormat::Pdf}) {
        if (text->compare(output::extensionOf(format), Qt::CaseInsensitive) == 0) {
            return format;
        }
    }
    throw BadUsage{u"--formato "_s + quoted(*text) + u": il formato \u00E8 png, svg o pdf"_s};
}

QString outputName(const QCommandLineParser& parser) {
    const std::optional<QString> name = single(parser, kOutput);
    if (!name) {
        throw BadUsage{u"manca --output FILE, il file da scrivere"_s};
    }
    return *name;
}

output::PictureFile pictureFile(const QCommandLineParser& parser) {
    const std::optional<QString> name = outputName(parser);
    const std::optional<output::PictureFormat> chosen = chosenFormat(parser);
    if (*name == kStandardOutput) {
        if (!chosen) {
            throw BadUsage{
                u"--output - scrive sullo standard output: manca --formato png, svg o pdf"_s};
        }
        return {*name, *chosen};
    }
    const std::optional<output::PictureFormat> format = output::formatOfName(*name);
    if (!format && output::animationFormatOfName(*name) == output::AnimationFormat::Gif) {
        throw BadUsage{u"--output "_s + quoted(*name) +
                       u": un'animazione GIF si scrive con --costruzione"_s};
    }
    if (!format) {
        throw BadUsage{u"--output "_s + quoted(*name) +
                       u": l'estensione deve essere .png, .svg o .pdf"_s};
    }
    if (chosen && *chosen != *format) {
        throw BadUsage{u"--formato "_s + output::extensionOf(*chosen) +
                       u" non \u00E8 il formato di --output "_s + quoted(*name)};
    }
    return {*name, *format};
}

// The format of the animation --costruzione writes: the name's, or with
// standard output the one --formato names.
output::AnimationFormat animationFormat(const QCommandLineParser& parser, const QString& name) {
    const std::optional<QString> chosen = single(parser, kFormat);
    if (name == kStandardOutput) {
        const std::optional<output::AnimationFormat> format =
            output::animationFormatOfName(u'.' + chosen.value_or(QString()));
        if (!format) {
            throw BadUsage{u"--costruzione con --output -: manca --formato gif o svg"_s};
        }
        return *format;
    }
    const std::optional<output::AnimationFormat> format = output::animationFormatOfName(name);
    if (!format) {
        throw BadUsage{u"--costruzione scrive un'animazione: l'estensione di "_s + quoted(name) +
                       u" deve essere .gif o .svg"_s};
    }
    if (chosen && chosen->compare(output::extensionOf(*format), Qt::CaseInsensitive) != 0) {
        throw BadUsage{u"--formato "_s + *chosen + u" non \u00E8 il formato di --output "_s +
                       quoted(name)};
    }
    return *format;
}

// The animation's file and format, for --costruzione.
std::pair<output::PictureFile, output::AnimationFormat>
animationFile(const QCommandLineParser& parser) {
    const QString name = outputName(parser);
    // Only the background of the picture's options goes with the animation.
    for (const QString& option : {kLegend, kCrop, kResolution, kPaper, kOrientation}) {
        if (parser.isSet(option)) {
            throw BadUsage{dashed(option) + u" non si usa con --costruzione"_s};
        }
    }
    return {{name, output::PictureFormat::Svg}, animationFormat(parser, name)};
}

// The saved picture whose work is drawn again, if given: its plots replace
// the curves, so no option of the curves goes with it.
std::optional<QString> workFile(const QCommandLineParser& parser) {
    const std::optional<QString> name = single(parser, kWork);
    if (!name) {
        return std::nullopt;
    }
    for (const QString& option :
         {kLength, kAngle, kIncrement, kCurve, kXCosine, kYCosine, kChords, kFactor}) {
        if (parser.isSet(option)) {
            throw BadUsage{u"--da non si usa con "_s + dashed(option) +
                           u": le curve sono quelle del lavoro salvato"_s};
        }
    }
    return name;
}

std::optional<QSize> pictureSize(const QCommandLineParser& parser) {
    const std::optional<QString> text = single(parser, kSize);
    if (!text) {
        return std::nullopt;
    }
    static const QRegularExpression form(u"^\\s*([+-]?\\d+)\\s*[xX\u00D7]\\s*([+-]?\\d+)\\s*$"_s);
    const QRegularExpressionMatch match = form.match(*text);
    if (!match.hasMatch()) {
        throw BadUsage{u"--dimensioni "_s + quoted(*text) +
                       u" non \u00E8 nella forma LARGHEZZAxALTEZZA, per esempio 1280x800"_s};
    }
    // Digits beyond the int range read as 0, which is out of range as well.
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (std::min(width, height) < kSmallestSide || std::max(width, height) > kLargestSide) {
        throw BadUsage{u"--dimensioni "_s + quoted(*text) +
                       u": ogni lato va da 16 a 16384 pixel"_s};
    }
    return QSize(width, height);
}

// One of `choices` (any case) for an option given at most once; its index.
std::optional<qsizetype> choice(const QCommandLineParser& parser, const QString& name,
                                const QStringList& choices) {
    const std::optional<QString> text = single(parser, name);
    if (!text) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (text->compare(choices[i], Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    throw BadUsage{dashed(name) + u' ' + quoted(*text) + u": si sceglie tra "_s +
                   choices.join(u", "_s)};
}

std::optional<int> dotsPerInch(const QCommandLineParser& parser) {
    const std::optional<QString> text = single(parser, kResolution);
    if (!text) {
        return std::nullopt;
    }
    const double value = number(kResolution, *text);
    if (value != std::floor(value) || value < output::kSmallestDotsPerInch ||
        value > output::kLargestDotsPerInch) {
        throw BadUsage{u"--dpi "_s + quoted(*text) +
                       u": la risoluzione \u00E8 un numero intero da 72 a 1200"_s};
    }
    return static_cast<int>(value);
}

std::optional<QPageLayout> paper(const QCommandLineParser& parser) {
    const std::optional<qsizetype> size = choice(parser, kPaper, {u"A3"_s, u"A4"_s, u"A5"_s});
    const std::optional<qsizetype> turn =
        choice(parser, kOrientation, {u"verticale"_s, u"orizzontale"_s});
    if (!size) {
        if (turn) {
            throw BadUsage{u"--orientamento si usa con --carta"_s};
        }
        return std::nullopt;
    }
    constexpr QPageSize::PageSizeId kSizes[] = {QPageSize::A3, QPageSize::A4, QPageSize::A5};
    return QPageLayout(QPageSize(kSizes[*size]),
                       turn == 0 ? QPageLayout::Portrait : QPageLayout::Landscape, QMarginsF());
}

output::PictureOptions pictureOptions(const QCommandLineParser& parser) {
    output::PictureOptions options;
    options.legend = parser.isSet(kLegend);
    options.screenBackground = choice(parser, kBackground, {u"bianco"_s, u"schermo"_s}) == 1;
    options.crop = parser.isSet(kCrop);
    options.dotsPerInch = dotsPerInch(parser);
    options.paper = paper(parser);
    options.orientByFigure = options.paper && !parser.isSet(kOrientation);
    return options;
}

// The drawing area when none is given: on paper, the sheet at true size.
QSize defaultArea(const output::PictureOptions& options) {
    if (!options.paper) {
        return kDefaultSize;
    }
    return output::roomOn(*options.paper).toSize();
}

double calibrationFactor(const QCommandLineParser& parser, QSize size) {
    const std::optional<QString> text = single(parser, kFactor);
    if (!text) {
        // One user unit as long across as down on square pixels.
        return static_cast<double>(size.height()) / size.width();
    }
    const double factor = number(kFactor, *text);
    if (factor < kSmallestFactor || factor > kLargestFactor) {
        throw BadUsage{u"--fattore "_s + quoted(*text) + u": il fattore va da 0,1 a 10"_s};
    }
    return factor;
}

// The curves of --lunghezza, --angolo and --incremento, each with the check
// boxes and the chord command of --x-cos, --y-cos and --corde. Given --curva
// and none of the three, there are none; else at least the one of the
// defaults.
std::vector<Curve> familyCurves(const QCommandLineParser& parser) {
    if (parser.isSet(kCurve) &&
        !(parser.isSet(kLength) || parser.isSet(kAngle) || parser.isSet(kIncrement))) {
        for (const QString& flag : {kXCosine, kYCosine, kChords}) {
            if (parser.isSet(flag)) {
                // Given alone with --curva, it would tick nothing.
                throw BadUsage{dashed(flag) +
                               u" vale per le curve di --lunghezza, --angolo e --incremento; "
                               u"a una curva di --curva si aggiunge cos\u00EC: 86:55:1:"_s +
                               flag};
            }
        }
        return {};
    }
    const QList<double> lengths = numbers(parser, kLength);
    const QList<double> angles = numbers(parser, kAngle);
    const QList<double> increments = numbers(parser, kIncrement);
    const qsizetype count =
        std::max({qsizetype(1), lengths.size(), angles.size(), increments.size()});
    const auto nth = [](const QList<double>& values, qsizetype i, double fallback) {
        return values.isEmpty() ? fallback : values[std::min(i, values.size() - 1)];
    };
    const Curve defaults;
    std::vector<Curve> result;
    result.reserve(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i) {
        result.push_back({nth(lengths, i, defaults.VALa), nth(angles, i, defaults.VALb),
                          nth(increments, i, defaults.VALe), parser.isSet(kXCosine),
                          parser.isSet(kYCosine), parser.isSet(kChords)});
    }
    return result;
}

// The curves in the order plotted: those of --lunghezza and its kin, then
// each --curva in turn.
std::vector<Curve> curves(const QCommandLineParser& parser) {
    std::vector<Curve> result = familyCurves(parser);
    for (const QString& text : parser.values(kCurve)) {
        std::variant<Curve, QString> curve = parseCurveOption(text);
        if (const QString* fault = std::get_if<QString>(&curve)) {
            throw BadUsage{u"--curva "_s + quoted(text) + u": "_s + *fault};
        }
        result.push_back(std::get<Curve>(curve));
    }
    return result;
}

Request requestOf(const QCommandLineParser& parser) {
    if (!parser.positionalArguments().isEmpty()) {
        throw BadUsage{u"argomento inatteso: "_s + quoted(parser.positionalArguments().first())};
    }
    Request request;
    if (parser.isSet(kConstruction)) {
        std::tie(request.file, request.construction) = animationFile(parser);
    } else {
        request.file = pictureFile(parser);
    }
    request.standardOutput = request.file.name == kStandardOutput;
    request.workFile = workFile(parser);
    request.options = pictureOptions(parser);
    if (request.workFile) {
        request.size = pictureSize(parser).value_or(QSize());
        return request;
    }
    request.size = pictureSize(parser).value_or(defaultArea(request.options));
    request.Incr = calibrationFactor(parser, request.size);
    request.curves = curves(parser);
    return request;
}

Reply badUsage(const QString& message) {
    return {message + u"\nPer l'aiuto: lumetra --help"_s, kBadUsage};
}

} // namespace

std::variant<Request, Reply> parseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Disegna le curve di LUMETRA in un file PNG, SVG o PDF, senza finestre.\n"
        u"Senza argomenti LUMETRA apre invece le sue finestre; con il solo nome di "
        u"un'immagine scritta da LUMETRA le apre sul suo lavoro."_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    addOptions(parser);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return badUsage(unknown.isEmpty() ? parser.errorText()
                                          : u"opzione sconosciuta: "_s + dashed(unknown.first()));
    }
    if (parser.isSet(help) || parser.isSet(u"help-all"_s)) {
        return Reply{parser.helpText(), kWritten};
    }
    if (parser.isSet(version)) {
        return Reply{u"lumetra "_s + QCoreApplication::applicationVersion() + u'\n', kWritten};
    }
    try {
        return requestOf(parser);
    } catch (const BadUsage& fault) {
        return badUsage(fault.message);
    }
}

} // namespace lumetra::cli
