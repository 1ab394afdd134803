// A model loaded without a window, from the program's part folders and the user's.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "catalogue/u_partfiles.h"
#include "model/MainObj.h"
#include "view/u_scene.h"

namespace kx {

class TBatchModel {
public:
    TBatchModel();
    ~TBatchModel();

    /// Loads a model file; false and why if it cannot be read. Parts whose definition is
    /// missing are reported on standard error and stand in the model as placeholders.
    bool Load(const std::filesystem::path& file, std::string& error);

    TkxMain& Model() { return *m_model; }
    const TPartFiles& Files() const { return m_files; }
    TScene& Scene() { return m_scene; }

private:
    class TView;
    TPartFiles m_files;
    TScene m_scene;
    std::unique_ptr<TView> m_view;
    std::unique_ptr<TkxMain> m_model;
};

}  // namespace kx
