// Small pictures the program paints itself: the group buttons and the tree nodes' images.
#pragma once

#include <QIcon>

namespace kx {

/// The group buttons: two blocks in one frame (joined), or the same two blocks apart.
QIcon GroupButtonIcon(bool joined);

/// The image of a tree node by its number: 0 the current build phase, 1 a placed part,
/// 2 a build phase, 3 a hidden build phase, 12 a group, 48 a member of a group. Any other
/// number has no image.
QIcon TreeNodeIcon(int image);

}  // namespace kx
