// STL meshes and normals files: formats, edge cases and hostile files.
#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/u_normals.h"
#include "catalogue/u_stl.h"
#include "kx_test_support.h"

using namespace kx;

namespace {

TMesh TwoTriangles() {
    TMesh m;
    m.Positions = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {0, 0, 5}, {0, 10, 5}, {10, 0, 5}};
    m.Normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
    return m;
}

const char* const AsciiCube =
    "solid test part\n"
    "  facet normal 0 0 1\n"
    "    outer loop\n"
    "      vertex 0 0 0\n"
    "      vertex 1.5 0 0\n"
    "      vertex 0 1e1 0\n"
    "    endloop\n"
    "  endfacet\n"
    "  FACET NORMAL 0 0 0\r\n"
    "    OUTER LOOP\r\n"
    "      VERTEX 0 0 0\r\n"
    "      VERTEX 0 1 0\r\n"
    "      VERTEX 1 0 0\r\n"
    "    ENDLOOP\r\n"
    "  ENDFACET\r\n"
    "endsolid test part\n";

}  // namespace

TEST(Stl, BinaryRoundTrip) {
    const TMesh src = TwoTriangles();
    const std::string bytes = EncodeBinaryStl(src, "Korvex kit");
    ASSERT_EQ(bytes.size(), 84u + 2 * 50u);
    TMesh m;
    std::string error;
    ASSERT_TRUE(ParseStl(bytes, m, &error)) << error;
    EXPECT_EQ(m.Positions, src.Positions);
    EXPECT_EQ(m.Normals, src.Normals);
    EXPECT_EQ(m.TriangleCount(), 2u);
}

TEST(Stl, BinaryWhoseHeaderBeginsWithSolid) {
    std::string bytes = EncodeBinaryStl(TwoTriangles());
    std::memcpy(bytes.data(), "solid exported by some CAD", 26);
    TMesh m;
    ASSERT_TRUE(ParseStl(bytes, m));
    EXPECT_EQ(m.Positions, TwoTriangles().Positions);
    // Our own writer never starts a header with "solid".
    EXPECT_NE(EncodeBinaryStl(TwoTriangles(), "solid x").substr(0, 5), "solid");
}

TEST(Stl, PaddedBinaryWithSolidHeaderStillLoads) {
    std::string bytes = EncodeBinaryStl(TwoTriangles());
    std::memcpy(bytes.data(), "solid", 5);
    bytes += std::string(7, '\0');
    TMesh m;
    ASSERT_TRUE(ParseStl(bytes, m));
    EXPECT_EQ(m.TriangleCount(), 2u);
}

TEST(Stl, Ascii) {
    TMesh m;
    std::string error;
    ASSERT_TRUE(ParseStl(AsciiCube, m, &error)) << error;
    ASSERT_EQ(m.TriangleCount(), 2u);
    EXPECT_EQ(m.Positions[1], TVector3f(1.5f, 0, 0));
    EXPECT_EQ(m.Positions[2], TVector3f(0, 10, 0));
    EXPECT_EQ(m.Normals[0], TVector3f(0, 0, 1));
    // A zero facet normal is taken from the winding.
    EXPECT_EQ(m.Normals[3], TVector3f(0, 0, -1));
    EXPECT_EQ(m.Normals[5], TVector3f(0, 0, -1));
}

TEST(Stl, BrokenFilesFailCleanly) {
    TMesh m;
    std::string error;
    EXPECT_FALSE(ParseStl("", m, &error));
    EXPECT_FALSE(error.empty());

    const std::string bin = EncodeBinaryStl(TwoTriangles());
    EXPECT_FALSE(ParseStl(bin.substr(0, bin.size() - 10), m, &error));
    EXPECT_TRUE(m.Positions.empty());
    EXPECT_FALSE(ParseStl(bin.substr(0, 50), m, &error));

    // A count of four billion facets in a tiny file: refused, nothing allocated for it.
    std::string huge = bin.substr(0, 84);
    huge[80] = huge[81] = huge[82] = huge[83] = '\xFF';
    huge += std::string(50, '\0');
    EXPECT_FALSE(ParseStl(huge, m, &error));
    EXPECT_NE(error.find("truncated"), std::string::npos);

    const std::string ascii = AsciiCube;
    EXPECT_FALSE(ParseStl(ascii.substr(0, ascii.size() / 2), m, &error));
    EXPECT_TRUE(m.Positions.empty());
    EXPECT_FALSE(ParseStl("solid x\nfacet normal 0 0 1\nouter loop\nvertex 1,5 0 0\n", m));
    EXPECT_FALSE(
        ParseStl("solid x\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\n"
                 "vertex 0 0 0\nendloop\nendfacet\nendsolid\n",
                 m));
    EXPECT_FALSE(ParseStl("hello", m));
}

