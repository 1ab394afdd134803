// The OpenGL 3.3 core renderer: draws a frame (flattened scene) into the current context.
#include "view/r_renderer.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "view/r_meshcache.h"
#include "view/r_programs.h"
#include "view/r_sceneframe.h"
#include "view/r_target.h"

namespace kx {

namespace {

uint64_t Mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
}

struct TBatchKey {
    const TMesh* Mesh;
    uint32_t Surface;
    bool Mirrored;
    bool operator==(const TBatchKey&) const = default;
};

struct TBatchKeyHash {
    size_t operator()(const TBatchKey& k) const {
        return size_t(Mix(Mix(uintptr_t(k.Mesh), k.Surface), k.Mirrored));
    }
};

// Opaque items of one mesh and one surface: one instanced draw.
struct TBatch {
    TMeshPtr Mesh;
    const TGlGpuMesh* Gpu = nullptr;
    uint64_t MeshGeneration = 0;
    TGlVertexArray Vao;
    TGlBuffer InstanceBuffer;
    std::vector<uint32_t> Items;  // this frame's items, indices into TGlFrame::Meshes
    uint64_t Signature = 0;       // of this frame's (Id, Version) list
    uint64_t UploadedSignature = ~0ull;
    size_t UploadedCount = 0;
    size_t Capacity = 0;
    bool Used = false;
};

void FillInstance(TGlInstance& inst, const TGlMeshItem& item) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            inst.Row[r][c] = item.World(r, c);
        }
    }
    const TGlColor* colors[3] = {&item.Diffuse, &item.Emission, &item.Ambient};
    float* dst[3] = {inst.Diffuse, inst.Emission, inst.Ambient};
    for (int i = 0; i < 3; ++i) {
        dst[i][0] = colors[i]->R;
        dst[i][1] = colors[i]->G;
        dst[i][2] = colors[i]->B;
        dst[i][3] = colors[i]->A;
    }
}

bool IsTransparent(const TGlMeshItem& item) {
    return item.Additive || (item.Blended && item.Diffuse.A < 0.999f);
}

struct TLineVertex {
    float Position[3];
    float Color[4];
};

