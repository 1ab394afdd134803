// The jog dial's quick commands and its geometry.
#include "motion/u_JogTypes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/u_language.h"

namespace kx {

namespace {

struct TJogRow {
    const char* Resource;
    const char* Caption;
    const char* Command;
};

constexpr TJogRow kRows[kJogTypeCount] = {
    {"DELETE", "Bauteil(e)|löschen", "menDelete"},
    {"RULER", "Bemaßung hinzufügen", "menAddMeasurement"},
    {"DUPLICATE", "Bauteil(e)|duplizieren", "menDuplicate"},
    {"SELECTALL", "Alles selektieren", "menSelectAll"},
    {"SELECTNONE", "Selektion aufheben", "menDeselectAll"},
    {"CAMERATARGET", "Bauteil als|Kamera-Mittelpunkt", "menCameraCenter"},
    {"SELECTALLSTAGE", "Alle Bauteile aus|der aktuellen Bauphase|selektieren", "menSelectPhase"},
    {"ALIGN", "Bauteile ausrichten", "menAlign"},
    {"UNDO", "Rückgängig", "menUndo"},
    {"CABLE", "Kabel erzeugen", "menCable"},
    {"SEARCH", "Suchen", "menSearch"},
    {"GROUP", "Bauteile|gruppieren", "menGroup"},
    {"DEGROUP", "Bauteilgruppe|auflösen", "menDeGroup"},
    {"MANAGERKOORD", "Koordinaten|Manager", "menCoordinates"},
};

const TJogRow* Row(int type) {
    return type >= 1 && type <= kJogTypeCount ? &kRows[type - 1] : nullptr;
}

}  // namespace

std::string JogTypeResource(int type) {
    const TJogRow* row = Row(type);
    return row ? row->Resource : "";
}

const char* JogTypeDefaultCaption(int type) {
    const TJogRow* row = Row(type);
    return row ? row->Caption : "";
}

std::string JogTypeCaption(int type) {
    const TJogRow* row = Row(type);
    if (!row) {
        return {};
    }
    std::string text = Language().GetText("D_JOG", type, row->Caption);
    std::replace(text.begin(), text.end(), '|', '\n');
    return text;
}

std::string JogTypeCommand(int type) {
    const TJogRow* row = Row(type);
    return row ? row->Command : "";
}

uint8_t JogSlotFromSetting(int32_t value) {
    return value >= 0 && value <= kJogTypeCount ? static_cast<uint8_t>(value) : 0;
}

int JogSectorAt(int x, int y, int current) {
    const double half = kJogDialSize / 2.0;
    const double dx = x - half;
    const double dy = y - half;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d <= kJogInnerRadius) {
        return current;
    }
    // c: the clockwise angle from straight up, 0 <= c < 360.
    double c = std::asin(dx / d) * 180 / std::numbers::pi;
    if (y > half) {
        c = 180 - c;
    } else if (c < 0) {
        c += 360;
    }
    double e = c + 22.5;
    if (e > 360) {
        e -= 360;
    }
    return std::clamp(static_cast<int>(e / 45), 0, kJogSectorCount - 1);
}

TJogPoint JogDialPlacement(int x, int y, const TJogScreen& screen) {
    const int half = kJogDialSize / 2;
    const int right = screen.Left + screen.Width - kJogDialSize;
    const int bottom = screen.Top + screen.Height - kJogDialSize;
    return {std::max(screen.Left, std::min(x - half, right)),
            std::max(screen.Top, std::min(y - half, bottom))};
}

}  // namespace kx
