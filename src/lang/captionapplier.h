#pragma once

#include "captionset.h"

#include <QHash>
#include <QList>
#include <QString>
#include <functional>

class QObject;

// Writes caption sets into windows and reports. Each target is found by name: its window among
// the objects handed over (by object name, "Form4", so that classes are free to be renamed), then
// the component among the window's children (by object name), of the kind the target expects.
// Captions that repeat in every panel of a control grid are found through the grid, which keeps
// them for panels made later.
class CaptionApplier {
public:
    explicit CaptionApplier(const QList<QObject*>& windows);

    // Writes one language into every target whose window is among those handed over.
    void apply(Language language, const QList<Caption>& captions = CaptionSet::all()) const;

    bool hasWindow(const QString& window) const { return windows_.contains(window); }
    // What is wrong with a target: empty when it names an existing element of its kind.
    QString problem(const Caption& caption) const;
    // The text a target shows now, and writing it; a target that does not resolve throws
    // std::runtime_error saying why.
    QString text(const Caption& caption) const;
    void setText(const Caption& caption, const QString& text) const;

private:
    struct Target {
        std::function<QString()> get;
        std::function<void(const QString&)> set;
    };
    Target resolve(const Caption& caption, QString* problem) const;
    Target resolveOrThrow(const Caption& caption) const;

    QHash<QString, QObject*> windows_;
};
