// Read-only INI reader with the simple rules the model, language and definition files use.
#include "foundation/u_iniex.h"

#include <iterator>

#include "foundation/u_text.h"

namespace kx {

TIniFileEx::TIniFileEx(const std::filesystem::path& fileName) : m_fileName(fileName.string()) {
    if (auto bytes = ReadFileBytes(fileName)) {
        m_lines = SplitLines(Cp1252ToUtf8(*bytes));
    }
    Parse();
}

TIniFileEx::TIniFileEx(std::istream& stream) {
    std::string bytes;
    try {
        bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    } catch (...) {
        bytes.clear();
    }
    if (!stream.bad()) {
        m_lines = SplitLines(Cp1252ToUtf8(bytes));
    }
    Parse();
}

TIniFileEx::TIniFileEx(const std::vector<std::string>& lines) : m_lines(lines) {
    Parse();
}

TIniFileEx TIniFileEx::FromBytes(std::string_view bytes) {
    return TIniFileEx(SplitLines(Cp1252ToUtf8(bytes)));
}

void TIniFileEx::Parse() {
    m_sections.clear();
    m_sectionIndex.clear();
    m_keyIndex.clear();
    for (const std::string& line : m_lines) {
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            // The first and the last character go, whatever they are; nothing is trimmed.
            TIniFileSection section;
            section.Name = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
            m_sectionIndex.emplace(LowerCase(section.Name), m_sections.size());
            m_sections.push_back(std::move(section));
            m_keyIndex.emplace_back();
            continue;
        }
        if (m_sections.empty()) {
            continue;
        }
        auto& section = m_sections.back();
        const size_t eq = line.find('=');
        if (eq != std::string::npos) {
            m_keyIndex.back().emplace(LowerCase(std::string_view(line).substr(0, eq)),
                                      section.Lines.size());
        }
        section.Lines.push_back(line);
    }
}

const TIniFileSection* TIniFileEx::FindSection(std::string_view section) const {
    auto it = m_sectionIndex.find(LowerCase(section));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

bool TIniFileEx::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::string TIniFileEx::ReadString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
    const TIniFileSection* found = FindSection(section);
    if (!found) {
        return std::string(def);
    }
    if (key.find('=') == std::string_view::npos) {
        // Without "=" in the key, "line begins with key=" means exactly that the text before
        // the line's first "=" is the key, which is what the index holds.
        const auto& index = m_keyIndex[static_cast<size_t>(found - m_sections.data())];
        auto it = index.find(LowerCase(key));
        if (it == index.end()) {
            return std::string(def);
        }
        return found->Lines[it->second].substr(key.size() + 1);
    }
    for (const std::string& line : found->Lines) {
        if (line.size() > key.size() && line[key.size()] == '=' && StartsWithText(line, key)) {
            return line.substr(key.size() + 1);
        }
    }
    return std::string(def);
}

int32_t TIniFileEx::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
    return StrToIntDef(ReadString(section, key, IntToStr(def)), def);
}

}  // namespace kx
