// A model loaded without a window, from the program's part folders and the user's.
#include "batch/batchmodel.h"

#include <fstream>

#include "batch/batchjobs.h"
#include "foundation/u_language.h"

namespace kx {

/// The model's messages go to standard error; it asks nothing.
class TBatchModel::TView : public TNullModelView {
public:
    void ShowInformation(const std::string& text) override { BatchError(text); }
};

TBatchModel::TBatchModel() : m_view(std::make_unique<TView>()) {
    BuildMainScene(m_scene);
    m_model = std::make_unique<TkxMain>(m_scene, m_files);
    m_model->SetView(m_view.get());
    // As in the window: connector arrows belong to placing parts, not to pictures of a model.
    m_model->ConnectorsHidden = true;
}

TBatchModel::~TBatchModel() {
    m_model.reset();
}

bool TBatchModel::Load(const std::filesystem::path& file, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in || std::filesystem::is_directory(file)) {
        error = Language().GetText("KXBATCH", 1, "Die Datei kann nicht gelesen werden:") + " " +
                file.string();
        return false;
    }
    // Read from the stream without a file name: a batch run leaves the user's list of
    // recently opened models alone.
    const TModelFileResult result = m_model->LoadModell("", true, in);
    if (!result) {
        error = result.Error;
        return false;
    }
    m_model->FileName = file.string();
    return true;
}

}  // namespace kx
