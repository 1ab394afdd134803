// A named group of placed parts: the names of its members, without duplicates.
#pragma once

#include <string>
#include <vector>

namespace kx {

class TGroup {
public:
    std::string Name = "Gruppe";
    std::vector<std::string> Members;  ///< part names, no duplicates
    bool Internal = false;             ///< kept and saved, but not shown in the groups tree

    /// Appends the name unless it is already a member (names compared exactly).
    void Add(const std::string& name);
    bool Contains(const std::string& name) const;
    /// Deletes the first equal member; false when there was none.
    bool Remove(const std::string& name);
};

}  // namespace kx
