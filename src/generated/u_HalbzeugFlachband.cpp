// The plastic strip: replaying work steps on a fresh strip, building its pieces, baking it.
#include "generated/u_HalbzeugFlachband.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_text.h"
#include "generated/u_ffCube.h"
#include "generated/u_ffCurve.h"
#include "generated/u_ffHole.h"
#include "generated/u_ffLongHole.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

constexpr float kCountersinkStep = 1.5f;

/// Shortest decimal form of a single with a decimal comma; dust from the matrices around zero
/// is written as 0.
std::string FloatText(float v) {
    if (std::fabs(v) < 1e-4f) {
        v = 0;
    }
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    std::string s(buf, res.ptr);
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

/// Replaces a file through a temporary file beside it, so no reader ever sees half a file. The
/// baked files are rebuilt from the model at every load, so they go without the wait for the
/// disk that a user's own files get.
bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    const std::filesystem::path temp =
        path.parent_path() / ("." + path.filename().string() + ".new");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            error = "cannot write " + temp.string();
            out.close();
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        error = ec.message() + ": " + path.string();
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

bool IsOpening(int32_t kind) {
    return kind == kHZHole || kind == kHZSlot;
}

}  // namespace

// --- Work steps -------------------------------------------------------------------------------

void THZFlachband::AddStraight(float length) {
    THZFData piece;
    piece.Length = length;
    m_pieces.push_back(piece);
}

bool THZFlachband::FindContaining(float a, float b, TFound& found) const {
    float s = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const THZFData& p = m_pieces[i];
        if (p.Kind == kHZStraight && s <= a && s + p.Length >= b) {
            found = {i, s};
            return true;
        }
        s += p.Length;
    }
    return false;
}

bool THZFlachband::InsertOpening(THZFData opening, float a, float b) {
    TFound at{};
    if (!FindContaining(a, b, at)) {
        return false;
    }
    const float end = at.Start + m_pieces[at.Index].Length;
    size_t next = at.Index;
    if (at.Start < a) {
        m_pieces[at.Index].Length = a - at.Start;
        ++next;
    } else {
        m_pieces.erase(m_pieces.begin() + static_cast<std::ptrdiff_t>(at.Index));
    }
    opening.Length = b - a;
    m_pieces.insert(m_pieces.begin() + static_cast<std::ptrdiff_t>(next), opening);
    if (end > b) {
        THZFData rest;
        rest.Length = end - b;
        m_pieces.insert(m_pieces.begin() + static_cast<std::ptrdiff_t>(next + 1), rest);
    }
    return true;
}

bool THZFlachband::ApplyDrill(float x, float d) {
    THZFData hole;
    hole.Kind = kHZHole;
    hole.Radius = d / 2;
    return InsertOpening(hole, x - d / 2 - 0.5f, x + d / 2 + 0.5f);
}

bool THZFlachband::ApplySlot(float x1, float x2, float d) {
    const float lo = std::min(x1, x2);
    const float hi = std::max(x1, x2);
    THZFData slot;
    slot.Kind = kHZSlot;
    slot.SlotLength = hi - lo;
    slot.Radius = d / 2;
    return InsertOpening(slot, lo - d / 2 - 0.5f, hi + d / 2 + 0.5f);
}

bool THZFlachband::ApplyCut(float x) {
    float s = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        if (s == x) {
            m_pieces.resize(i);
            return true;
        }
        s += m_pieces[i].Length;
    }
    s = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        THZFData& p = m_pieces[i];
        if (p.Kind == kHZStraight && s < x && x < s + p.Length) {
            p.Length = x - s;
            m_pieces.resize(i + 1);
            return true;
        }
        s += p.Length;
    }
    return false;
}