// Blends the colour over what is drawn and leaves the target's alpha as the clear made it:
// a picture of the view is opaque wherever something was drawn, and only a background that
// is made transparent afterwards shows through.
void BlendKeepingAlpha(bool additive) {
    glBlendFuncSeparate(GL_SRC_ALPHA, additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
}

// A mipmapped texture of the picture, wrapping as asked. Pictures are stored from the top;
// texture coordinate t = 0 is the picture's bottom row, as it is for images loaded into
// classic GL from a bitmap.
TGlTexture UploadTexture(const TRgbaImage& image, GLint wrap) {
    TGlTexture texture = MakeGlTexture();
    glBindTexture(GL_TEXTURE_2D, texture.Get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    std::vector<uint8_t> flipped(image.Pixels.size());
    const size_t row = size_t(image.Width) * 4;
    for (int y = 0; y < image.Height; ++y) {
        std::copy_n(&image.Pixels[size_t(image.Height - 1 - y) * row], row, &flipped[y * row]);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.Width, image.Height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, flipped.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    return texture;
}

}  // namespace

struct TRenderer::TImpl {
    TGlPrograms Programs;
    const TGlSurfaceProgram* CurrentSurface = nullptr;  ///< the surface program in use
    TGlMeshCache Meshes;
    std::unordered_map<TBatchKey, std::unique_ptr<TBatch>, TBatchKeyHash> Batches;
    std::vector<TBatch*> Order;
    std::vector<uint32_t> Transparent;
    std::vector<TGlInstance> Scratch;
    std::vector<float> Depth;  // of each item's centre along the view, this frame

    TGlVertexArray LineVao;
    TGlBuffer LineBuffer;
    size_t LineCapacity = 0;
    uint64_t LineSignature = ~0ull;
    struct TLineRange {
        float Width;  // or the points' size
        bool Points;
        GLint First;
        GLsizei Count;
    };
    std::vector<TLineRange> LineRanges;

    struct TTexture {
        TGlTexture Texture;
        bool Loaded = false;
    };
    std::unordered_map<std::string, TTexture> Textures;
    TTextureLoader Loader;

    struct TTextTexture {
        TGlTexture Texture;
        float Aspect = 1;  // width / height of the picture
        float Ascent = 1;  // baseline from the top, as a share of the height
    };
    std::unordered_map<std::string, TTextTexture> TextTextures;
    TTextRasterizer Rasterizer;
    TMeshPtr Quad;
    const TTextTexture* TextTextureFor(const TGlText& text);
    void DrawTexts(const TGlFrame& frame, const TGlMatrix& viewProj, TRenderStats& stats);

    TGlRenderTarget Target;
    TSceneFrameBuilder Builder;
    int FrameCounter = 0;
    uint64_t PreparedRevision = 0;
    const TGlFrame* PreparedFrame = nullptr;
    TDetailSettings PreparedDetail;
    int PreparedWidth = 0;
    int PreparedHeight = 0;
    TRenderStats PreparedCounts;
    // Last frame's detail level of each item, for the hysteresis at the switch points.
    std::unordered_map<uint64_t, int> PreviousDetail;
    // The simpler meshes of each detailed mesh, made when first needed. The detailed mesh
    // itself is not held (its level's Mesh stays empty), so a mesh nobody uses is let go.
    struct TLevelsEntry {
        std::weak_ptr<const TMesh> Owner;
        std::weak_ptr<const TMesh> Coarse;
        TDetailLevels Levels;
    };
    std::unordered_map<const TMesh*, TLevelsEntry> DetailLevels;
    const TDetailLevels& LevelsFor(const TGlMeshItem& item);

    GLuint TextureFor(const TGlSurface& surface);
    void PrepareBatches(const TGlFrame& frame, const TDetailSettings& detail, int viewportHeight,
                        TRenderStats& stats);
    void PrepareLines(const TGlFrame& frame, TRenderStats& stats);
    void SetSurfaceUniforms(const TGlFrame& frame, const TGlMatrix& viewProj);
    void SetFrameUniforms(const TGlSurfaceProgram& p, const TGlFrame& frame,
                          const TGlMatrix& viewProj);
    void ApplySurface(const TGlSurface& surface, bool mirrored, bool outlineSecondPass);
};

GLuint TRenderer::TImpl::TextureFor(const TGlSurface& surface) {
    if (surface.Texture.empty()) {
        return 0;
    }
    const std::string key = (surface.TextureTopLeftTransparent ? "1" : "0") + surface.Texture;
    auto [it, added] = Textures.try_emplace(key);
    if (!added) {
        return it->second.Texture.Get();
    }
    // A file that cannot be read leaves the surface untextured; the failed entry stays, so the
    // file is not tried again every frame.
    TRgbaImage image;
    const bool ok = Loader ? Loader(surface.Texture, image) : LoadImageFile(surface.Texture, image);
    if (!ok || image.Empty()) {
        return 0;
    }
    if (surface.TextureTopLeftTransparent) {
        MakeTopLeftColorTransparent(image);
    }
    it->second.Texture = UploadTexture(image, GL_REPEAT);
    it->second.Loaded = true;
    return it->second.Texture.Get();
}

const TRenderer::TImpl::TTextTexture* TRenderer::TImpl::TextTextureFor(const TGlText& text) {
    const std::string key = text.FontName + '\x01' + (text.Bold ? "B" : "") + '\x01' + text.Text;
    auto it = TextTextures.find(key);
    if (it != TextTextures.end()) {
        return it->second.Texture ? &it->second : nullptr;
    }
    // Texts change with every measurement shown; the cache is let go of now and then.
    if (TextTextures.size() > 1024) {
        TextTextures.clear();
    }
    TTextTexture& entry = TextTextures[key];
    TTextPicture picture;
    if (!Rasterizer || !Rasterizer(text.Text, text.FontName, text.Bold, picture) ||
        picture.Image.Empty() || picture.Baseline <= 0) {
        return nullptr;
    }
    const TRgbaImage& image = picture.Image;
    entry.Aspect = float(image.Width) / float(image.Height);
    entry.Ascent = std::min(float(picture.Baseline) / float(image.Height), 1.0f);
    entry.Texture = UploadTexture(image, GL_CLAMP_TO_EDGE);
    return &entry;
}

void TRenderer::TImpl::DrawTexts(const TGlFrame& frame, const TGlMatrix& viewProj,
                                 TRenderStats& stats) {
    if (frame.Texts.empty() || !Rasterizer) {
        return;
    }
    if (!Quad) {
        auto quad = std::make_shared<TMesh>();
        const float corners[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
        for (const auto& c : corners) {
            quad->Positions.push_back({c[0] - 0.5f, c[1], 0});
            quad->Normals.push_back({0, 0, 1});
            quad->TexCoords.push_back({c[0], c[1]});
        }
        Quad = quad;
    }
    const TGlGpuMesh* gpu = Meshes.Get(Quad);
    SetSurfaceUniforms(frame, viewProj);
    const TGlSurfaceProgram& p = Programs.SurfaceCut;
    glUseProgram(p.Program.Get());
    CurrentSurface = &p;
    glUniform1i(p.Lighting, 0);
    glUniform1i(p.UseTexture, 1);
    glUniform1f(p.AlphaCut, 0.02f);
    glUniform3f(p.Specular, 0, 0, 0);
    glActiveTexture(GL_TEXTURE0);
    // A text reads from its front only; seen from behind it would be mirrored, so a label that
    // must read from both sides is two texts back to back.
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    BlendKeepingAlpha(false);
    glDepthMask(GL_FALSE);
    glBindVertexArray(gpu->SingleVao.Get());
    for (const TGlText& text : frame.Texts) {
        const TTextTexture* tex = text.Text.empty() ? nullptr : TextTextureFor(text);
        if (!tex) {
            continue;
        }
        // The part above the baseline is Height tall; the rest hangs below it.
        const float h = text.Height / tex->Ascent;
        const TGlMatrix m = text.World * Translation({0, -(1 - tex->Ascent) * h, 0}) *
                            Scaling({h * tex->Aspect, h, 1});
        TGlMeshItem item;
        item.World = m;
        item.Diffuse = text.Color;
        TGlInstance inst;
        FillInstance(inst, item);
        for (int r = 0; r < 3; ++r) {
            glVertexAttrib4fv(kAttrRow0 + r, inst.Row[r]);
        }
        glVertexAttrib4fv(kAttrDiffuse, inst.Diffuse);
        glVertexAttrib4fv(kAttrEmission, inst.Emission);
        glVertexAttrib4fv(kAttrAmbient, inst.Ambient);
        glBindTexture(GL_TEXTURE_2D, tex->Texture.Get());
        gpu->DrawInstanced(1);
        ++stats.DrawCalls;
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
}

const TDetailLevels& TRenderer::TImpl::LevelsFor(const TGlMeshItem& item) {
    TLevelsEntry& entry = DetailLevels[item.Mesh.get()];
    // The address may belong to a new mesh if the old one was freed in between.
    if (entry.Owner.lock() != item.Mesh || entry.Coarse.lock() != item.Coarse ||
        entry.Levels.empty()) {
        entry.Owner = item.Mesh;
        entry.Coarse = item.Coarse;
        entry.Levels = BuildDetailLevels(item.Mesh, item.Coarse);
        if (!entry.Levels.empty()) {
            entry.Levels.front().Mesh = nullptr;
        }
    }
    return entry.Levels;
}

void TRenderer::TImpl::PrepareBatches(const TGlFrame& frame, const TDetailSettings& detail,
                                      int viewportHeight, TRenderStats& stats) {
    for (auto& [key, batch] : Batches) {
        batch->Items.clear();
        batch->Signature = 0;
        batch->Used = false;
    }
    Transparent.clear();
    TBatch* last = nullptr;
    TBatchKey lastKey{nullptr, 0, false};
    const uint32_t surfaceCount = uint32_t(frame.Surfaces.size());
    const TGlMatrix viewProj = frame.Projection * frame.View;
    const TFrustum frustum(viewProj);
    // The band around a switch point is for slow zooms; when the camera comes to rest, the
    // frame is the same as if it had never moved.
    if (PreviousDetail.size() > 2 * frame.Meshes.size() + 1024 || !(detail == PreparedDetail)) {
        PreviousDetail.clear();
    }
    const TMesh* lastMesh = nullptr;
    const TGlGpuMesh* lastGpu = nullptr;
    Depth.assign(frame.Meshes.size(), 0);
    for (uint32_t i = 0; i < frame.Meshes.size(); ++i) {
        const TGlMeshItem& item = frame.Meshes[i];
        if (!item.Mesh || item.Mesh->Positions.size() < 3) {
            continue;
        }
        ++stats.Items;
        if (item.Mesh.get() != lastMesh) {
            lastMesh = item.Mesh.get();
            lastGpu = Meshes.Get(item.Mesh);
        }
        if (!lastGpu) {
            continue;
        }
        const TVector3f centre = TransformPoint(item.World, lastGpu->Center);
        const float radius = lastGpu->Radius * MaxScale(item.World);
        if (detail.Culling && !frustum.Intersects(centre, radius)) {
            ++stats.CulledItems;
            continue;
        }
        const float w = viewProj(3, 0) * centre.X + viewProj(3, 1) * centre.Y +
                        viewProj(3, 2) * centre.Z + viewProj(3, 3);
        Depth[i] = w;
        int level = 0;
        const TDetailLevels* levels = nullptr;
        if (detail.LevelOfDetail) {
            const float pixels = ProjectedRadius(radius, w, frame.Projection(1, 1), viewportHeight);
            levels = &LevelsFor(item);
            int& previous = PreviousDetail.try_emplace(item.Id, 0).first->second;
            level = ChooseDetail(pixels, lastGpu->Radius > 0 ? pixels / lastGpu->Radius : 0,
                                 *levels, detail, previous);
            previous = level;
            if (level == kHiddenLevel) {
                ++stats.HiddenItems;
                continue;
            }
        }
        if (IsTransparent(item)) {
            // Sorted one by one later; their few triangles are not worth a simpler mesh.
            Transparent.push_back(i);
            continue;
        }
        const TMeshPtr& drawn = level > 0 ? (*levels)[size_t(level)].Mesh : item.Mesh;
        if (level > 0) {
            ++stats.CoarseItems;
        }
        const TBatchKey key{drawn.get(), item.Surface < surfaceCount ? item.Surface : 0,
                            Determinant3(item.World) < 0};
        if (!last || !(key == lastKey)) {
            auto& slot = Batches[key];
            if (!slot) {
                slot = std::make_unique<TBatch>();
            }
            last = slot.get();
            lastKey = key;
            if (!last->Used) {
                last->Used = true;
                last->Mesh = drawn;
            }
        }
        last->Items.push_back(i);
        last->Signature = Mix(Mix(last->Signature, item.Id), item.Version);
    }

    std::erase_if(Batches, [](const auto& e) { return !e.second->Used; });
    Order.clear();
    for (auto& [key, batch] : Batches) {
        TBatch& b = *batch;
        b.Gpu = Meshes.Get(b.Mesh);
        if (!b.Gpu) {
            continue;
        }
        if (!b.Vao || b.MeshGeneration != b.Gpu->Generation) {
            b.Vao = MakeGlVertexArray();
            b.InstanceBuffer = MakeGlBuffer();
            b.Capacity = 0;
            b.UploadedSignature = ~0ull;
            b.MeshGeneration = b.Gpu->Generation;
            glBindVertexArray(b.Vao.Get());
            b.Gpu->BindVertexAttributes();
            glBindBuffer(GL_ARRAY_BUFFER, b.InstanceBuffer.Get());
            SetupInstanceAttributes();
            glBindVertexArray(0);
        }
        if (b.Signature != b.UploadedSignature || b.Items.size() != b.UploadedCount) {
            // Nearest first, so the depth test spares the software GL the shading of what lies
            // behind. Only a batch that is written anyway is sorted: a camera move alone
            // uploads nothing, and the order it leaves is still near enough.
            std::stable_sort(b.Items.begin(), b.Items.end(),
                             [this](uint32_t x, uint32_t y) { return Depth[x] < Depth[y]; });
            Scratch.resize(b.Items.size());
            for (size_t k = 0; k < b.Items.size(); ++k) {
                FillInstance(Scratch[k], frame.Meshes[b.Items[k]]);
            }
            glBindBuffer(GL_ARRAY_BUFFER, b.InstanceBuffer.Get());
            const GLsizeiptr bytes = GLsizeiptr(Scratch.size() * sizeof(TGlInstance));
            if (Scratch.size() > b.Capacity) {
                b.Capacity = Scratch.size() + Scratch.size() / 4;
                glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(b.Capacity * sizeof(TGlInstance)), nullptr,
                             GL_DYNAMIC_DRAW);
            }
            glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, Scratch.data());
            b.UploadedSignature = b.Signature;
            b.UploadedCount = b.Items.size();
            ++stats.InstanceUploads;
        }
        Order.push_back(&b);
    }
    // Fewer state changes: batches of one surface follow each other.
    std::sort(Order.begin(), Order.end(), [&frame](const TBatch* a, const TBatch* b) {
        const TGlMeshItem& ia = frame.Meshes[a->Items.front()];
        const TGlMeshItem& ib = frame.Meshes[b->Items.front()];
        if (ia.Surface != ib.Surface) {
            return ia.Surface < ib.Surface;
        }
        return a->Gpu->Generation < b->Gpu->Generation;
    });
}

void TRenderer::TImpl::PrepareLines(const TGlFrame& frame, TRenderStats& stats) {
    uint64_t signature = frame.Lines.size();
    for (const TGlLines& lines : frame.Lines) {
        signature = Mix(Mix(signature, lines.Id), lines.Version);
    }
    if (signature == LineSignature && LineVao) {
        return;
    }
    LineSignature = signature;
    ++stats.LineUploads;
    // Grouped by width, so each width is one draw; node markers after the lines.
    std::vector<const TGlLines*> sorted;
    for (const TGlLines& lines : frame.Lines) {
        if (lines.Points.size() >= 2 || (!lines.Nodes.empty() && lines.NodeSize > 0)) {
            sorted.push_back(&lines);
        }
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TGlLines* a, const TGlLines* b) { return a->Width < b->Width; });
    std::vector<TLineVertex> vertices;
    LineRanges.clear();
    auto add = [&vertices](const TGlLines& lines, const TVector3f& point) {
        const TVector3f p = TransformPoint(lines.World, point);
        vertices.push_back(
            {{p.X, p.Y, p.Z}, {lines.Color.R, lines.Color.G, lines.Color.B, lines.Color.A}});
    };
    for (const TGlLines* lines : sorted) {
        const float width = std::max(lines->Width, 1.0f);
        const size_t n = lines->Points.size() & ~size_t(1);
        if (n == 0) {
            continue;
        }
        if (LineRanges.empty() || LineRanges.back().Width != width) {
            LineRanges.push_back({width, false, GLint(vertices.size()), 0});
        }
        for (size_t k = 0; k < n; ++k) {
            add(*lines, lines->Points[k]);
        }
        LineRanges.back().Count += GLsizei(n);
    }
    for (const TGlLines* lines : sorted) {
        if (lines->Nodes.empty() || lines->NodeSize <= 0) {
            continue;
        }
        LineRanges.push_back(
            {lines->NodeSize, true, GLint(vertices.size()), GLsizei(lines->Nodes.size())});
        for (const TVector3f& node : lines->Nodes) {
            add(*lines, node);
        }
    }
    if (!LineVao) {
        LineVao = MakeGlVertexArray();
        LineBuffer = MakeGlBuffer();
        glBindVertexArray(LineVao.Get());
        glBindBuffer(GL_ARRAY_BUFFER, LineBuffer.Get());
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(TLineVertex), nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, sizeof(TLineVertex),
                              reinterpret_cast<const void*>(3 * sizeof(float)));
        glBindVertexArray(0);
    }
    glBindBuffer(GL_ARRAY_BUFFER, LineBuffer.Get());
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(TLineVertex)),
                 vertices.data(), GL_DYNAMIC_DRAW);
}

