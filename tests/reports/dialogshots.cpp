// Renders the five print dialogs on the demo data, opened from their menu items, and the preview
// each one shows, into PNG files:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/reports/vok_dialogshots OUTDIR
#include "app/exe/appwindows.h"
#include "framework/report/reportpreview.h"
#include "framework/ui/modal.h"
#include "reports/reportdialog.h"
#include "support/testenvironment.h"
#include "ui/main/mainwindow.h"
#include "ui/main/startupsequence.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QTest>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(out);
    TestEnvironment env;
    env.writeSettings(env.demoFolder(), QStringLiteral("0"));

    AppWindows windows;
    MainWindow& form = *windows.mainWindow;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    form.startup->run();
    QString name;
    vok::Modal::setHandler([&](QDialog* dialog) {
        dialog->show();
        QTest::qWait(300);
        const bool preview = qobject_cast<vok::ReportPreview*>(dialog);
        dialog->grab().save(QDir(out).filePath(
            name + (preview ? QStringLiteral("-preview.png") : QStringLiteral(".png"))));
        if (auto* print = qobject_cast<ReportDialog*>(dialog))
            print->previewButton->click();
        dialog->reject();
        return int(QDialog::Rejected);
    });
    const struct {
        QAction* item;
        const char* file;
    } dialogs[] = {{form.printTimeLineAction, "print-time-line"},
                   {form.printProjectAction, "print-project"},
                   {form.printLayoutAction, "print-layout"},
                   {form.printTimeSheetsAction, "print-time-sheets"},
                   {form.printCostsAction, "print-costs"}};
    for (const auto& d : dialogs) {
        name = QLatin1String(d.file);
        d.item->trigger();
    }
    return 0;
}
