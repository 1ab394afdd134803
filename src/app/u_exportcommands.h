// The main window's exports: the model's own formats (RAW, VRML, POV-Ray, X3D) and the
// exchange formats of today's 3D tools (STL, glTF, GLB, OBJ, 3MF).
#pragma once

namespace kx {

class TMainForm;

/// Binds every command of "Export" but the parts list; each tells what happened: the file
/// written in the status bar, or why it failed in a message.
void BindExchangeExportCommands(TMainForm& form);

}  // namespace kx
