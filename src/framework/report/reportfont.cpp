#include "reportfont.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QTextLayout>

namespace vok {

namespace {

// A paint device of exactly 96 dots per inch, so that one pixel is one measuring unit.
const QImage& measuringDevice() {
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_ARGB32);
        i.setDotsPerMeterX(3780); // rounds to 96 dpi
        i.setDotsPerMeterY(3780);
        return i;
    }();
    return image;
}

// Font engines round the pixel size to a whole number (an 8 point font at 96 dpi would be
// measured at 11 instead of 10.67 pixels), so texts are measured at this many times their size
// and the results scaled back. At 12 times, every whole and half point size is a whole number
// of pixels, and the engines still keep the glyphs' metrics: far larger sizes load every glyph
// again for every text measured.
constexpr qreal magnification = 12;

const QFontMetricsF& metricsOf(const ReportFont& font) {
    static QHash<ReportFont, QFontMetricsF> cache;
    auto it = cache.constFind(font);
    if (it == cache.constEnd()) {
        QFont large = font.toQFont();
        large.setPointSizeF(font.pointSize * magnification);
        it = cache.insert(font, QFontMetricsF(large, &measuringDevice()));
    }
    return it.value();
}

} // namespace

size_t qHash(const ReportFont& font, size_t seed) {
    return qHashMulti(seed, font.family, font.pointSize, font.bold, font.italic, font.underline);
}

ReportFont::ReportFont(QString family, qreal pointSize, bool bold, bool underline)
    : family(std::move(family)), pointSize(pointSize), bold(bold), underline(underline) {}

void ReportFont::installSubstitutions() {
    static const bool done = [] {
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
        QFont::insertSubstitutions(QStringLiteral("Courier New"),
                                   {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")});
        return true;
    }();
    Q_UNUSED(done);
}

QFont ReportFont::toQFont() const {
    installSubstitutions();
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    // Unhinted outlines: widths scale linearly, so what is measured here is what a printer or
    // a PDF shows.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

qreal ReportFont::textWidth(const QString& text) const {
    // Reports print the same captions, dates and names over and over.
    static QHash<ReportFont, QHash<QString, qreal>> widths;
    QHash<QString, qreal>& known = widths[*this];
    if (const auto it = known.constFind(text); it != known.constEnd())
        return it.value();
    if (known.size() > 50000)
        known.clear();
    const qreal width = metricsOf(*this).horizontalAdvance(text) / magnification;
    known.insert(text, width);
    return width;
}

qreal ReportFont::lineHeight() const {
    return metricsOf(*this).height() / magnification;
}

qreal ReportFont::wrappedHeight(const QString& text, qreal width) const {
    // Most memos hold one short line.
    if (text.isEmpty() || (!text.contains(QLatin1Char('\n')) && textWidth(text) <= width))
        return lineHeight();
    const QRectF r = metricsOf(*this).boundingRect(QRectF(0, 0, width * magnification, 1e9),
                                                   Qt::AlignLeft | Qt::TextWordWrap, text);
    return r.height() / magnification;
}

QStringList ReportFont::wrappedLines(const QString& text, qreal width) const {
    // A text layout breaks lines only at line separators, where a memo has line feeds.
    QString laidOut = text;
    laidOut.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    laidOut.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QFont large = toQFont();
    large.setPointSizeF(pointSize * magnification);
    QTextLayout layout(laidOut, large, &measuringDevice());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width * magnification);
        QString part = laidOut.mid(line.textStart(), line.textLength());
        while (part.endsWith(QChar::LineSeparator) || part.endsWith(QLatin1Char(' ')))
            part.chop(1);
        lines << part;
    }
    layout.endLayout();
    return lines;
}

} // namespace vok
