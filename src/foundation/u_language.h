// The user-interface language table: texts by section and number with a German default.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "foundation/u_iniex.h"

namespace kx {

class TkxParam;

class TkxLanguage {
public:
    TkxLanguage() = default;  ///< no table: every text is its default
    /// The language file of the current LANGUAGE setting: ProgramDir + LANGUAGE + ".lng".
    explicit TkxLanguage(TkxParam& param);
    explicit TkxLanguage(const std::filesystem::path& languageFile);
    explicit TkxLanguage(TIniFileEx table) : m_table(std::move(table)) {}

    /// The key is the number with at least five digits ("00003"); a missing or empty text
    /// gives the default.
    std::string GetText(std::string_view section, int number, std::string_view def) const;

    const TIniFileEx& Table() const { return m_table; }

    /// Told of every text the table lacks (missing or empty) when it is asked for: how a
    /// language file is checked for completeness.
    using TMissingText = std::function<void(std::string_view section, int number)>;
    void SetMissingTextObserver(TMissingText observer) { m_missing = std::move(observer); }

private:
    TIniFileEx m_table;
    TMissingText m_missing;
};

/// The process-wide language table; an empty table (all defaults) until one is set.
/// Used from the user-interface thread: a replacement frees the previous table.
TkxLanguage& Language();
/// Installs a new table (null: back to the empty one) and returns the previous one.
std::unique_ptr<TkxLanguage> SetLanguage(std::unique_ptr<TkxLanguage> language);

}  // namespace kx
