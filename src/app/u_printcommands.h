// The main window's parts-list commands: the CSV export, the picture of a phase's parts and
// the three printed parts sheets.
#pragma once

namespace kx {

class TMainForm;

/// Binds "Einzelteilübersicht (*.csv)", "Bauteile der Bauphase zeigen", "Drucken" →
/// "Einzelteilübersicht" and "Bibliothek", and "Sammlung drucken" to the form's command table.
void BindPrintCommands(TMainForm& form);

}  // namespace kx
