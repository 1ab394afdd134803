// Qt's own texts (file and colour dialogs, standard buttons, print dialogs) in the program's
// language.
#pragma once

#include <QString>
#include <string>

namespace kx {

/// The locale name Qt's translation files use for a LANGUAGE setting ("DEUTSCH" -> "de");
/// empty for English and for languages Qt does not translate to, which keep Qt's own English.
QString QtLocaleOfLanguage(const std::string& language);

/// Installs Qt's translations for the language, replacing those installed before. Returns
/// false when a translation was wanted but could not be loaded (Qt's texts stay English).
bool InstallQtTranslations(const std::string& language);

}  // namespace kx
