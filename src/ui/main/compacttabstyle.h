#pragma once

#include <QProxyStyle>

// The application's style with narrower room around tab captions, so that the six tabs of the
// project page fit side by side in the page's width.
class CompactTabStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit CompactTabStyle(QObject* parent);
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
