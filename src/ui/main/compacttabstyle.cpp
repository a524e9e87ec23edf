#include "compacttabstyle.h"

CompactTabStyle::CompactTabStyle(QObject* parent) : QProxyStyle() {
    setParent(parent);
}

int CompactTabStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (metric == PM_TabBarTabHSpace)
        return 12;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