bool THZFlachband::ApplyRounding(int side, float x) {
    float s = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        THZFData& p = m_pieces[i];
        if (IsOpening(p.Kind) && s < x && x < s + p.Length) {
            if (side == 0) {
                p.RoundStart = true;
                for (size_t j = 0; j < i; ++j) {
                    m_pieces[j].Kind = kHZRemoved;
                }
            } else {
                p.RoundEnd = true;
                m_pieces.resize(i + 1);
            }
            return true;
        }
        s += p.Length;
    }
    return false;
}

bool THZFlachband::ApplyBend(int angle, float x) {
    THZFData bend;
    bend.Kind = kHZBend;
    bend.Angle = angle;
    float s = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        if (s == x) {
            m_pieces.insert(m_pieces.begin() + static_cast<std::ptrdiff_t>(i), bend);
            m_lastBend = static_cast<int>(i);
            return true;
        }
        s += m_pieces[i].Length;
    }
    s = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        THZFData& p = m_pieces[i];
        if (p.Kind == kHZStraight && s < x && x < s + p.Length) {
            THZFData rest;
            rest.Length = (s + p.Length) - x;
            p.Length = x - s;
            m_pieces.insert(m_pieces.begin() + static_cast<std::ptrdiff_t>(i + 1), {bend, rest});
            m_lastBend = static_cast<int>(i + 1);
            return true;
        }
        s += p.Length;
    }
    return false;
}

bool THZFlachband::ApplyCountersink(int side, float x) {
    float s = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        THZFData& hole = m_pieces[i];
        if (hole.Kind == kHZHole && s < x && x < s + hole.Length) {
            if (!hole.Countersink) {
                const auto fits = [](const THZFData& p) {
                    return p.Kind == kHZStraight && p.Length >= kCountersinkStep;
                };
                if (i == 0 || i + 1 >= m_pieces.size() || !fits(m_pieces[i - 1]) ||
                    !fits(m_pieces[i + 1])) {
                    return false;
                }
                hole.Length += 2 * kCountersinkStep;
                m_pieces[i - 1].Length -= kCountersinkStep;
                m_pieces[i + 1].Length -= kCountersinkStep;
            }
            hole.Countersink = true;
            hole.CountersinkRadius = hole.Radius + kCountersinkStep;
            hole.CountersinkDepth = side == 0 ? kCountersinkStep : -kCountersinkStep;
            return true;
        }
        s += hole.Length;
    }
    return false;
}

bool THZFlachband::Apply(const THZModData& m) {
    const auto x1 = static_cast<float>(m.X1);
    switch (m.Typ) {
        case 0:
            return ApplyCut(x1);
        case 1:
            return ApplyDrill(x1, static_cast<float>(m.D));
        case 2:
            return ApplySlot(x1, static_cast<float>(m.X2), static_cast<float>(m.D));
        case 3:
            return ApplyCountersink(m.Mode, x1);
        case 4:
            return ApplyRounding(m.Mode, x1);
        case 5:
            return ApplyBend(m.Mode, x1);
        default:
            return false;
    }
}

std::vector<size_t> THZFlachband::Replay(const std::vector<THZModData>& steps) {
    m_pieces.clear();
    m_lastBend = -1;
    AddStraight(kInitialLength);
    std::vector<size_t> skipped;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (!Apply(steps[i])) {
            skipped.push_back(i);
        }
    }
    return skipped;
}

float THZFlachband::BuiltLength() const {
    float length = 0;
    for (const THZFData& p : m_pieces) {
        if (p.Kind != kHZRemoved) {
            length += p.Length;
        }
    }
    return length;
}

// --- Pieces -----------------------------------------------------------------------------------