void TRenderer::TImpl::SetSurfaceUniforms(const TGlFrame& frame, const TGlMatrix& viewProj) {
    // Both surface programs get the frame's values; ApplySurface picks one per surface.
    for (const TGlSurfaceProgram* program : {&Programs.SurfaceCut, &Programs.Surface}) {
        SetFrameUniforms(*program, frame, viewProj);
    }
    CurrentSurface = &Programs.Surface;
}

void TRenderer::TImpl::SetFrameUniforms(const TGlSurfaceProgram& p, const TGlFrame& frame,
                                        const TGlMatrix& viewProj) {
    glUseProgram(p.Program.Get());
    glUniformMatrix4fv(p.ViewProj, 1, GL_FALSE, viewProj.M.data());
    glUniform3f(p.SceneAmbient, frame.GlobalAmbient.R, frame.GlobalAmbient.G,
                frame.GlobalAmbient.B);
    glUniform3f(p.Eye, frame.Eye.X, frame.Eye.Y, frame.Eye.Z);
    float pos[8][3], amb[8][3], dif[8][3], spe[8][3], att[8][3];
    int n = 0;
    for (const TGlLight& light : frame.Lights) {
        if (!light.On) {
            continue;
        }
        const float values[5][3] = {
            {light.Position.X, light.Position.Y, light.Position.Z},
            {light.Ambient.R, light.Ambient.G, light.Ambient.B},
            {light.Diffuse.R, light.Diffuse.G, light.Diffuse.B},
            {light.Specular.R, light.Specular.G, light.Specular.B},
            {light.ConstantAttenuation, light.LinearAttenuation, light.QuadraticAttenuation}};
        float(*targets[5])[3] = {pos, amb, dif, spe, att};
        for (int k = 0; k < 5; ++k) {
            std::copy_n(values[k], 3, targets[k][n]);
        }
        ++n;
    }
    glUniform1i(p.LightCount, n);
    if (n > 0) {
        glUniform3fv(p.LightPos, n, &pos[0][0]);
        glUniform3fv(p.LightAmbient, n, &amb[0][0]);
        glUniform3fv(p.LightDiffuse, n, &dif[0][0]);
        glUniform3fv(p.LightSpecular, n, &spe[0][0]);
        glUniform3fv(p.LightAtten, n, &att[0][0]);
    }
    glUniform1i(p.Texture, 0);
    glUniform4f(p.FlatColor, 0, 0, 0, 0);
}

