// The command-line options that print something and end the program before any window opens.
#include "foundation/u_startoptions.h"

#include "foundation/u_language.h"

namespace kx {

TInfoRequest FindInfoOption(const std::vector<std::string>& args) {
    TInfoRequest result;
    for (const std::string& word : args) {
        if (word == "--help" || word == "-h") {
            return {TInfoOption::Help, word};
        }
        if (word == "--version") {
            return {TInfoOption::Version, word};
        }
        if (word.size() > 2 && word.compare(0, 2, "--") == 0 &&
            result.Option == TInfoOption::None) {
            result = {TInfoOption::Unknown, word};
        }
    }
    return result;
}

std::string UsageText(const TkxLanguage& language) {
    const auto text = [&](int number, std::string_view def) {
        return language.GetText("COMMANDLINE", number, def);
    };
    std::string out;
    out += text(1, "Aufruf: kxdesigner [SUPERMODUS] [MINI] [MODELL.kxm]") + "\n\n";
    out += text(2, "Startet Korvex designer und öffnet das angegebene Modell.") + "\n\n";
    out +=
        "  SUPERMODUS   " + text(3, "Entwicklermodus mit den Werkzeugen der Bauteilpflege") + "\n";
    out += "  MINI         " + text(4, "verkleinerte Bauteilbibliothek") + "\n";
    out += "  MODELL.kxm   " + text(5, "Modelldatei, die beim Start geladen wird") + "\n";
    out += "  --help       " + text(6, "diese Hilfe anzeigen und beenden") + "\n";
    out += "  --version    " + text(7, "die Version anzeigen und beenden") + "\n";
    return out;
}

std::string VersionText() {
    return std::string("Korvex designer ") + KX_VERSION;
}

std::string UnknownOptionText(const TkxLanguage& language, const std::string& word) {
    std::string text = language.GetText(
        "COMMANDLINE", 8, "Unbekannte Option \"%s\". \"kxdesigner --help\" zeigt die Optionen.");
    if (const size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, word);
    }
    return text;
}

}  // namespace kx