void THZFlachband::BuildPieces(TSceneObject& target) {
    m_target = &target;
    target.DeleteChildren();
    TVector3f position = target.Position();
    TVector3f direction = target.Direction();
    TVector3f up = target.Up();
    const auto place = [&](TFFBase& piece) {
        piece.SetOrientation(direction, up);
        piece.SetPosition(position);
    };
    const auto next = [&](const TFFBase& piece) {
        position = piece.EndPosition();
        direction = piece.EndDirection();
        up = piece.EndUp();
    };
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        THZFData& p = m_pieces[i];
        p.Marker1 = nullptr;
        p.Marker2 = nullptr;
        const bool first = i == 0;
        const bool last = i + 1 == m_pieces.size();
        const std::string name = "HZ" + IntToStr(static_cast<int64_t>(i));
        switch (p.Kind) {
            case kHZStraight: {
                auto& cube = target.AddNewChild<TFFCube>(name);
                place(cube);
                cube.Length = p.Length;
                cube.StartCap = first;
                cube.EndCap = last;
                cube.BuildMesh();
                next(cube);
                break;
            }
            case kHZBend: {
                auto& curve = target.AddNewChild<TFFCurve>(name);
                place(curve);
                curve.Angle = p.Angle;
                curve.BuildMesh();
                next(curve);
                break;
            }
            case kHZHole: {
                auto& hole = target.AddNewChild<TFFHole>(name);
                place(hole);
                hole.Length = p.Length;
                hole.Radius = p.Radius;
                hole.Countersink = p.Countersink;
                hole.CountersinkDepth = p.CountersinkDepth;
                hole.CountersinkRadius = p.CountersinkRadius;
                hole.RoundStart = p.RoundStart;
                hole.RoundEnd = p.RoundEnd;
                hole.StartCap = first && !p.RoundStart;
                hole.EndCap = last && !p.RoundEnd;
                hole.BuildMesh();
                const float r = p.Countersink ? p.CountersinkRadius : p.Radius;
                p.Marker1 = &hole.AddNewChild<TDummyCube>(name + "M1");
                p.Marker1->SetPosition({0.5f + r, 1.5f, 0});
                next(hole);
                break;
            }
            case kHZSlot: {
                auto& slot = target.AddNewChild<TFFLongHole>(name);
                place(slot);
                slot.Length = p.Length;
                slot.SlotLength = p.SlotLength;
                slot.Radius = p.Radius;
                slot.RoundStart = p.RoundStart;
                slot.RoundEnd = p.RoundEnd;
                slot.StartCap = first && !p.RoundStart;
                slot.EndCap = last && !p.RoundEnd;
                slot.BuildMesh();
                p.Marker1 = &slot.AddNewChild<TDummyCube>(name + "M1");
                p.Marker1->SetPosition({0.5f + p.Radius, 1.5f, 0});
                p.Marker2 = &slot.AddNewChild<TDummyCube>(name + "M2");
                p.Marker2->SetPosition({0.5f + p.Radius + p.SlotLength, 1.5f, 0});
                next(slot);
                break;
            }
            default:
                break;
        }
    }
}

std::vector<size_t> THZFlachband::Rebuild(const std::vector<THZModData>& steps,
                                          TSceneObject& target) {
    std::vector<size_t> skipped = Replay(steps);
    BuildPieces(target);
    return skipped;
}

// --- Baking -----------------------------------------------------------------------------------