void TRenderer::TImpl::ApplySurface(const TGlSurface& surface, bool mirrored,
                                    bool outlineSecondPass) {
    const GLuint texture = TextureFor(surface);
    const TGlSurfaceProgram& p = texture ? Programs.SurfaceCut : Programs.Surface;
    if (&p != CurrentSurface) {
        glUseProgram(p.Program.Get());
        CurrentSurface = &p;
    }
    glUniform3f(p.Specular, surface.Specular.R, surface.Specular.G, surface.Specular.B);
    glUniform1f(p.Shininess, surface.Shininess);
    glUniform1i(p.Lighting, surface.Lighting ? 1 : 0);
    glUniform1i(p.UseTexture, texture ? 1 : 0);
    glUniform1f(p.AlphaCut, 0.5f);
    if (texture) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
    }
    glFrontFace(mirrored ? GL_CW : GL_CCW);
    if (outlineSecondPass) {
        glEnable(GL_CULL_FACE);
        glDepthFunc(GL_LESS);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        if (surface.OutlineLighting) {
            glUniform4f(p.FlatColor, 0, 0, 0, 0);
        } else {
            glUniform4f(p.FlatColor, surface.OutlineFill.R, surface.OutlineFill.G,
                        surface.OutlineFill.B, 1);
        }
        return;
    }
    glUniform4f(p.FlatColor, 0, 0, 0, 0);
    glDepthFunc(GL_LEQUAL);
    switch (surface.PolygonMode) {
        case TGlPolygonMode::Filled:
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            glEnable(GL_CULL_FACE);
            break;
        case TGlPolygonMode::Lines:
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            glDisable(GL_CULL_FACE);
            break;
        case TGlPolygonMode::Points:
            glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
            glDisable(GL_CULL_FACE);
            break;
    }
}

