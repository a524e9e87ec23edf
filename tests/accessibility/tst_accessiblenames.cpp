// Every input of every window has a name for assistive tools: a label that is its buddy, or the
// caption of the tab or group it fills. Read in-process through Qt's accessibility interfaces,
// hidden pages and dialogs included; tst_atspi.py meets the main window over the real bus.
#include "costs/tform18.h"
#include "costs/tform19.h"
#include "data/tdatamodule2.h"
#include "reports/tform4.h"
#include "reports/tform5.h"
#include "support/testenvironment.h"
#include "timesheets/tform10.h"
#include "timesheets/tform11.h"
#include "timesheets/tform12.h"
#include "ui/main/tform1.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QtTest>

namespace {

bool isInput(QAccessible::Role role) {
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::Dial:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
        return true;
    default:
        return false;
    }
}

// Whether a screen reader can say what an input is for. On Linux a combo box's name is its value;
// what it is for comes from the label it is labelled by.
bool isNamed(QAccessibleInterface* a) {
    for (const auto& [label, relation] : a->relations(QAccessible::Label)) {
        if (!label->text(QAccessible::Name).trimmed().isEmpty())
            return true;
    }
    return a->role() != QAccessible::ComboBox && !a->text(QAccessible::Name).trimmed().isEmpty();
}

// The inputs of a window that a screen reader could only call by their kind.
QStringList namelessInputs(QWidget* window) {
    QStringList out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // Popups are windows of their own; a combo box's or spin box's edit is a part of it.
        if (w->window() != window || qobject_cast<QComboBox*>(w->parentWidget()) ||
            qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (a && isInput(a->role()) && !isNamed(a))
            out << QStringLiteral("%1 (%2)").arg(w->objectName(),
                                                 QString::fromLatin1(w->metaObject()->className()));
    }
    out.sort();
    return out;
}

} // namespace

class TestAccessibleNames : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    // Every window of the process, made as the start-up makes them.
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TDataModule2> dm;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm10> form10;
    std::unique_ptr<TForm11> form11;
    std::unique_ptr<TForm12> form12;
    std::unique_ptr<TForm18> form18;
    std::unique_ptr<TForm19> form19;

private Q_SLOTS:
    void initTestCase() {
        env = std::make_unique<TestEnvironment>();
        form1 = std::make_unique<TForm1>();
        dm = std::make_unique<TDataModule2>();
        form1->setDataModule(dm.get());
        form4 = std::make_unique<TForm4>(form1.get(), dm.get());
        form5 = std::make_unique<TForm5>(form1.get(), dm.get(), form4.get());
        form10 = std::make_unique<TForm10>(dm.get());
        form11 = std::make_unique<TForm11>(dm.get(), form10.get());
        form12 = std::make_unique<TForm12>(dm.get());
        form18 = std::make_unique<TForm18>(dm.get());
        form19 = std::make_unique<TForm19>(dm.get());
    }
    void cleanupTestCase() {
        form19.reset();
        form18.reset();
        form12.reset();
        form11.reset();
        form10.reset();
        form5.reset();
        form4.reset();
        form1.reset();
        dm.reset();
        env.reset();
    }

    void everyInputHasAName_data() {
        QTest::addColumn<QWidget*>("window");
        // Menus and popups are top-level widgets too; the windows are the forms.
        QMap<QString, QWidget*> windows;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            const QString name = QString::fromLatin1(w->metaObject()->className());
            if (name.startsWith(QLatin1String("TForm")))
                windows.insert(name, w);
        }
        for (auto it = windows.cbegin(); it != windows.cend(); ++it)
            QTest::newRow(qPrintable(it.key())) << it.value();
    }
    void everyInputHasAName() {
        QFETCH(QWidget*, window);
        const QStringList nameless = namelessInputs(window);
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
