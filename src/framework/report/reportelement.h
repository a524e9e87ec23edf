#pragma once

#include "reportcontext.h"
#include "reportitem.h"

#include <QObject>

namespace vok {

class ReportBand;

// Something printed in a band (or on every page): a text or a shape at a position relative to
// its band. Elements are children of their band and print in the order they were created; a
// handler may move, resize, show and hide them before their band prints.
class ReportElement : public QObject {
    Q_OBJECT
public:
    explicit ReportElement(ReportBand* band, const QString& name = {});

    ReportBand* band() const;

    qreal left() const { return rect_.left(); }
    qreal top() const { return rect_.top(); }
    qreal width() const { return rect_.width(); }
    qreal height() const { return rect_.height(); }
    QRectF geometry() const { return rect_; }
    void setLeft(qreal x) { rect_.moveLeft(x); }
    void setTop(qreal y) { rect_.moveTop(y); }
    void setWidth(qreal w) { rect_.setWidth(w); }
    void setHeight(qreal h) { rect_.setHeight(h); }
    void setGeometry(qreal x, qreal y, qreal w, qreal h) { rect_ = QRectF(x, y, w, h); }

    bool isVisible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }
    // A number that run-time code uses to find the elements it made.
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // How much taller than its box the element needs to be for its current content; only
    // stretching texts grow.
    virtual qreal growth(const ReportContext& context) const;
    // The item for the current content, in band coordinates.
    virtual ReportItem layOut(const ReportContext& context) const = 0;

protected:
    ReportItem baseItem(ReportItem::Kind kind) const;

private:
    QRectF rect_;
    bool visible_ = true;
    int tag_ = 0;
};

} // namespace vok
