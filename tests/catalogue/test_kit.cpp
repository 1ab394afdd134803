// The bundled kit beside the executable: every definition is canonical, every mesh loads.
#include <gtest/gtest.h>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_text.h"

using namespace kx;

namespace {

// Only the program folder: a user's own files are no part of the kit.
TPartFiles KitFiles() {
    return TPartFiles(KX_RUNTIME_DIR, {});
}

}  // namespace

TEST(Kit, EveryDefinitionSurvivesReaderWriterReader) {
    const TPartFiles files = KitFiles();
    const std::vector<std::string> numbers = files.DefinitionNumbers();
    if (numbers.empty()) {
        GTEST_SKIP() << "no kit in " << (std::filesystem::path(KX_RUNTIME_DIR) / "def").string();
    }
    for (const std::string& number : numbers) {
        const auto file = files.FindDef(number);
        ASSERT_TRUE(file);
        const std::string bytes = *ReadFileBytes(*file);
        const TDefObj first = ParseDefObj(bytes, number);
        const TDefObj second = ParseDefObj(DefinitionBytes(first), number);
        EXPECT_EQ(first, second) << number;
        // The kit is written by the canonical writer, so writing it again changes no byte.
        EXPECT_EQ(DefinitionBytes(first), bytes) << number;
        EXPECT_NO_THROW(ReadMiniDefObj(*file, number)) << number;
    }
}

TEST(Kit, EveryMeshLoads) {
    const TPartFiles files = KitFiles();
    const std::vector<std::string> numbers = files.DefinitionNumbers();
    if (numbers.empty()) {
        GTEST_SKIP() << "no kit in " << (std::filesystem::path(KX_RUNTIME_DIR) / "def").string();
    }
    int loaded = 0;
    for (const std::string& number : numbers) {
        for (const char* dir : {"hires", "lores"}) {
            const auto file = files.FindPart(dir, number, "stl");
            if (!file) {
                continue;
            }
            TMesh mesh;
            std::string error;
            EXPECT_TRUE(LoadStlFile(*file, mesh, &error)) << error;
            EXPECT_GT(mesh.TriangleCount(), 0u) << *file;
            ++loaded;
        }
    }
    EXPECT_GT(loaded, 0);
}
