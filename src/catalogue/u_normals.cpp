// Normals files (.nrm): headerless 12-byte records of little-endian floats, one per vertex.
#include "catalogue/u_normals.h"

#include <bit>
#include <cstring>

#include "foundation/u_text.h"

namespace kx {

namespace {

constexpr size_t RecordSize = 12;

float ReadF32(const char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::big) {
        v = __builtin_bswap32(v);
    }
    return std::bit_cast<float>(v);
}

void WriteF32(std::string& out, float f) {
    uint32_t v = std::bit_cast<uint32_t>(f);
    if constexpr (std::endian::native == std::endian::big) {
        v = __builtin_bswap32(v);
    }
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
}

}  // namespace

size_t ApplyNormals(TMesh& mesh, std::string_view bytes) {
    const size_t n = std::min(mesh.Normals.size(), bytes.size() / RecordSize);
    const char* p = bytes.data();
    for (size_t i = 0; i < n; ++i, p += RecordSize) {
        mesh.Normals[i] = TVector3f(ReadF32(p), ReadF32(p + 4), ReadF32(p + 8));
    }
    return n;
}

size_t LoadNormalsFromFile(TMesh& mesh, const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    return bytes ? ApplyNormals(mesh, *bytes) : 0;
}

std::string EncodeNormals(const std::vector<TVector3f>& normals) {
    std::string out;
    out.reserve(normals.size() * RecordSize);
    for (const TVector3f& n : normals) {
        WriteF32(out, n.X);
        WriteF32(out, n.Y);
        WriteF32(out, n.Z);
    }
    return out;
}

bool WriteNormalsFile(const std::filesystem::path& file, const std::vector<TVector3f>& normals,
                      std::string* error) {
    std::error_code ec;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), ec);
    }
    return WriteFileAtomic(file, EncodeNormals(normals), error);
}

}  // namespace kx
