// The command-line options that print something and end the program before any window opens.
#pragma once

#include <string>
#include <vector>

namespace kx {

class TkxLanguage;

enum class TInfoOption { None, Help, Version, Unknown };

struct TInfoRequest {
    TInfoOption Option = TInfoOption::None;
    std::string Word;  ///< the unknown option as given
};

/// "--help" (or "-h") and "--version" anywhere on the line; another word beginning with "--"
/// is unknown. Every other word keeps its meaning (SUPERMODUS, MINI, a model file), so a file
/// name that merely contains dashes still opens.
TInfoRequest FindInfoOption(const std::vector<std::string>& args);

/// The usage text of "--help", in the table's language.
std::string UsageText(const TkxLanguage& language);
/// "Korvex designer 1.8.2".
std::string VersionText();
/// The message for an unknown option, pointing at "--help".
std::string UnknownOptionText(const TkxLanguage& language, const std::string& word);

/// Exit status of a command line that could not be understood.
constexpr int kUsageExitCode = 2;

}  // namespace kx
