#include "pdfinfo.h"

#include <QRegularExpression>

namespace vok {

namespace {

// A text string as PDF readers take any language: UTF-16 with its byte order mark, in hex.
QByteArray textString(const QString& text) {
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() >> 8));
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

} // namespace

QByteArray PdfInfo::updateFor(const QByteArray& pdf) const {
    // The last trailer: the number of objects, the catalogue, and where its cross-reference is.
    static const QRegularExpression trailer(
        QStringLiteral("trailer\\s*<<(.*)>>\\s*startxref\\s*(\\d+)\\s*%%EOF\\s*$"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression size(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression root(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)"));
    const qsizetype tailStart = std::max<qsizetype>(0, pdf.size() - 4096);
    const QRegularExpressionMatch end = trailer.match(QString::fromLatin1(pdf.mid(tailStart)));
    if (!end.hasMatch())
        return {};
    const QString dictionary = end.captured(1);
    const QRegularExpressionMatch sizeMatch = size.match(dictionary);
    const QRegularExpressionMatch rootMatch = root.match(dictionary);
    if (!sizeMatch.hasMatch() || !rootMatch.hasMatch())
        return {};
    const int info = sizeMatch.captured(1).toInt();

    QByteArray out = "\n";
    const qsizetype infoOffset = pdf.size() + out.size();
    out += QByteArray::number(info) + " 0 obj\n<<\n/Title " + textString(title) + "\n/Subject " +
           textString(subject) + "\n/Creator " + textString(creator) + "\n/CreationDate (D:" +
           created.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
           "Z)\n>>\nendobj\n";
    const qsizetype xref = pdf.size() + out.size();
    // Each entry of a cross-reference section is exactly 20 bytes.
    out += "xref\n0 1\n0000000000 65535 f \n" + QByteArray::number(info) + " 1\n" +
           QByteArray::number(infoOffset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<<\n/Size " + QByteArray::number(info + 1) + "\n/Info " +
           QByteArray::number(info) + " 0 R\n/Root " + rootMatch.captured(1).toLatin1() +
           "\n/Prev " + end.captured(2).toLatin1() + "\n>>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

} // namespace vok
