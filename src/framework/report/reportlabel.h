#pragma once

#include "reportelement.h"
#include "reportfont.h"

#include <QColor>
#include <QString>

namespace vok {

// A text in a box: fixed or sized to its text, aligned left, right or centred (in its box or
// on the whole band), optionally wrapped at word boundaries inside a fixed box, on an opaque
// white background unless transparent, optionally with a line along its bottom edge.
class ReportLabel : public ReportElement {
    Q_OBJECT
public:
    explicit ReportLabel(ReportBand* band, const QString& name = {});

    const QString& text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    const ReportFont& font() const { return font_; }
    ReportFont& font() { return font_; }
    void setFont(const ReportFont& font) { font_ = font; }
    // Sized to the text: the width follows the text; a right-aligned text keeps its right
    // edge, a centred one its centre.
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on) { autoSize_ = on; }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on) { wordWrap_ = on; }
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment) { alignment_ = alignment; }
    // Aligned on the band rather than in the element's own box.
    bool alignToBand() const { return alignToBand_; }
    void setAlignToBand(bool on) { alignToBand_ = on; }
    bool transparent() const { return transparent_; }
    void setTransparent(bool on) { transparent_ = on; }
    bool frameBottom() const { return frameBottom_; }
    void setFrameBottom(bool on) { frameBottom_ = on; }
    const QColor& color() const { return color_; }
    void setColor(const QColor& color) { color_ = color; }
    // The caption this text is the value of, on the same line: the text starts at least `gap`
    // after the caption's end, as the caption's text measures in the language it prints in.
    void setFollows(const ReportLabel* caption, qreal gap = 4) {
        follows_ = caption;
        followGap_ = gap;
    }

    // The text printed now (a field's value, a date, a page number...).
    virtual QString displayText(const ReportContext& context) const;

    ReportItem layOut(const ReportContext& context) const override;
    // The item this element makes when it prints the given text.
    ReportItem layOutAs(const ReportContext& context, const QString& text) const;

protected:
    // The height of the box: as set, or one line of the font when none was set.
    qreal boxHeight(const ReportContext& context) const;

private:
    QString text_;
    ReportFont font_;
    bool autoSize_ = false;
    bool wordWrap_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool alignToBand_ = false;
    bool transparent_ = false;
    bool frameBottom_ = false;
    QColor color_ = Qt::black;
    const ReportLabel* follows_ = nullptr;
    qreal followGap_ = 0;
};

} // namespace vok