TEST(Stl, EmptySolidsAreEmptyMeshes) {
    TMesh m;
    EXPECT_TRUE(ParseStl(EncodeBinaryStl(TMesh{}), m));
    EXPECT_EQ(m.TriangleCount(), 0u);
    EXPECT_TRUE(ParseStl("solid empty\nendsolid empty\n", m));
    EXPECT_EQ(m.TriangleCount(), 0u);
}

TEST(Stl, Files) {
    kxtest::TTempDir dir;
    TMesh m;
    std::string error;
    EXPECT_FALSE(LoadStlFile(dir / "missing.stl", m, &error));
    EXPECT_NE(error.find("missing.stl"), std::string::npos);
    ASSERT_TRUE(WriteStlFile(dir / "a.stl", TwoTriangles()));
    ASSERT_TRUE(LoadStlFile(dir / "a.stl", m));
    EXPECT_EQ(m.Positions, TwoTriangles().Positions);
}

TEST(Normals, ReplaceInOrderAsFarAsTheFileGoes) {
    const std::vector<TVector3f> two = {{1, 2, 3}, {4, 5, 6}};
    const std::string bytes = EncodeNormals(two);
    ASSERT_EQ(bytes.size(), 24u);
    // Little-endian singles: 1.0f is 00 00 80 3F.
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x00\x80\x3F", 4));

    TMesh shortFile = TwoTriangles();
    EXPECT_EQ(ApplyNormals(shortFile, bytes), 2u);
    EXPECT_EQ(shortFile.Normals[0], TVector3f(1, 2, 3));
    EXPECT_EQ(shortFile.Normals[1], TVector3f(4, 5, 6));
    EXPECT_EQ(shortFile.Normals[2], TVector3f(0, 0, 1));
    EXPECT_EQ(shortFile.Normals[5], TVector3f(0, 0, -1));

    // A trailing partial record is ignored; a long file is read as far as needed.
    TMesh partial = TwoTriangles();
    EXPECT_EQ(ApplyNormals(partial, bytes.substr(0, 20)), 1u);
    EXPECT_EQ(partial.Normals[1], TVector3f(0, 0, 1));
    TMesh longFile = TwoTriangles();
    std::vector<TVector3f> many(100, TVector3f(0, 1, 0));
    EXPECT_EQ(ApplyNormals(longFile, EncodeNormals(many)), 6u);
    EXPECT_EQ(longFile.Normals[5], TVector3f(0, 1, 0));
    EXPECT_EQ(longFile.Positions.size(), 6u);
}

TEST(Normals, Files) {
    kxtest::TTempDir dir;
    TMesh m = TwoTriangles();
    EXPECT_EQ(LoadNormalsFromFile(m, dir / "none.nrm"), 0u);
    EXPECT_EQ(m.Normals, TwoTriangles().Normals);
    ASSERT_TRUE(WriteNormalsFile(dir / "a.nrm", {{0, 1, 0}}));
    EXPECT_EQ(LoadNormalsFromFile(m, dir / "a.nrm"), 1u);
    EXPECT_EQ(m.Normals[0], TVector3f(0, 1, 0));
}

TEST(Stl, GarbageNeverBreaksTheReader) {
    uint32_t seed = 777;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 24;
    };
    const std::string ascii = AsciiCube;
    const std::string binary = EncodeBinaryStl(TwoTriangles());
    for (int round = 0; round < 500; ++round) {
        std::string bytes = round % 2 ? ascii : binary;
        bytes.resize(next() % (bytes.size() + 1));
        for (uint32_t k = next() % 8; k > 0 && !bytes.empty(); --k) {
            bytes[next() % bytes.size()] = static_cast<char>(next());
        }
        TMesh m;
        if (ParseStl(bytes, m)) {
            EXPECT_EQ(m.Positions.size() % 3, 0u);
            EXPECT_EQ(m.Positions.size(), m.Normals.size());
        } else {
            EXPECT_TRUE(m.Positions.empty());
        }
    }
}
