// The picture of the parts of a build phase: the parts' icons in rows, with their counts.
#pragma once

#include <QImage>
#include <vector>

#include "model/u_partslist.h"

namespace kx {

class TPartFiles;

/// Draws the groups as the options say: icons (or, in high quality, print pictures) in cells
/// left to right and row by row. A part without a readable picture gets a framed square with
/// its number; the picture is always made.
QImage PaintPhasePicture(const std::vector<TPhasePartGroup>& groups,
                         const TPhasePictureOptions& options, const TPartFiles& files);

}  // namespace kx
