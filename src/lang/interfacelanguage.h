#pragma once

#include "captionapplier.h"
#include "captiontexts.h"

#include <QObject>
#include <memory>

class QTranslator;
class QWidget;

// The language switch: applies a caption set to every window and report of the process, shown or
// not, and has Qt's own texts (standard buttons, file and print dialogs) follow. The windows'
// texts are the only state: nothing remembers the language, nor writes it back to the settings.
class InterfaceLanguage : public QObject {
    Q_OBJECT
public:
    // The windows and reports made at start-up; the main window is repainted after a switch.
    InterfaceLanguage(const QList<QObject*>& windows, QWidget* mainWindow,
                      QObject* parent = nullptr);
    ~InterfaceLanguage() override;

    const CaptionApplier& applier() const { return applier_; }

public Q_SLOTS:
    // 0 English, 1 French, 2 Spanish, any other index English; then repaints the main window.
    void TranslateInterface(int language);
    void SetEnglishCaptions();
    void SetFrenchCaptions();
    void SetSpanishCaptions();

private:
    void apply(Language language);
    // Qt's texts in that language, where the system has them (Debian qt6-translations-l10n),
    // and the texts Vok's code makes.
    void translateQtTexts(Language language);

    CaptionApplier applier_;
    QWidget* mainWindow_;
    std::unique_ptr<QTranslator> qtTexts_;
    std::unique_ptr<CaptionTexts> texts_;
};
