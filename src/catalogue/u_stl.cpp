// STL meshes: reading binary and ASCII files into a TMesh, writing binary STL.
#include "catalogue/u_stl.h"

#include <bit>
#include <charconv>
#include <cstring>

#include "foundation/u_text.h"

namespace kx {

namespace {

constexpr size_t HeaderSize = 80;
constexpr size_t FacetSize = 50;

void SetError(std::string* error, std::string text) {
    if (error) {
        *error = std::move(text);
    }
}

uint32_t ReadU32(const char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::big) {
        v = __builtin_bswap32(v);
    }
    return v;
}

float ReadF32(const char* p) {
    return std::bit_cast<float>(ReadU32(p));
}

void WriteU32(std::string& out, uint32_t v) {
    if constexpr (std::endian::native == std::endian::big) {
        v = __builtin_bswap32(v);
    }
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
}

void WriteF32(std::string& out, float v) {
    WriteU32(out, std::bit_cast<uint32_t>(v));
}

// Many exporters leave the facet normal 0; the winding then gives it.
TVector3f FacetNormal(const TVector3f& n, const TVector3f& a, const TVector3f& b,
                      const TVector3f& c) {
    if (Dot(n, n) > 1e-12f) {
        return n;
    }
    return Normalized(Cross(b - a, c - a));
}

void AddFacet(TMesh& mesh, const TVector3f& n, const TVector3f& a, const TVector3f& b,
              const TVector3f& c) {
    const TVector3f fn = FacetNormal(n, a, b, c);
    mesh.Positions.push_back(a);
    mesh.Positions.push_back(b);
    mesh.Positions.push_back(c);
    mesh.Normals.insert(mesh.Normals.end(), 3, fn);
}

bool ParseBinary(std::string_view bytes, TMesh& mesh, std::string* error) {
    if (bytes.size() < HeaderSize + 4) {
        SetError(error, "STL file too short");
        return false;
    }
    const uint64_t count = ReadU32(bytes.data() + HeaderSize);
    // The count is only believed as far as the file holds records for it.
    if (count > (bytes.size() - HeaderSize - 4) / FacetSize) {
        SetError(error, "STL file truncated: " + IntToStr(int64_t(count)) + " facets announced");
        return false;
    }
    mesh.Positions.reserve(count * 3);
    mesh.Normals.reserve(count * 3);
    const char* p = bytes.data() + HeaderSize + 4;
    for (uint64_t i = 0; i < count; ++i, p += FacetSize) {
        auto vec = [p](int k) {
            return TVector3f(ReadF32(p + k * 12), ReadF32(p + k * 12 + 4), ReadF32(p + k * 12 + 8));
        };
        AddFacet(mesh, vec(0), vec(1), vec(2), vec(3));
    }
    return true;
}

class TTokens {
public:
    explicit TTokens(std::string_view text) : m_text(text) {}

    std::string_view Next() {
        while (m_pos < m_text.size() && static_cast<unsigned char>(m_text[m_pos]) <= ' ') {
            ++m_pos;
        }
        const size_t start = m_pos;
        while (m_pos < m_text.size() && static_cast<unsigned char>(m_text[m_pos]) > ' ') {
            ++m_pos;
        }
        return m_text.substr(start, m_pos - start);
    }

    void SkipLine() {
        while (m_pos < m_text.size() && m_text[m_pos] != '\n') {
            ++m_pos;
        }
    }

    bool Expect(std::string_view word) { return SameText(Next(), word); }

    bool Number(float& v) {
        const std::string_view t = Next();
        if (t.empty()) {
            return false;
        }
        const char* first = t.data();
        if (*first == '+') {
            ++first;
        }
        const auto res = std::from_chars(first, t.data() + t.size(), v);
        return res.ec == std::errc() && res.ptr == t.data() + t.size();
    }

