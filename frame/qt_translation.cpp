// Qt's shipped catalogues (Debian's qt6-translations-l10n), swapped on a language switch.
#include "frame/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace morvane {

namespace {

std::unique_ptr<QTranslator>& Installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

bool InstallQtTranslation(int language) {
    std::unique_ptr<QTranslator>& installed = Installed();
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    if (language != 1 && language != 2)
        return true;
    auto translator = std::make_unique<QTranslator>();
    const QString name =
        language == 1 ? QStringLiteral("qtbase_zh_CN") : QStringLiteral("qtbase_zh_TW");
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

} // namespace morvane
