// Switching the outline drawing of part edges on or off for every placed part.
#pragma once

namespace kx {

class TkxMain;

/// Every placed part's library material gets a fresh outline shader of the given line width
/// (on), or loses its shader (off); then the model is redrawn, which restores each part's own
/// alpha.
void ChangeOutlineMode(TkxMain& model, bool on, int lineWidth);

}  // namespace kx
