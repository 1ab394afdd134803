// The main window's exports to the exchange formats of today's 3D tools: STL, glTF, GLB, OBJ
// and 3MF.
#pragma once

namespace kx {

class TMainForm;

/// Binds "Export" → the five exchange formats to the form's command table.
void BindExchangeExportCommands(TMainForm& form);

}  // namespace kx
