// The fast line scanner of model files: part sections, measurements, stored cameras, groups.
#include "model/u_ModelLoader.h"

#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

enum class TScanState { None, Part, Other, Measure, Camera, Group };

/// The line from a fixed column on (0-based here); empty when the line is shorter.
std::string_view From(std::string_view line, size_t column) {
    return line.size() > column ? line.substr(column) : std::string_view{};
}

/// The text after the first "=", or nothing when there is none.
std::string_view AfterEquals(std::string_view line) {
    const size_t at = line.find('=');
    return at == std::string_view::npos ? std::string_view{} : line.substr(at + 1);
}

double Float(std::string_view line, size_t column, double def) {
    return StrToFloatDef(From(line, column), def);
}

int32_t Int(std::string_view line, size_t column) {
    return StrToIntDef(From(line, column), 0);
}

bool Begins(std::string_view line, std::string_view key) {
    return StartsWithText(line, key);
}

void ScanPart(std::string_view l, TPartRecord& p) {
    if (Begins(l, "NAME")) {
        p.StoredName = From(l, 5);
    } else if (Begins(l, "XPOS")) {
        p.XPos = Float(l, 5, 0);
    } else if (Begins(l, "YPOS")) {
        p.YPos = Float(l, 5, 0);
    } else if (Begins(l, "ZPOS")) {
        p.ZPos = Float(l, 5, 0);
    } else if (Begins(l, "XUP")) {
        p.XUp = Float(l, 4, 0);
    } else if (Begins(l, "YUP")) {
        p.YUp = Float(l, 4, 0);
    } else if (Begins(l, "ZUP")) {
        p.ZUp = Float(l, 4, 0);
    } else if (Begins(l, "XDIR")) {
        p.XDir = Float(l, 5, 0);
    } else if (Begins(l, "YDIR")) {
        p.YDir = Float(l, 5, 0);
    } else if (Begins(l, "ZDIR")) {
        p.ZDir = Float(l, 5, 0);
    } else if (Begins(l, "COLOR")) {
        p.Color = Int(l, 6);
    } else if (Begins(l, "PHASE")) {
        p.Phase = Int(l, 6);
    }
}

void ScanMeasure(std::string_view l, TMeasureRecord& m) {
    if (Begins(l, "VISIBLE")) {
        m.Visible = Trim(From(l, 8)) == "1";
    } else if (Begins(l, "PART1")) {
        m.Part1 = Trim(From(l, 6));
    } else if (Begins(l, "PART2")) {
        m.Part2 = Trim(From(l, 6));
    } else if (Begins(l, "BASELINEHEIGHT")) {
        m.BaseLineHeight = Float(l, 15, 1);
    } else if (Begins(l, "ROTATION")) {
        m.Rotation = Float(l, 9, 0);
    } else if (Begins(l, "TEXTHEIGHT")) {
        m.TextHeight = Float(l, 11, 0);
    } else if (Begins(l, "LIFT1")) {
        m.Lift1 = Float(l, 6, 0);
    } else if (Begins(l, "MOVE1")) {
        m.Move1 = Float(l, 6, 0);
    } else if (Begins(l, "SLIDE1")) {
        m.Slide1 = Float(l, 7, 0);
    } else if (Begins(l, "LIFT2")) {
        m.Lift2 = Float(l, 6, 0);
    } else if (Begins(l, "MOVE2")) {
        m.Move2 = Float(l, 6, 0);
    } else if (Begins(l, "SLIDE2")) {
        m.Slide2 = Float(l, 7, 0);
    }
}

void ScanCamera(std::string_view l, TCameraRecord& c) {
    if (Begins(l, "CAMNAME")) {
        c.Name = From(l, 8);
    } else if (Begins(l, "POSITIONX")) {
        c.PositionX = Float(l, 10, 0);
    } else if (Begins(l, "POSITIONY")) {
        c.PositionY = Float(l, 10, 0);
    } else if (Begins(l, "POSITIONZ")) {
        c.PositionZ = Float(l, 10, 0);
    } else if (Begins(l, "TARGETX")) {
        c.TargetX = Float(l, 8, 0);
    } else if (Begins(l, "TARGETY")) {
        c.TargetY = Float(l, 8, 0);
    } else if (Begins(l, "TARGETZ")) {
        c.TargetZ = Float(l, 8, 0);
    }
}

void ScanGroup(std::string_view l, TGroupRecord& g) {
    if (Begins(l, "GNAME")) {
        g.Name = From(l, 6);
    } else if (Begins(l, "GPART")) {
        g.Members.emplace_back(AfterEquals(l));
    } else if (Begins(l, "GINTERNAL")) {
        g.Internal = UpperCase(AfterEquals(l)) == "TRUE";
    }
}

}  // namespace

void TModelLoader::Clear() {
    Parts.clear();
    Measurements.clear();
    Cameras.clear();
    Groups.clear();
}

void TModelLoader::Scan(const std::vector<std::string>& lines) {
    TScanState state = TScanState::None;
    for (const std::string& text : lines) {
        const std::string_view line = text;
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            const std::string_view header = line.substr(1);
            if (Begins(header, "PART")) {
                Parts.emplace_back();
                state = TScanState::Part;
            } else if (Begins(header, "MEASURE")) {
                Measurements.emplace_back();
                state = TScanState::Measure;
            } else if (Begins(header, "EXCAM")) {
                Cameras.emplace_back();
                state = TScanState::Camera;
            } else if (Begins(header, "GROUP")) {
                Groups.emplace_back();
                state = TScanState::Group;
            } else {
                // Any other section ends the one before: a strip's NAME must not rename a part.
                state = TScanState::Other;
            }
            continue;
        }
        switch (state) {
            case TScanState::Part:
                ScanPart(line, Parts.back());
                break;
            case TScanState::Measure:
                ScanMeasure(line, Measurements.back());
                break;
            case TScanState::Camera:
                ScanCamera(line, Cameras.back());
                break;
            case TScanState::Group:
                ScanGroup(line, Groups.back());
                break;
            case TScanState::None:
            case TScanState::Other:
                break;
        }
    }
}

bool TModelLoader::LoadFromFile(const std::filesystem::path& fileName) {
    Stack().Push("TModelLoader.LoadFromFile", fileName.string());
    Clear();
    const auto lines = ReadTextFile(fileName);
    if (!lines) {
        return false;
    }
    Scan(*lines);
    return true;
}

bool TModelLoader::LoadFromStream(std::istream& stream) {
    Stack().Push("TModelLoader.LoadFromStream");
    Clear();
    std::string bytes;
    if (!ReadWholeStream(stream, bytes)) {
        return false;
    }
    Scan(SplitLines(Cp1252ToUtf8(bytes)));
    return true;
}

bool ReadWholeStream(std::istream& stream, std::string& bytes) {
    bytes.clear();
    stream.clear();
    stream.seekg(0, std::ios::beg);
    if (!stream) {
        return false;
    }
    char buffer[65536];
    while (stream.read(buffer, sizeof buffer) || stream.gcount() > 0) {
        bytes.append(buffer, static_cast<size_t>(stream.gcount()));
    }
    // Reading ends at the end of the stream; anything else is a read error.
    return stream.eof() && !stream.bad();
}

}  // namespace kx