    bool Vector(TVector3f& v) { return Number(v.X) && Number(v.Y) && Number(v.Z); }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

bool ParseAscii(std::string_view bytes, TMesh& mesh, std::string* error) {
    TTokens tok(bytes);
    if (!tok.Expect("solid")) {
        SetError(error, "not an ASCII STL file");
        return false;
    }
    tok.SkipLine();  // the solid's name may hold anything
    for (;;) {
        const std::string_view word = tok.Next();
        if (SameText(word, "endsolid")) {
            return true;
        }
        TVector3f n, v[3];
        const bool ok = SameText(word, "facet") && tok.Expect("normal") && tok.Vector(n) &&
                        tok.Expect("outer") && tok.Expect("loop") && tok.Expect("vertex") &&
                        tok.Vector(v[0]) && tok.Expect("vertex") && tok.Vector(v[1]) &&
                        tok.Expect("vertex") && tok.Vector(v[2]) && tok.Expect("endloop") &&
                        tok.Expect("endfacet");
        if (!ok) {
            SetError(error, word.empty() ? "ASCII STL file ends without endsolid"
                                         : "ASCII STL file is malformed");
            return false;
        }
        AddFacet(mesh, n, v[0], v[1], v[2]);
    }
}

bool BeginsWithSolid(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) <= ' ') {
        ++i;
    }
    return StartsWithText(bytes.substr(i), "solid");
}

}  // namespace

bool ParseStl(std::string_view bytes, TMesh& mesh, std::string* error) {
    mesh = TMesh{};
    if (bytes.empty()) {
        SetError(error, "STL file is empty");
        return false;
    }
    // A binary file's size is exactly determined by its facet count; that is the test that
    // also holds for binary files whose header begins with "solid".
    if (bytes.size() >= HeaderSize + 4) {
        const uint64_t count = ReadU32(bytes.data() + HeaderSize);
        if (bytes.size() == HeaderSize + 4 + count * FacetSize) {
            return ParseBinary(bytes, mesh, error);
        }
    }
    if (BeginsWithSolid(bytes)) {
        std::string asciiError;
        if (ParseAscii(bytes, mesh, &asciiError)) {
            return true;
        }
        mesh = TMesh{};
        // Some writers pad binary files; a "solid" header with binary records after it is
        // binary whenever the records fit.
        if (bytes.size() >= HeaderSize + 4 && ParseBinary(bytes, mesh, nullptr)) {
            return true;
        }
        mesh = TMesh{};
        SetError(error, asciiError);
        return false;
    }
    if (ParseBinary(bytes, mesh, error)) {
        return true;
    }
    mesh = TMesh{};
    return false;
}

bool LoadStlFile(const std::filesystem::path& file, TMesh& mesh, std::string* error) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes) {
        mesh = TMesh{};
        SetError(error, "cannot read " + file.string());
        return false;
    }
    if (!ParseStl(*bytes, mesh, error)) {
        if (error) {
            *error = file.string() + ": " + *error;
        }
        return false;
    }
    return true;
}

std::string EncodeBinaryStl(const TMesh& mesh, std::string_view header) {
    const size_t count = mesh.Positions.size() / 3;
    std::string out;
    out.reserve(HeaderSize + 4 + count * FacetSize);
    std::string head(header.substr(0, HeaderSize));
    // A header that began with "solid" would make ASCII readers of other programs stumble.
    if (StartsWithText(head, "solid")) {
        head[0] = 'S';
        head[1] = 'T';
        head[2] = 'L';
        head[3] = ' ';
        head[4] = ' ';
    }
    head.resize(HeaderSize, ' ');
    out += head;
    WriteU32(out, static_cast<uint32_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const TVector3f n = i * 3 < mesh.Normals.size() ? mesh.Normals[i * 3] : TVector3f();
        for (const TVector3f& v :
             {n, mesh.Positions[i * 3], mesh.Positions[i * 3 + 1], mesh.Positions[i * 3 + 2]}) {
            WriteF32(out, v.X);
            WriteF32(out, v.Y);
            WriteF32(out, v.Z);
        }
        out.append(2, '\0');
    }
    return out;
}

bool WriteStlFile(const std::filesystem::path& file, const TMesh& mesh, std::string* error,
                  std::string_view header) {
    std::error_code ec;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), ec);
    }
    return WriteFileAtomic(file, EncodeBinaryStl(mesh, header), error);
}

}  // namespace kx
