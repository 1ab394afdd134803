// Qt's own texts (file and colour dialogs, standard buttons, print dialogs) in the program's
// language.
#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <array>
#include <utility>

#include "foundation/u_text.h"

namespace kx {

namespace {
constexpr const char* kTranslatorName = "kxQtTranslator";
}

QString QtLocaleOfLanguage(const std::string& language) {
    static constexpr std::array<std::pair<const char*, const char*>, 12> kLocales{{
        {"DEUTSCH", "de"},
        {"FRANCAIS", "fr"},
        {"FRANÇAIS", "fr"},
        {"FRENCH", "fr"},
        {"NEDERLANDS", "nl"},
        {"DUTCH", "nl"},
        {"ITALIANO", "it"},
        {"ESPANOL", "es"},
        {"ESPAÑOL", "es"},
        {"DANSK", "da"},
        {"POLSKI", "pl"},
        {"CESKY", "cs"},
    }};
    const std::string upper = UpperCase(language);
    for (const auto& [name, locale] : kLocales) {
        if (upper == name) {
            return QString::fromLatin1(locale);
        }
    }
    return {};
}

bool InstallQtTranslations(const std::string& language) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        return false;
    }
    // The translator belongs to the application object, so it lives exactly as long as the
    // texts it serves; a language change replaces it.
    if (auto* old = app->findChild<QTranslator*>(QString::fromLatin1(kTranslatorName),
                                                 Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    const QString locale = QtLocaleOfLanguage(language);
    if (locale.isEmpty()) {
        return true;
    }
    auto* translator = new QTranslator(app);
    translator->setObjectName(QString::fromLatin1(kTranslatorName));
    if (!translator->load(QStringLiteral("qtbase_") + locale,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace kx
