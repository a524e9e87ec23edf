#include "captionapplier.h"

#include "framework/report/reportlabel.h"
#include "framework/report/reportsysdata.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbgrid.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <stdexcept>

namespace {

using Getter = std::function<QString()>;
using Setter = std::function<void(const QString&)>;

QList<QRadioButton*> radioItems(QObject* o) {
    auto* box = qobject_cast<QGroupBox*>(o);
    return box ? box->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly)
               : QList<QRadioButton*>();
}

QTabWidget* tabPageOf(QObject* o) {
    auto* w = qobject_cast<QWidget*>(o);
    // A tab sheet sits in the tab widget's page stack.
    QWidget* stack = w ? w->parentWidget() : nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(stack ? stack->parentWidget() : nullptr);
    return tabs && tabs->indexOf(w) >= 0 ? tabs : nullptr;
}

// The getter and setter of an object of the caption's kind; empty when it is of another kind.
std::pair<Getter, Setter> access(const Caption& c, QObject* o) {
    const auto caption = [](auto* w) -> std::pair<Getter, Setter> {
        if (!w)
            return {};
        return {[w] { return w->text(); }, [w](const QString& t) { w->setText(t); }};
    };
    switch (c.kind) {
    case CaptionKind::Window:
    case CaptionKind::Text:
        return {};
    case CaptionKind::Label:
        return caption(qobject_cast<QLabel*>(o));
    case CaptionKind::Button:
        return caption(qobject_cast<QPushButton*>(o));
    case CaptionKind::CheckBox:
        return caption(qobject_cast<QCheckBox*>(o));
    case CaptionKind::SpeedButton:
        return caption(qobject_cast<QToolButton*>(o));
    case CaptionKind::GroupBox:
    case CaptionKind::RadioGroup: {
        auto* box = qobject_cast<QGroupBox*>(o);
        // A radio group is a group box of radio items; a plain group box has none.
        if (!box || radioItems(box).isEmpty() != (c.kind == CaptionKind::GroupBox))
            return {};
        return {[box] { return box->title(); }, [box](const QString& t) { box->setTitle(t); }};
    }
    case CaptionKind::TabSheet: {
        QTabWidget* tabs = tabPageOf(o);
        if (!tabs)
            return {};
        auto* sheet = static_cast<QWidget*>(o);
        return {[tabs, sheet] { return tabs->tabText(tabs->indexOf(sheet)); },
                [tabs, sheet](const QString& t) { tabs->setTabText(tabs->indexOf(sheet), t); }};
    }
    case CaptionKind::Hint: {
        auto* w = qobject_cast<QWidget*>(o);
        if (!qobject_cast<QAbstractItemView*>(o) && !qobject_cast<vok::DBCtrlGrid*>(o))
            return {};
        return {[w] { return w->toolTip(); }, [w](const QString& t) { w->setToolTip(t); }};
    }
    case CaptionKind::Column: {
        auto* grid = qobject_cast<vok::DBGrid*>(o);
        if (!grid || c.index >= grid->columnCount())
            return {};
        const int column = c.index;
        return {[grid, column] { return grid->columnTitle(column); },
                [grid, column](const QString& t) { grid->setColumnTitle(column, t); }};
    }
    case CaptionKind::Item: {
        const QList<QRadioButton*> items = radioItems(o);
        return c.index < items.size() ? caption(items[c.index]) : std::pair<Getter, Setter>();
    }
    case CaptionKind::MenuItem:
        if (auto* menu = qobject_cast<QMenu*>(o))
            return {[menu] { return menu->title(); },
                    [menu](const QString& t) { menu->setTitle(t); }};
        return caption(qobject_cast<QAction*>(o));
    case CaptionKind::ReportLabel: {
        // A plain label: not a field, a sum or system data, which print values of their own.
        auto* label = qobject_cast<vok::ReportLabel*>(o);
        return label && label->metaObject() == &vok::ReportLabel::staticMetaObject
                   ? caption(label)
                   : std::pair<Getter, Setter>();
    }
    case CaptionKind::SysData:
        return caption(qobject_cast<vok::ReportSysData*>(o));
    }
    return {};
}

} // namespace

CaptionApplier::CaptionApplier(const QList<QObject*>& windows) {
    for (QObject* w : windows)
        windows_.insert(w->objectName(), w);
}

CaptionApplier::Target CaptionApplier::resolve(const Caption& c, QString* problem) const {
    QObject* window = windows_.value(c.window);
    if (!window) {
        *problem = c.target() + QStringLiteral(": there is no window ") + c.window;
        return {};
    }
    if (c.kind == CaptionKind::Window) {
        auto* w = qobject_cast<QWidget*>(window);
        if (!w) {
            *problem =
                c.target() + QStringLiteral(": ") + c.window + QStringLiteral(" is no window");
            return {};
        }
        return {[w] { return w->windowTitle(); }, [w](const QString& t) { w->setWindowTitle(t); }};
    }
    // A caption repeated in every panel of a control grid belongs to the grid's line.
    if (c.kind == CaptionKind::Label) {
        for (vok::DBCtrlGrid* grid : window->findChildren<vok::DBCtrlGrid*>()) {
            const QList<vok::CtrlGridDesign::Line>& lines = grid->design().lines;
            for (int line = 0; line < lines.size(); ++line) {
                if (lines[line].captionName != c.component)
                    continue;
                return {[grid, line] { return grid->design().lines[line].caption; },
                        [grid, line](const QString& t) { grid->setLineCaption(line, t); }};
            }
        }
    }
    const QList<QObject*> named = window->findChildren<QObject*>(c.component);
    QList<std::pair<Getter, Setter>> found;
    for (QObject* o : named) {
        auto a = access(c, o);
        if (a.first)
            found << a;
    }
    if (found.size() == 1)
        return {found[0].first, found[0].second};
    if (found.size() > 1) {
        *problem = c.target() + QStringLiteral(": %1 components bear that name").arg(found.size());
    } else if (named.isEmpty()) {
        *problem = c.target() + QStringLiteral(": no such component");
    } else {
        *problem = c.target() + QStringLiteral(": the component is a ") +
                   QString::fromLatin1(named[0]->metaObject()->className()) +
                   (c.index >= 0 ? QStringLiteral(" without that index") : QString());
    }
    return {};
}

CaptionApplier::Target CaptionApplier::resolveOrThrow(const Caption& c) const {
    QString problem;
    Target t = resolve(c, &problem);
    if (!t.get)
        throw std::runtime_error(problem.toStdString());
    return t;
}

QString CaptionApplier::problem(const Caption& c) const {
    QString problem;
    resolve(c, &problem);
    return problem;
}

QString CaptionApplier::text(const Caption& c) const {
    return resolveOrThrow(c).get();
}

void CaptionApplier::setText(const Caption& c, const QString& text) const {
    resolveOrThrow(c).set(text);
}

void CaptionApplier::apply(Language language, const QList<Caption>& captions) const {
    for (const Caption& c : captions) {
        if (!hasWindow(c.window))
            continue; // a window this process did not make, as a report printed alone
        QString problem;
        if (const Target t = resolve(c, &problem); t.set)
            t.set(c.text(language));
        else
            qWarning("%s", qPrintable(problem));
    }
}
