// The school library's boxes: the kit's four school boxes with their parts, which of them are
// switched on, and the library configuration file userbib.ini written from that.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kx {

class TIniFileEx;
class TPartFiles;
class TkxParam;

inline constexpr int kLPEBoxCount = 4;
/// The boxes' names and part lists, shipped with the kit beside its part folders.
inline constexpr const char* kLPEBoxesFile = "lpeboxes.ini";
/// The library configuration file, in the per-user data folder.
inline constexpr const char* kUserBibFile = "userbib.ini";

struct TLPEBoxDef {
    std::string Name;
    std::vector<std::string> Parts;  ///< part numbers, in the order the file lists them
};
using TLPEBoxes = std::array<TLPEBoxDef, kLPEBoxCount>;
using TLPEBoxSwitches = std::array<bool, kLPEBoxCount>;

/// Sections [BOX1] ... [BOX4], each with "Name=" and any number of "Parts=" lines whose
/// numbers are separated by blanks or commas. A missing box has no name and no parts.
TLPEBoxes ParseLPEBoxes(const TIniFileEx& ini);

/// The boxes file of the user folder if there is one, else the shipped one.
TLPEBoxes LoadLPEBoxes(const TPartFiles& files);

class TLPEBox {
public:
    /// The lines of userbib.ini for the boxes switched on, in box order.
    static std::vector<std::string> UserBibLines(const TLPEBoxes& boxes, const TLPEBoxSwitches& on);

    /// LPEBOX1 ... LPEBOX4 as they are stored now.
    static TLPEBoxSwitches ReadSwitches(TkxParam& param);
    /// Stores LPEBOX1 ... LPEBOX4; with all four off, box 1 is switched on, since a school
    /// library without a box would show no part at all.
    static void StoreSwitches(TkxParam& param, TLPEBoxSwitches on);

    /// Writes dir/userbib.ini (atomically) from the box settings read at this moment. False
    /// with the reason when it cannot be written; the settings stay as they are.
    static bool WriteUserBib(TkxParam& param, const TLPEBoxes& boxes,
                             const std::filesystem::path& dir, std::string* error = nullptr);
};

}  // namespace kx
