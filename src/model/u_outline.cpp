// Switching the outline drawing of part edges on or off for every placed part.
#include "model/u_outline.h"

#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/u_scene.h"

namespace kx {

void ChangeOutlineMode(TkxMain& model, bool on, int lineWidth) {
    Stack().Push("tkxmain.ChangeOutlineMode", on, lineWidth);
    model.OutlineMode = on;
    TMaterialLibrary& library = model.Scene().MaterialLibrary();
    for (const auto& record : model.Parts()) {
        TMaterialPtr material = library.Find("MAT" + record->Name());
        if (!material) {
            continue;
        }
        material->RemoveShader();
        if (on) {
            TOutLineShader shader;
            shader.LineWidth = static_cast<float>(lineWidth);
            shader.Lighting = true;
            // As a part added in outline mode has it: its own colour under the lines.
            const TColor4f& diffuse = material->Diffuse();
            shader.BackgroundColor = {diffuse.R, diffuse.G, diffuse.B};
            material->SetShader(shader);
        }
    }
    model.Repaint();
}

}  // namespace kx
