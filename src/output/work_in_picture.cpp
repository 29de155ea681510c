// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/work_in_picture.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <array>
#include <cstdint>
#include <optional>

namespace lumetra::output {

namespace {

// The namespace of the work element in SVG and XMP.
const QString kWorkNamespace = QStringLiteral("https://lumetra.github.io/ns/work/1");
const QByteArray kPngKeyword = "LUMETRA";
const QByteArray kPngSignature = "\x89PNG\r\n\x1a\n";
// Pictures are small; a larger file is no picture LUMETRA wrote.
constexpr qint64 kLargestPicture = qint64{512} * 1024 * 1024;

std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

// The CRC-32 of a PNG chunk's type and data.
std::uint32_t pngCrc(QByteArrayView bytes) {
    static const std::array<std::uint32_t, 256> table = crcTable();
    std::uint32_t c = 0xFFFFFFFFU;
    for (const char byte : bytes) {
        c = table[(c ^ static_cast<std::uint8_t>(byte)) & 0xFFU] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFU;
}

void appendBigEndian(QByteArray& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes += static_cast<char>((value >> shift) & 0xFFU);
    }
}

std::uint32_t bigEndianAt(QByteArrayView bytes, qsizetype at) {
    std::uint32_t value = 0;
    for (qsizetype i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

QByteArray escaped(const QByteArray& text) {
    return QString::fromUtf8(text).toHtmlEscaped().toUtf8();
}

WorkError noWork() {
    return {QStringLiteral("non contiene un lavoro di LUMETRA")};
}

WorkError damagedPicture() {
    return {QStringLiteral("l'immagine \u00E8 danneggiata")};
}

// The text of the iTXt chunk "LUMETRA": uncompressed, no language.
std::variant<QByteArray, WorkError> pngWorkText(QByteArrayView png) {
    qsizetype at = kPngSignature.size();
    while (at + 12 <= png.size()) {
        const std::uint32_t length = bigEndianAt(png, at);
        if (length > static_cast<std::uint32_t>(png.size() - at - 12)) {
            return damagedPicture();
        }
        const QByteArrayView typeAndData = png.sliced(at + 4, 4 + qsizetype{length});
        const QByteArrayView type = typeAndData.first(4);
        const QByteArrayView data = typeAndData.sliced(4);
        if (type == "iTXt" && data.startsWith(kPngKeyword + '\0')) {
            if (bigEndianAt(png, at + 8 + qsizetype{length}) != pngCrc(typeAndData)) {
                return damagedPicture();
            }
            // keyword NUL, compression flag and method, language NUL, translated keyword NUL
            const QByteArrayView rest = data.sliced(kPngKeyword.size() + 1);
            if (rest.size() < 4 || rest[0] != '\0' || rest[1] != '\0' || rest[2] != '\0' ||
                rest[3] != '\0') {
                return damagedPicture();
            }
            return rest.sliced(4).toByteArray();
        }
        if (type == "IEND") {
            break;
        }
        at += 12 + qsizetype{length};
    }
    return noWork();
}

// The text of the work element in an SVG document or an XMP packet.
std::variant<QByteArray, WorkError> xmlWorkText(QByteArrayView xml) {
    QXmlStreamReader reader(xml.toByteArray());
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.namespaceUri() == kWorkNamespace &&
            reader.name() == QStringLiteral("work")) {
            const QString text = reader.readElementText();
            if (reader.hasError()) {
                return damagedPicture();
            }
            return text.toUtf8();
        }
    }
    return reader.hasError() ? damagedPicture() : noWork();
}

std::variant<QByteArray, WorkError> pdfWorkText(QByteArrayView pdf) {
    const qsizetype start = pdf.indexOf(QByteArrayView("<x:xmpmeta"));
    const QByteArrayView close("</x:xmpmeta>");
    const qsizetype end = start < 0 ? -1 : pdf.indexOf(close, start);
    if (end < 0) {
        return noWork();
    }
    return xmlWorkText(pdf.sliced(start, end - start + close.size()));
}

std::variant<QByteArray, WorkError> workTextIn(QByteArrayView bytes) {
    if (bytes.startsWith(kPngSignature)) {
        return pngWorkText(bytes);
    }
    if (bytes.startsWith("%PDF-")) {
        return pdfWorkText(bytes);
    }
    if (bytes.startsWith("<?xml") || bytes.startsWith("<svg")) {
        return xmlWorkText(bytes);
    }
    return WorkError{QStringLiteral("non \u00E8 un'immagine PNG, SVG o PDF")};
}

} // namespace

QByteArray pngWithWork(const QByteArray& png, const QByteArray& workText) {
    const QByteArray end = QByteArray("\0\0\0\0IEND", 8);
    const qsizetype endAt = png.lastIndexOf(end);
    if (endAt < 0) {
        return png;
    }
    const QByteArray typeAndData = "iTXt" + kPngKeyword + QByteArray(5, '\0') + workText;
    QByteArray chunk;
    appendBigEndian(chunk, static_cast<std::uint32_t>(typeAndData.size() - 4));
    chunk += typeAndData;
    appendBigEndian(chunk, pngCrc(typeAndData));
    return png.first(endAt) + chunk + png.sliced(endAt);
}

QByteArray svgWorkMetadata(const QByteArray& workText) {
    return "<metadata><lumetra:work xmlns:lumetra=\"" + kWorkNamespace.toUtf8() + "\">" +
           escaped(workText) + "</lumetra:work></metadata>\n";
}

QByteArray pdfWorkMetadata(const QString& title, const QByteArray& workText) {
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
           "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:lumetra=\"" +
           kWorkNamespace.toUtf8() + "\">\n<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
           escaped(title.toUtf8()) + "</rdf:li></rdf:Alt></dc:title>\n<lumetra:work>" +
           escaped(workText) +
           "</lumetra:work>\n</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n"
           "<?xpacket end=\"w\"?>";
}

std::variant<Work, WorkError> workInPicture(QByteArrayView bytes) {
    std::variant<QByteArray, WorkError> text = workTextIn(bytes);
    if (const WorkError* error = std::get_if<WorkError>(&text)) {
        return *error;
    }
    return parseWork(std::get<QByteArray>(text));
}

std::variant<Work, WorkError> readWorkFile(const QString& name) {
    const QFileInfo info(name);
    if (!info.exists()) {
        return WorkError{QStringLiteral("il file non esiste")};
    }
    if (info.isDir()) {
        return WorkError{QStringLiteral("\u00E8 una cartella")};
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        return WorkError{QStringLiteral("il file non si pu\u00F2 leggere")};
    }
    if (file.size() > kLargestPicture) {
        return WorkError{QStringLiteral("il file \u00E8 troppo grande per un'immagine")};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return WorkError{QStringLiteral("il file non si pu\u00F2 leggere")};
    }
    return workInPicture(bytes);
}

} // namespace lumetra::output
