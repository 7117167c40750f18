#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Where the compiled translations stand: installed under share/tonalux next
// to the program's bin/, or in the build tree.
QStringList TranslationFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program + QStringLiteral("/../share/tonalux/translations"), program + QStringLiteral("/translations"),
            QStringLiteral(TONALUX_BUILD_TRANSLATIONS)};
}

QTranslator& ProgramTranslator() {
    static QTranslator translator;
    return translator;
}

QTranslator& ToolkitTranslator() {
    static QTranslator translator;
    return translator;
}

}  // namespace

bool InstallTranslations(const QLocale& locale) {
    QCoreApplication::removeTranslator(&ProgramTranslator());
    QCoreApplication::removeTranslator(&ToolkitTranslator());
    if (ToolkitTranslator().load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&ToolkitTranslator());
    // A language without a translation of its own gets the English one,
    // which words the counts ("1 song", "2 songs").
    for (const QLocale& wanted : {locale, QLocale(QLocale::English)}) {
        for (const QString& folder : TranslationFolders()) {
            if (!ProgramTranslator().load(wanted, QStringLiteral("tonalux"), QStringLiteral("_"), QDir::cleanPath(folder)))
                continue;
            QCoreApplication::installTranslator(&ProgramTranslator());
            return wanted == locale || wanted.language() == locale.language();
        }
    }
    return false;
}
