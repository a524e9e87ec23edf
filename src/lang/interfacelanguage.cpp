#include "interfacelanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWidget>

InterfaceLanguage::InterfaceLanguage(const QList<QObject*>& windows, QWidget* mainWindow,
                                     QObject* parent)
    : QObject(parent), applier_(windows), mainWindow_(mainWindow) {}

InterfaceLanguage::~InterfaceLanguage() {
    if (qtTexts_)
        QCoreApplication::removeTranslator(qtTexts_.get());
    if (texts_)
        QCoreApplication::removeTranslator(texts_.get());
}

void InterfaceLanguage::TranslateInterface(int language) {
    apply(CaptionSet::language(language));
    if (mainWindow_)
        mainWindow_->update();
}

void InterfaceLanguage::SetEnglishCaptions() {
    apply(Language::English);
}

void InterfaceLanguage::SetFrenchCaptions() {
    apply(Language::French);
}

void InterfaceLanguage::SetSpanishCaptions() {
    apply(Language::Spanish);
}

void InterfaceLanguage::apply(Language language) {
    applier_.apply(language);
    translateQtTexts(language);
}

void InterfaceLanguage::translateQtTexts(Language language) {
    if (qtTexts_) {
        QCoreApplication::removeTranslator(qtTexts_.get());
        qtTexts_.reset();
    }
    if (texts_) {
        QCoreApplication::removeTranslator(texts_.get());
        texts_.reset();
    }
    if (language == Language::English)
        return;
    texts_ = std::make_unique<CaptionTexts>(language);
    QCoreApplication::installTranslator(texts_.get());
    auto texts = std::make_unique<QTranslator>();
    const QString name =
        language == Language::French ? QStringLiteral("qtbase_fr") : QStringLiteral("qtbase_es");
    // Without the translations installed, Qt's texts stay English.
    if (texts->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(texts.get()))
        qtTexts_ = std::move(texts);
}
