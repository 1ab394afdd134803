// The user-interface language table: texts by section and number with a German default.
#include "foundation/u_language.h"

#include "foundation/u_param.h"
#include "foundation/u_text.h"

namespace kx {

TkxLanguage::TkxLanguage(TkxParam& param)
    : m_table(std::filesystem::path(param.ProgramDir + param.GetLanguage() + ".lng")) {}

TkxLanguage::TkxLanguage(const std::filesystem::path& languageFile) : m_table(languageFile) {}

std::string TkxLanguage::GetText(std::string_view section, int number, std::string_view def) const {
    std::string key = IntToStr(number);
    if (key.size() < 5) {
        key.insert(0, 5 - key.size(), '0');
    }
    std::string text = m_table.ReadString(section, key, "");
    if (text.empty()) {
        if (m_missing) {
            m_missing(section, number);
        }
        return std::string(def);
    }
    return text;
}

namespace {

std::unique_ptr<TkxLanguage>& CurrentLanguage() {
    static std::unique_ptr<TkxLanguage> current = std::make_unique<TkxLanguage>();
    return current;
}

}  // namespace

TkxLanguage& Language() {
    return *CurrentLanguage();
}

std::unique_ptr<TkxLanguage> SetLanguage(std::unique_ptr<TkxLanguage> language) {
    auto& current = CurrentLanguage();
    std::unique_ptr<TkxLanguage> previous = std::move(current);
    current = language ? std::move(language) : std::make_unique<TkxLanguage>();
    return previous;
}

}  // namespace kx