TRenderer::TRenderer() : m_impl(std::make_unique<TImpl>()) {}

TRenderer::~TRenderer() = default;

bool TRenderer::Initialize(std::string* error) {
    if (!m_tried) {
        m_tried = true;
        m_valid = m_impl->Programs.Build(m_error);
    }
    if (!m_valid && error) {
        *error = m_error;
    }
    return m_valid;
}

void TRenderer::SetTextureLoader(TTextureLoader loader) {
    m_impl->Loader = std::move(loader);
    m_impl->Textures.clear();
}

void TRenderer::ClearTextures() {
    m_impl->Textures.clear();
    m_impl->TextTextures.clear();
}

void TRenderer::SetTextRasterizer(TTextRasterizer rasterizer) {
    m_impl->Rasterizer = std::move(rasterizer);
    m_impl->TextTextures.clear();
}

void TRenderer::ReleaseGl() {
    auto loader = std::move(m_impl->Loader);
    auto rasterizer = std::move(m_impl->Rasterizer);
    m_impl = std::make_unique<TImpl>();
    m_impl->Loader = std::move(loader);
    m_impl->Rasterizer = std::move(rasterizer);
    m_tried = false;
    m_valid = false;
}

TGlMeshCache& TRenderer::MeshCache() {
    return m_impl->Meshes;
}

