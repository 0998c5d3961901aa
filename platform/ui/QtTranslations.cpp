#include "platform/ui/QtTranslations.h"

#include "platform/core/Log.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace lumo {

bool installQtTranslations(const QLocale& locale) {
    // Owned by the application, so it lives as long as the texts it gives;
    // the guard forgets it if the application goes first.
    static QPointer<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        log::debug("no Qt translation for " + locale.name().toStdString() + " in " +
                   folder.toStdString());
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    log::debug("Qt translation: " + translator->filePath().toStdString());
    return true;
}

} // namespace lumo
