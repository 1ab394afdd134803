// The model's plastic strips as a model file brings them: which may be baked, under which
// number, before the file's parts are placed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "generated/u_hzdata.h"
#include "model/u_modelfile.h"

namespace kx {

/// Whether two strips are made by the same work steps.
bool SameWorkSteps(const THZData& a, const THZData& b);

/// The first of X0001 ... X9999 that none of the strips uses (letter case ignored), or an
/// empty text when all are taken.
std::string NextFreeStripNumber(const std::vector<THZData>& strips);

/// Checks a file's strips before anything of the model changes. A strip whose number could
/// not name a file ("X" and four digits) is dropped, and so is its number's text in the
/// result. When merging, a strip whose number the open model already uses with other work
/// steps takes the next free number, and the file's parts of the old number are placed under
/// the new one (their NewName is set to the name they ask for), so that neither model's
/// strip changes shape; a strip the open model already has with the same steps is not added
/// a second time. Returns the numbers of the dropped strips.
std::vector<std::string> PrepareSemiFinished(TModelFile& file, const std::vector<THZData>& existing,
                                             bool newModel);

}  // namespace kx
