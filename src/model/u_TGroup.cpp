// A named group of placed parts.
#include "model/u_TGroup.h"

#include <algorithm>

namespace kx {

void TGroup::Add(const std::string& name) {
    if (!Contains(name)) {
        Members.push_back(name);
    }
}

bool TGroup::Contains(const std::string& name) const {
    return std::find(Members.begin(), Members.end(), name) != Members.end();
}

bool TGroup::Remove(const std::string& name) {
    const auto it = std::find(Members.begin(), Members.end(), name);
    if (it == Members.end()) {
        return false;
    }
    Members.erase(it);
    return true;
}

}  // namespace kx
