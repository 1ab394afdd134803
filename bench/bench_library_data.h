// Generated part folders for the library benchmarks: definitions of typical size and icons.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "catalogue/u_defObj.h"
#include "catalogue/u_library.h"
#include "foundation/u_text.h"

namespace kxbench {

class TLibraryData {
public:
    explicit TLibraryData(int count) {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kxbench-lib-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        m_root = tmpl;
        const std::string icon = kx::PlaceholderIconBmp();
        std::filesystem::create_directories(ProgramDir() / "def");
        std::filesystem::create_directories(ProgramDir() / "icon");
        for (int i = 0; i < count; ++i) {
            kx::TDefObj d;
            d.Number = kx::IntToStr(30000 + i);
            d.NameDe = "Baustein " + kx::IntToStr(i) + " mit Zapfen";
            d.NameEng = "Building block " + kx::IntToStr(i);
            d.OrgNumber = d.Number;
            d.Group = static_cast<uint8_t>(i % 23);
            d.SortOrder = 10 + 100 * (count - i);
            d.Hide = i % 97 == 0;
            for (int c = 0; c < 12; ++c) {
                kx::TConn conn;
                conn.Typ = c % 2;
                conn.Thick = 4.0f;
                conn.NameDe = "Zapfen";
                conn.NameEng = "Peg";
                conn.X = 15.0f * static_cast<float>(c % 3);
                conn.Z = 15.0f * static_cast<float>(c / 3);
                d.Conns.push_back(conn);
            }
            kx::WriteFileAtomic(ProgramDir() / "def" / (d.Number + ".def"), kx::DefinitionBytes(d));
            kx::WriteFileAtomic(ProgramDir() / "icon" / (d.Number + ".bmp"), icon);
        }
    }
    ~TLibraryData() {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    std::filesystem::path ProgramDir() const { return m_root / "prog"; }
    std::filesystem::path UserDir() const { return m_root / "user"; }

private:
    std::filesystem::path m_root;
};

}  // namespace kxbench