void TRenderer::UseSurfaceProgram(const TGlFrame& frame, const TGlViewport& viewport) {
    if (!Initialize()) {
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, viewport.Framebuffer);
    glViewport(0, 0, viewport.Width, viewport.Height);
    m_impl->SetSurfaceUniforms(frame, frame.Projection * frame.View);
    m_impl->ApplySurface(TGlSurface{}, false, false);
}

void TRenderer::Draw(const TGlFrame& frame, const TGlViewport& viewport) {
    m_stats = {};
    if (!Initialize() || viewport.Width <= 0 || viewport.Height <= 0) {
        return;
    }
    TImpl& im = *m_impl;
    TRenderStats& stats = m_stats;

    // An unchanged frame keeps last time's batches; their item indices are still right.
    if (frame.Revision == 0 || frame.Revision != im.PreparedRevision ||
        &frame != im.PreparedFrame || !(m_detail == im.PreparedDetail) ||
        viewport.Width != im.PreparedWidth || viewport.Height != im.PreparedHeight) {
        im.PrepareBatches(frame, m_detail, viewport.Height, stats);
        im.PrepareLines(frame, stats);
        im.PreparedRevision = frame.Revision;
        im.PreparedFrame = &frame;
        im.PreparedDetail = m_detail;
        im.PreparedWidth = viewport.Width;
        im.PreparedHeight = viewport.Height;
        im.PreparedCounts = stats;
    } else {
        stats.Items = im.PreparedCounts.Items;
        stats.CulledItems = im.PreparedCounts.CulledItems;
        stats.CoarseItems = im.PreparedCounts.CoarseItems;
        stats.HiddenItems = im.PreparedCounts.HiddenItems;
    }
    if (++im.FrameCounter % 64 == 0) {
        im.Meshes.Collect();
        std::erase_if(im.DetailLevels, [](const auto& e) { return e.second.Owner.expired(); });
    }

    glBindFramebuffer(GL_FRAMEBUFFER, viewport.Framebuffer);
    glViewport(0, 0, viewport.Width, viewport.Height);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glCullFace(GL_BACK);
    if (frame.ClearBackground) {
        glClearColor(frame.Background.R, frame.Background.G, frame.Background.B, 1);
        glClearDepth(1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    } else {
        glClear(GL_DEPTH_BUFFER_BIT);
    }

    const TGlMatrix viewProj = frame.Projection * frame.View;
    const auto surfaceOf = [&frame](uint32_t index) -> const TGlSurface& {
        return frame.Surfaces[index < frame.Surfaces.size() ? index : 0];
    };

    // Outline, first pass: the back faces' edges, as quads, in the outline colour.
    bool anyOutline = false;
    for (const TBatch* b : im.Order) {
        const TGlSurface& s = surfaceOf(frame.Meshes[b->Items.front()].Surface);
        // Whatever a part's polygon mode, its outline is drawn.
        if (!s.Outline) {
            continue;
        }
        if (!anyOutline) {
            anyOutline = true;
            const TGlOutlineProgram& o = im.Programs.Outline;
            glUseProgram(o.Program.Get());
            glUniformMatrix4fv(o.ViewProj, 1, GL_FALSE, viewProj.M.data());
            glUniform2f(o.Viewport, float(viewport.Width), float(viewport.Height));
            glDisable(GL_CULL_FACE);
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            glDepthFunc(GL_LEQUAL);
        }
        const TGlOutlineProgram& o = im.Programs.Outline;
        // Half the width reaches outside the silhouette; the extra half pixel keeps a width of
        // 1 visible at all.
        glUniform1f(o.HalfWidth, std::max(s.OutlineWidth, 1.0f) * 0.5f + 0.5f);
        const bool mirrored = Determinant3(frame.Meshes[b->Items.front()].World) < 0;
        glUniform1f(o.FrontSign, mirrored ? -1.0f : 1.0f);
        glUniform4f(o.Color, s.OutlineColor.R, s.OutlineColor.G, s.OutlineColor.B, 1);
        glBindVertexArray(b->Vao.Get());
        b->Gpu->DrawInstanced(GLsizei(b->Items.size()));
        ++stats.DrawCalls;
    }

    // Opaque surfaces, instanced per mesh and surface.
    im.SetSurfaceUniforms(frame, viewProj);
    uint32_t currentSurface = ~0u;
    int currentMirror = -1;
    for (const TBatch* b : im.Order) {
        const TGlMeshItem& first = frame.Meshes[b->Items.front()];
        const uint32_t surfaceIndex = first.Surface < frame.Surfaces.size() ? first.Surface : 0;
        const TGlSurface& s = frame.Surfaces[surfaceIndex];
        const bool mirrored = Determinant3(first.World) < 0;
        if (surfaceIndex != currentSurface || int(mirrored) != currentMirror) {
            currentSurface = surfaceIndex;
            currentMirror = mirrored;
            im.ApplySurface(s, mirrored, s.Outline && s.PolygonMode == TGlPolygonMode::Filled);
        }
        glBindVertexArray(b->Vao.Get());
        b->Gpu->DrawInstanced(GLsizei(b->Items.size()));
        ++stats.DrawCalls;
        ++stats.InstancedBatches;
        stats.Triangles += uint64_t(b->Gpu->IndexCount / 3) * b->Items.size();
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glFrontFace(GL_CCW);

    // Lines: grid, axes, dimension lines.
    if (!im.LineRanges.empty()) {
        glDisable(GL_CULL_FACE);
        glDepthFunc(GL_LEQUAL);
        glBindVertexArray(im.LineVao.Get());
        for (const auto& range : im.LineRanges) {
            const bool wide = !range.Points && range.Width > 1.5f;
            const TGlLineProgram& p = wide ? im.Programs.WideLines : im.Programs.Lines;
            glUseProgram(p.Program.Get());
            glUniformMatrix4fv(p.ViewProj, 1, GL_FALSE, viewProj.M.data());
            if (wide) {
                glUniform2f(p.Viewport, float(viewport.Width), float(viewport.Height));
                glUniform1f(p.HalfWidth, range.Width * 0.5f);
            }
            if (range.Points) {
                glPointSize(range.Width);
                glDrawArrays(GL_POINTS, range.First, range.Count);
                glPointSize(1);
            } else {
                glDrawArrays(GL_LINES, range.First, range.Count);
            }
            ++stats.DrawCalls;
        }
    }

    im.DrawTexts(frame, viewProj, stats);

    // Transparent items last, farthest first, each on its own, not writing depth.
    if (!im.Transparent.empty()) {
        struct TSorted {
            float Depth;
            uint32_t Index;
        };
        std::vector<TSorted> sorted;
        sorted.reserve(im.Transparent.size());
        for (uint32_t i : im.Transparent) {
            const TGlMeshItem& item = frame.Meshes[i];
            const TGlGpuMesh* gpu = im.Meshes.Get(item.Mesh);
            if (!gpu) {
                continue;
            }
            const TVector3f c = TransformPoint(frame.View, TransformPoint(item.World, gpu->Center));
            sorted.push_back({c.Z, i});  // view space looks down -Z: smaller Z is farther
        }
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const TSorted& a, const TSorted& b) { return a.Depth < b.Depth; });
        im.SetSurfaceUniforms(frame, viewProj);
        glEnable(GL_BLEND);
        BlendKeepingAlpha(false);
        glDepthMask(GL_FALSE);
        currentSurface = ~0u;
        currentMirror = -1;
        for (const TSorted& t : sorted) {
            const TGlMeshItem& item = frame.Meshes[t.Index];
            const uint32_t surfaceIndex = item.Surface < frame.Surfaces.size() ? item.Surface : 0;
            const bool mirrored = Determinant3(item.World) < 0;
            if (surfaceIndex != currentSurface || int(mirrored) != currentMirror) {
                currentSurface = surfaceIndex;
                currentMirror = mirrored;
                im.ApplySurface(frame.Surfaces[surfaceIndex], mirrored, false);
            }
            BlendKeepingAlpha(item.Additive);
            const TGlGpuMesh* gpu = im.Meshes.Get(item.Mesh);
            TGlInstance inst;
            FillInstance(inst, item);
            glBindVertexArray(gpu->SingleVao.Get());
            for (int r = 0; r < 3; ++r) {
                glVertexAttrib4fv(kAttrRow0 + r, inst.Row[r]);
            }
            glVertexAttrib4fv(kAttrDiffuse, inst.Diffuse);
            glVertexAttrib4fv(kAttrEmission, inst.Emission);
            glVertexAttrib4fv(kAttrAmbient, inst.Ambient);
            gpu->DrawInstanced(1);
            ++stats.DrawCalls;
            ++stats.TransparentItems;
            stats.Triangles += uint64_t(gpu->IndexCount / 3);
        }
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glFrontFace(GL_CCW);
    }

    glBindVertexArray(0);
    glUseProgram(0);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LESS);
}

