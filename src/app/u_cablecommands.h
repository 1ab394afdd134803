// The main window's commands that make parts' data: cables between plugs, rounding one part
// from the library's tile menu and every part (developer mode).
#pragma once

namespace kx {

class TMainForm;

/// Binds "Kabel erzeugen" and "Bauteile runden" to the form's command table and puts
/// "Bauteil runden (.nrm)" into the library's tile menu.
void BindCableAndRoundingCommands(TMainForm& form);

/// Keys of section MAIN for the captions these commands add.
inline constexpr int kRoundPartCaptionKey = 2201;  ///< "Bauteil runden (.nrm)"

}  // namespace kx
