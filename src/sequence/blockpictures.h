// The pictures of the flowchart's blocks, drawn by the program at whatever scale the painter
// has, so they stay sharp when zoomed and on high-density screens.
#pragma once

#include <QIcon>

#include "sequence/u_ablaufblocks.h"

class QPainter;

namespace kx {

/// The size of a kind's picture; the motor picture is 4 pixels taller than its block.
QSize BlockPictureSize(TBlockKind kind);
/// The picture of a block of that kind with its top-left corner at the painter's origin;
/// `motorStatus` chooses the motor's arrow (0 stop, 1 left, 2 right).
void DrawBlockPicture(QPainter& painter, TBlockKind kind, int motorStatus = 0);
/// The block as the surface shows it: picture, text and the colour block's swatch.
void DrawBlock(QPainter& painter, const TBlock& block);
/// A palette entry's 50×35 picture: the block picture made small.
QIcon PalettePicture(int pictureIndex);

}  // namespace kx
