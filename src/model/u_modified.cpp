// Whether the model differs from its file: the flag, the saved state it is measured against,
// and the port that shows it.
#include "model/MainObj.h"

namespace kx {

void TkxMain::SetModified(bool modified) {
    if (m_modified == modified) {
        return;
    }
    m_modified = modified;
    m_view->ModifiedChanged(modified);
}

std::vector<std::string> TkxMain::ComparableLines() const {
    TModelFile file = ToModelFile();
    file.HasCamera = false;
    file.Camera = {};
    return ModelFileLines(file);
}

void TkxMain::MarkSaved() {
    m_savedLines = ComparableLines();
    SetModified(false);
}

}  // namespace kx
