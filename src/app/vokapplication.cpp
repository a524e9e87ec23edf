#include "vokapplication.h"

#include "framework/dataset/databaseerror.h"
#include "framework/ui/errorbox.h"
#include "framework/ui/messages.h"

#include <QFileInfo>

VokApplication::VokApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vok"));
}

bool VokApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const vok::DatabaseError& e) {
        vok::ErrorBox::show(e.message());
    } catch (const std::exception& e) {
        vok::ErrorBox::show(QString::fromUtf8(e.what()));
    }
    return false;
}

void VokApplication::showApplicationError(const QString& kind, const QString& message) {
    const QString module = QFileInfo(applicationFilePath()).fileName();
    const QString stop =
        !message.isEmpty() && message.back() > QLatin1Char('.') ? QStringLiteral(".") : QString();
    const QString text =
        QStringLiteral("Exception %1 in module %2 at %3.\n%4%5")
            .arg(kind, module.isEmpty() ? QStringLiteral("vok") : module,
                 QStringLiteral("%1").arg(0, 8, 16, QLatin1Char('0')).toUpper(), message, stop);
    vok::Messages::show(vok::Messages::Request{
        vok::Messages::Icon::Stop, QStringLiteral("Application Error"), text, QMessageBox::Ok});
}