bool IsStripNumber(std::string_view number) {
    return number.size() == 5 && number[0] == 'X' &&
           std::all_of(number.begin() + 1, number.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> StripDefinitionLines(std::string_view number, std::string_view description,
                                              const THZFlachband& strip) {
    const std::string num(number);
    const std::string desc(description);
    size_t count = 0;
    for (const THZFData& p : strip.Pieces()) {
        count += p.Kind == kHZHole ? 1 : (p.Kind == kHZSlot ? 2 : 0);
    }
    std::vector<std::string> lines = {"[COLOR]",
                                      "BLUE=32",
                                      "RED=255",
                                      "GREEN=32",
                                      "",
                                      "[COMMON]",
                                      "Name=" + desc,
                                      "Eng=" + desc,
                                      "GROUP=4",
                                      "PRIZE=0.00",
                                      "ORGNUMBER=" + num,
                                      "Printable=1",
                                      "Hide=1",
                                      "",
                                      "[OFFSET]",
                                      "X=0",
                                      "Y=-1,5",
                                      "Z=0",
                                      "",
                                      "[CONNECTIONS]",
                                      "COUNT=" + IntToStr(static_cast<int64_t>(count)),
                                      ""};
    int64_t k = 0;
    int64_t bends = 0;
    const auto connector = [&](const THZFData& p, const TSceneObject* marker, bool slot) {
        ++k;
        const TVector3f m = marker ? marker->AbsolutePosition() : TVector3f{};
        const std::string n = IntToStr(k);
        lines.insert(lines.end(), {"[CONN" + n + "]", (slot ? "Name=Langloch " : "Name=Loch ") + n,
                                   (slot ? "Eng=Longhole " : "Eng=Hole ") + n, "TYP=0",
                                   "THICK=" + FloatText(2 * p.Radius), "X=" + FloatText(10 * m.X),
                                   "Y=" + FloatText(10 * m.Y - 1.5f), "Z=" + FloatText(10 * m.Z),
                                   "PF=90", "RF=0", "TF=" + IntToStr(-bends), "PN=90",
                                   "RN=" + IntToStr(bends + 180), "TN=180", ""});
    };
    for (const THZFData& p : strip.Pieces()) {
        if (p.Kind == kHZBend) {
            bends += p.Angle;
        } else if (p.Kind == kHZHole) {
            connector(p, p.Marker1, false);
        } else if (p.Kind == kHZSlot) {
            connector(p, p.Marker1, true);
            connector(p, p.Marker2, true);
        }
    }
    return lines;
}

THZBakeResult BakePart(const TPartFiles& files, std::string_view number,
                       std::string_view description, const THZFlachband& strip,
                       TSceneObject& target, TFreeForm& save) {
    THZBakeResult result;
    if (!IsStripNumber(number)) {
        result.Error = "not a strip number: " + std::string(number);
        return result;
    }
    auto mesh = std::make_shared<TMesh>();
    for (const auto& child : target.Children()) {
        if (child->Kind() != TSceneObjectKind::FreeForm) {
            continue;
        }
        const auto& piece = static_cast<const TFreeForm&>(*child);
        if (!piece.Mesh()) {
            continue;
        }
        const TMatrix4f m = piece.AbsoluteMatrix();
        for (const TVector3f& v : piece.Mesh()->Positions) {
            mesh->Positions.push_back(m.TransformPoint(v) * 10.0f);
        }
    }
    mesh->Normals = TFFBase::FlatNormals(mesh->Positions);
    const std::string stl = std::string(number) + ".stl";
    const std::string def = std::string(number) + ".def";
    const std::string stlBytes = EncodeBinaryStl(*mesh);
    for (const char* folder : {"hires", "lores"}) {
        if (!ReplaceFile(files.UserPath(folder, stl), stlBytes, result.Error)) {
            return result;
        }
    }
    const std::vector<std::string> lines = StripDefinitionLines(number, description, strip);
    if (!ReplaceFile(files.UserPath("def", def), Utf8ToCp1252(JoinLines(lines)), result.Error)) {
        return result;
    }
    save.SetMesh(std::move(mesh));
    files.Refresh("def");
    files.Refresh("hires");
    files.Refresh("lores");
    result.Ok = true;
    for (const THZFData& p : strip.Pieces()) {
        result.Connectors += p.Kind == kHZHole ? 1 : (p.Kind == kHZSlot ? 2 : 0);
    }
    return result;
}

THZBakeResult BakeSemiFinished(const TPartFiles& files, const THZData& part, TDefCache& defs,
                               TffCache& meshes) {
    TDummyCube scratch;
    TFreeForm save;
    THZFlachband strip;
    strip.Rebuild(part.Mods, scratch);
    THZBakeResult result = BakePart(files, part.Name, part.Bez, strip, scratch, save);
    // Whatever was cached under the number belongs to an earlier strip of that number.
    defs.Invalidate(part.Name);
    meshes.Invalidate(part.Name);
    return result;
}

}  // namespace kx
