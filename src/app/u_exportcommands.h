// The main window's export commands: RAW, VRML, POV-Ray and X3D from the scene as the view holds
// it, the exchange formats of today's 3D tools (STL, glTF, GLB, OBJ, 3MF), and the render manager.
#pragma once

namespace kx {

class TMainForm;
class TFormRenderManager;

/// Binds every item of "Datei" → "Export" but the parts list, and "Render-Manager", to the
/// form's command table.
void BindExportCommands(TMainForm& form);

/// The form's render manager, made on first use.
TFormRenderManager& RenderManager(TMainForm& form);

}  // namespace kx
