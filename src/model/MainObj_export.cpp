// The model's export operations: the writers over the model's scene, with its trace entries
// and its wait window.
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"

namespace kx {

namespace {

TModelExportResult Export(TScene& scene, TWaitView* wait, TExportFormat format,
                          const std::string& fileName, uint32_t background = 0xFFFFFF,
                          bool radiosity = false) {
    TExportOptions options;
    options.Background = background;
    options.Radiosity = radiosity;
    options.Title = Language().GetText("MAINOBJ", 27, "Korvex Designer");
    options.Wait = wait;
    options.WaitTitle = Language().GetText("MAINOBJ", 15, "Modell wird exportiert...");
    return ExportScene(scene, format, options, fileName);
}

}  // namespace

TModelExportResult TkxMain::ExportAsRaw(const std::string& fileName) {
    Stack().Push("tkxmain.ExportAsRaw", fileName);
    return Export(m_scene, m_wait, TExportFormat::Raw, fileName);
}

TModelExportResult TkxMain::ExportAsVRML(const std::string& fileName) {
    Stack().Push("tkxmain.ExportAsVRML", fileName);
    return Export(m_scene, m_wait, TExportFormat::Vrml, fileName);
}

TModelExportResult TkxMain::ExportAsPOV(const std::string& fileName, uint32_t backgroundColour,
                                        bool radiosity) {
    Stack().Push("tkxmain.ExportAsPOV", fileName, static_cast<int64_t>(backgroundColour),
                 radiosity);
    return Export(m_scene, m_wait, TExportFormat::Pov, fileName, backgroundColour, radiosity);
}

TModelExportResult TkxMain::ExportAsX3D(const std::string& fileName, bool flat) {
    Stack().Push("tkxmain.ExportAsX3D", fileName, flat);
    return Export(m_scene, m_wait, flat ? TExportFormat::X3DFlat : TExportFormat::X3DShaded,
                  fileName);
}

}  // namespace kx
