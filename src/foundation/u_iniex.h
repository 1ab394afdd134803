// Read-only INI reader with the simple rules the model, language and definition files use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <istream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kx {

struct TIniFileSection {
    std::string Name;                ///< text between the brackets, case kept
    std::vector<std::string> Lines;  ///< every non-empty line of the section, unchanged
};

/// Sections start at lines beginning with "["; a lookup finds the first section of that
/// name and in it the first line beginning with "key=", both ignoring letter case. Nothing
/// is trimmed and there is no comment syntax.
class TIniFileEx {
public:
    TIniFileEx() = default;  ///< empty: every lookup gives its default
    /// Reads a Windows-1252 file; a missing or unreadable file gives an empty reader.
    explicit TIniFileEx(const std::filesystem::path& fileName);
    /// Reads Windows-1252 text from the stream's current position; errors give an empty reader.
    explicit TIniFileEx(std::istream& stream);
    /// Takes lines that are already UTF-8.
    explicit TIniFileEx(const std::vector<std::string>& lines);
    /// Braced lines; also keeps two strings in braces from being taken for a path's iterators.
    TIniFileEx(std::initializer_list<std::string> lines)
        : TIniFileEx(std::vector<std::string>(lines)) {}
    /// Windows-1252 bytes, for example a file that was read or downloaded already.
    static TIniFileEx FromBytes(std::string_view bytes);

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    /// Text that is not a whole number (or is empty) gives the default.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;

    bool SectionExists(std::string_view section) const;
    /// The first section of that name (ignoring case), or null.
    const TIniFileSection* FindSection(std::string_view section) const;
    /// Every section in file order, duplicates included.
    const std::vector<TIniFileSection>& Sections() const { return m_sections; }

    const std::string& FileName() const { return m_fileName; }
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    const std::vector<std::string>& Lines() const { return m_lines; }  ///< the raw text

private:
    void Parse();

    std::string m_fileName;
    std::vector<std::string> m_lines;
    std::vector<TIniFileSection> m_sections;
    // Lower-cased name -> first section of that name.
    std::unordered_map<std::string, size_t> m_sectionIndex;
    // Per section: lower-cased text before the first "=" -> first line with that key.
    std::vector<std::unordered_map<std::string, size_t>> m_keyIndex;
};

}  // namespace kx
