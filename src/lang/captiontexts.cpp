#include "captiontexts.h"

CaptionTexts::CaptionTexts(Language language, QObject* parent)
    : QTranslator(parent), language_(language) {}

QString CaptionTexts::translate(const char* context, const char* sourceText, const char*,
                                int) const {
    const QLatin1String window(context);
    const QString english = QString::fromUtf8(sourceText);
    for (const Caption& c : CaptionSet::texts()) {
        if (c.window == window && c.texts[0] == english)
            return c.text(language_);
    }
    return {}; // not Vok's: Qt's own translations answer
}
