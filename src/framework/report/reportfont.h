#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace vok {

// A font as a report names it ("Arial", 8 point, bold...). Reports are laid out with the
// metric-compatible free fonts that stand in for the names they use, measured in 1/96 inch,
// so a layout is the same on every machine and on every device it is painted on.
class ReportFont {
public:
    ReportFont() = default;
    explicit ReportFont(QString family, qreal pointSize = 10, bool bold = false,
                        bool underline = false);

    QString family = QStringLiteral("Arial");
    qreal pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    // The font to paint with, at its point size.
    QFont toQFont() const;

    // Measurements in 1/96 inch.
    qreal textWidth(const QString& text) const;
    qreal lineHeight() const;
    // Height of the text wrapped at word boundaries into the given width.
    qreal wrappedHeight(const QString& text, qreal width) const;
    // The lines of the text wrapped as wrappedHeight measures them, without their line ends.
    QStringList wrappedLines(const QString& text, qreal width) const;

    bool operator==(const ReportFont& other) const = default;

    // Maps the family names reports use onto installed fonts; called before any measurement.
    static void installSubstitutions();
};

size_t qHash(const ReportFont& font, size_t seed = 0);

} // namespace vok
