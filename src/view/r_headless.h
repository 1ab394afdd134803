// A headless OpenGL 3.3 core context (EGL, Mesa surfaceless) for tools and tests.
#pragma once

#include <memory>
#include <string>

namespace kx {

class THeadlessContext {
public:
    /// Creates and makes current a context; check Valid() and Error().
    THeadlessContext();
    ~THeadlessContext();
    THeadlessContext(const THeadlessContext&) = delete;
    THeadlessContext& operator=(const THeadlessContext&) = delete;

    bool Valid() const { return m_valid; }
    const std::string& Error() const { return m_error; }
    void MakeCurrent();

private:
    struct TImpl;
    std::unique_ptr<TImpl> m_impl;
    bool m_valid = false;
    std::string m_error;
};

}  // namespace kx