void TRenderer::SetCamera(const TSceneCamera* camera) {
    m_impl->Builder.SetCamera(camera);
}

uint64_t TRenderer::TubeMeshesBuilt() const {
    return m_impl->Builder.TubeMeshesBuilt();
}

void TRenderer::Draw(const TScene& scene, const TGlViewport& viewport) {
    Draw(m_impl->Builder.Build(scene, viewport.Width, viewport.Height), viewport);
}

namespace {

// Pictures, exports and video frames are kept: they are drawn with every part in full detail,
// and only what lies wholly outside the picture is left out.
class TFullDetailScope {
public:
    explicit TFullDetailScope(TRenderer& renderer)
        : m_renderer(renderer), m_saved(renderer.Detail()) {
        TDetailSettings full = FullDetail();
        full.Culling = m_saved.Culling;
        renderer.SetDetail(full);
    }
    ~TFullDetailScope() { m_renderer.SetDetail(m_saved); }
    TFullDetailScope(const TFullDetailScope&) = delete;
    TFullDetailScope& operator=(const TFullDetailScope&) = delete;

private:
    TRenderer& m_renderer;
    TDetailSettings m_saved;
};

}  // namespace

TRgbaImage TRenderer::RenderImage(const TGlFrame& frame, int width, int height, int samples) {
    if (!Initialize() || !m_impl->Target.Resize(width, height, samples)) {
        return {};
    }
    const TFullDetailScope full(*this);
    Draw(frame, m_impl->Target.Viewport());
    return m_impl->Target.ReadImage();
}

TRgbaImage TRenderer::RenderImage(const TScene& scene, int width, int height, int samples) {
    if (!Initialize() || !m_impl->Target.Resize(width, height, samples)) {
        return {};
    }
    const TFullDetailScope full(*this);
    Draw(scene, m_impl->Target.Viewport());
    return m_impl->Target.ReadImage();
}

}  // namespace kx
