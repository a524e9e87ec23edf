#pragma once

#include "captionset.h"

#include <QTranslator>

// The caption table's texts as Qt's translations: installed in the application, it has every
// QCoreApplication::translate(context, English) of Vok's code answer in the language chosen, so
// code below the language folder (the report engine's messages, what a report prints at run
// time) follows the interface language without knowing the table.
class CaptionTexts : public QTranslator {
    Q_OBJECT
public:
    explicit CaptionTexts(Language language, QObject* parent = nullptr);

    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }

private:
    Language language_;
};
