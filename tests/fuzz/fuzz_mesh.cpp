// Fuzz target of the mesh readers: STL (binary and ASCII) and the normals that go with a mesh.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalogue/u_normals.h"
#include "catalogue/u_stl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kx::TMesh mesh;
    if (kx::ParseStl(bytes, mesh)) {
        if (mesh.Normals.size() != mesh.Positions.size() || mesh.Positions.size() % 3 != 0) {
            __builtin_trap();
        }
        // The same bytes as the mesh's normals file.
        if (kx::ApplyNormals(mesh, bytes) > mesh.Normals.size()) {
            __builtin_trap();
        }
    }
    // A fixed mesh of one triangle under any normals file.
    kx::TMesh triangle;
    triangle.Positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.Normals.assign(3, {0, 0, 1});
    if (kx::ApplyNormals(triangle, bytes) > 3 || triangle.Normals.size() != 3) {
        __builtin_trap();
    }
    return 0;
}
