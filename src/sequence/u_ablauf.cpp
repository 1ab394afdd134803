// The sequence program: editing the flowchart, its text format and file, starting and stopping.
#include "sequence/u_ablauf.h"

#include <algorithm>
#include <map>

#include "foundation/u_iniex.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

/// The number after a section name's prefix ("LOGIKBLOCK12" -> 12), or 0.
int32_t SectionNumber(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || !StartsWithText(name, prefix)) {
        return 0;
    }
    const std::string_view digits = name.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    const auto n = ParseInt(digits);
    // "LOGIKBLOCK01" is not the section a lookup of block 1 would find.
    return n && IntToStr(*n) == digits ? *n : 0;
}

/// The numbered sections of a kind that a count of `count` reaches, in number order; the
/// first section of a number wins, as in every lookup of the reader. Only sections the file
/// holds are visited, so a huge count costs nothing.
std::map<int32_t, std::string> NumberedSections(const TIniFileEx& ini, std::string_view prefix,
                                                int32_t count) {
    std::map<int32_t, std::string> sections;
    for (const TIniFileSection& s : ini.Sections()) {
        const int32_t n = SectionNumber(s.Name, prefix);
        if (n >= 1 && n <= count) {
            sections.emplace(n, s.Name);
        }
    }
    return sections;
}

}  // namespace

TAblauf::TAblauf() = default;

TAblauf::~TAblauf() {
    StopProgram();
}

size_t TAblauf::BlockNumber(const TBlock* block) const {
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        if (m_blocks[i].get() == block) {
            return i + 1;
        }
    }
    return 0;
}

void TAblauf::Changed() {
    ++m_revision;
    if (m_onChanged) {
        m_onChanged();
    }
    if (m_onShownChanged) {
        m_onShownChanged();
    }
}

void TAblauf::NotifyChanged() {
    Changed();
}

// --- Editing ----------------------------------------------------------------------------------

TBlock& TAblauf::AddBlock(TBlockKind kind, int32_t x, int32_t y) {
    Stack().Push("TAblauf.AddBlock", static_cast<int>(kind), x, y);
    std::unique_ptr<TBlock> block = TBlock::Create(kind);
    TBlock::DropCorner(kind, x, y, block->X, block->Y);
    m_blocks.push_back(std::move(block));
    Changed();
    return *m_blocks.back();
}

TBlock* TAblauf::BlockAt(int32_t x, int32_t y) const {
    for (auto it = m_blocks.rbegin(); it != m_blocks.rend(); ++it) {
        const TBlock& b = **it;
        const int64_t right = int64_t(b.X) + b.Width;
        const int64_t bottom = int64_t(b.Y) + b.Height;
        if (b.X < x && x < right && b.Y < y && y < bottom) {
            return it->get();
        }
    }
    return nullptr;
}

TAblaufPoint TAblauf::ConnectorPos(const TBlock& block, int index) {
    const TConnector c = block.GetConnector(index);
    return {block.X + c.X, block.Y + c.Y};
}

int TAblauf::NearestConnector(const TBlock& block, int32_t x, int32_t y) {
    int best = -1;
    int64_t bestDistance = 0;
    for (int i = 1; i <= block.ConnectorCount(); ++i) {
        const TAblaufPoint p = ConnectorPos(block, i);
        const int64_t dx = int64_t(p.X) - x;
        const int64_t dy = int64_t(p.Y) - y;
        const int64_t d = dx * dx + dy * dy;
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

TAblaufPoint TAblauf::NearestConnectorPos(const TBlock& block, int32_t x, int32_t y) {
    const int index = NearestConnector(block, x, y);
    return index < 0 ? TAblaufPoint{x, y} : ConnectorPos(block, index);
}

TAblaufResult TAblauf::Connect(TBlock& source, TAblaufPoint sourcePoint, TBlock& target,
                               TAblaufPoint targetPoint) {
    Stack().Push("TAblauf.Connect", BlockNumber(&source), BlockNumber(&target));
    const int conn1 = NearestConnector(source, sourcePoint.X, sourcePoint.Y);
    const int conn2 = NearestConnector(target, targetPoint.X, targetPoint.Y);
    if (conn1 < 0 || conn2 < 0 || source.GetConnector(conn1).Kind != TConnector::Output ||
        target.GetConnector(conn2).Kind != TConnector::Input) {
        return TAblaufResult::Failed(
            Language().GetText("U_ABLAUF", 3,
                               "Verbindungen dürfen immer nur von Ausgängen hin zu Eingängen "
                               "verlegt werden."));
    }
    m_connections.push_back({&source, &target, conn1, conn2});
    Changed();
    return TAblaufResult::Ok();
}

void TAblauf::DeleteBlock(const TBlock* block) {
    Stack().Push("TAblauf.DeleteBlock", BlockNumber(block));
    const auto it = std::find_if(m_blocks.begin(), m_blocks.end(),
                                 [block](const auto& b) { return b.get() == block; });
    if (it == m_blocks.end()) {
        return;
    }
    std::erase_if(m_connections,
                  [block](const TCon& c) { return c.Block1 == block || c.Block2 == block; });
    m_blocks.erase(it);
    Changed();
}

void TAblauf::DeleteConnection(const TBlock& block, TAblaufPoint point) {
    Stack().Push("TAblauf.DeleteConnection", BlockNumber(&block), point.X, point.Y);
    const int a = NearestConnector(block, point.X, point.Y);
    const size_t removed = std::erase_if(m_connections, [&](const TCon& c) {
        return (c.Block1 == &block && c.Conn1 == a) || (c.Block2 == &block && c.Conn2 == a);
    });
    if (removed > 0) {
        Changed();
    }
}

void TAblauf::MoveBlock(TBlock& block, int32_t x, int32_t y) {
    if (block.X == x && block.Y == y) {
        return;
    }
    block.X = x;
    block.Y = y;
    Changed();
}

void TAblauf::Clear() {
    Stack().Push("TAblauf.Clear");
    if (m_blocks.empty() && m_connections.empty()) {
        return;
    }
    m_connections.clear();
    m_blocks.clear();
    Changed();
}

TBlock* TAblauf::NextBlock(const TBlock* block, int output) const {
    if (!block) {
        return nullptr;
    }
    TBlock* next = nullptr;
    for (const TCon& c : m_connections) {
        if (c.Block1 == block && c.Conn1 == output) {
            next = c.Block2;
        }
        if (c.Block2 == block && c.Conn2 == output) {
            next = c.Block1;
        }
    }
    return next;
}

// --- Text format ------------------------------------------------------------------------------

std::vector<std::string> TAblauf::SaveToList() const {
    std::vector<std::string> lines;
    lines.reserve(4 + m_blocks.size() * 8 + m_connections.size() * 6);
    lines.push_back("[LOGIKCOMMON]");
    lines.push_back("BLOCKCOUNT=" + IntToStr(int64_t(m_blocks.size())));
    lines.push_back("CONNCOUNT=" + IntToStr(int64_t(m_connections.size())));
    lines.emplace_back();
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        lines.push_back("[LOGIKBLOCK" + IntToStr(int64_t(i + 1)) + "]");
        m_blocks[i]->SaveToList(lines);
        lines.emplace_back();
    }
    for (size_t j = 0; j < m_connections.size(); ++j) {
        const TCon& c = m_connections[j];
        lines.push_back("[LOGIKCONN" + IntToStr(int64_t(j + 1)) + "]");
        lines.push_back("CONN1=" + IntToStr(c.Conn1));
        lines.push_back("CONN2=" + IntToStr(c.Conn2));
        lines.push_back("BLOCK1=" + IntToStr(int64_t(BlockNumber(c.Block1))));
        lines.push_back("BLOCK2=" + IntToStr(int64_t(BlockNumber(c.Block2))));
        lines.emplace_back();
    }
    return lines;
}

void TAblauf::LoadFromList(const std::vector<std::string>& lines) {
    Stack().Push("TAblauf.LoadFromList", int64_t(lines.size()));
    const TIniFileEx ini(lines);
    std::vector<std::unique_ptr<TBlock>> blocks;
    // The file's block numbers, with gaps where a section made no block: connections name
    // blocks by these numbers.
    std::map<int32_t, TBlock*> byNumber;
    const int32_t blockCount = ini.ReadInteger("LOGIKCOMMON", "BLOCKCOUNT", 0);
    for (const auto& [number, section] : NumberedSections(ini, "LOGIKBLOCK", blockCount)) {
        TBlockKind kind{};
        if (!TBlock::KindOfType(ini.ReadString(section, "TYP", ""), kind)) {
            Stack().Push("TAblauf.LoadFromList: unknown block", number);
            continue;
        }
        std::unique_ptr<TBlock> block = TBlock::Create(kind);
        block->LoadFromIni(ini, section);
        byNumber[number] = block.get();
        blocks.push_back(std::move(block));
    }
    std::vector<TCon> connections;
    const int32_t connCount = ini.ReadInteger("LOGIKCOMMON", "CONNCOUNT", 0);
    for (const auto& [number, section] : NumberedSections(ini, "LOGIKCONN", connCount)) {
        const auto b1 = byNumber.find(ini.ReadInteger(section, "BLOCK1", 0));
        const auto b2 = byNumber.find(ini.ReadInteger(section, "BLOCK2", 0));
        if (b1 == byNumber.end() || b2 == byNumber.end()) {
            Stack().Push("TAblauf.LoadFromList: connection names no block", number);
            continue;
        }
        connections.push_back({b1->second, b2->second, ini.ReadInteger(section, "CONN1", 0),
                               ini.ReadInteger(section, "CONN2", 0)});
    }
    m_blocks = std::move(blocks);
    m_connections = std::move(connections);
    Changed();
}

std::string TAblauf::KxlFileName(const std::string& chosen) {
    return UpperCase(chosen).find(".KXL") == std::string::npos ? chosen + ".kxl" : chosen;
}

TAblaufResult TAblauf::ExportToFile(const std::filesystem::path& file) const {
    Stack().Push("TAblauf.ExportToFile", file.string());
    if (!WriteTextFile(file, SaveToList())) {
        return TAblaufResult::Failed(
            Language().GetText("F_LLWIN", 9, "Die Datei konnte nicht geschrieben werden."));
    }
    return TAblaufResult::Ok();
}

TAblaufResult TAblauf::ImportFromFile(const std::filesystem::path& file) {
    Stack().Push("TAblauf.ImportFromFile", file.string());
    const auto lines = ReadTextFile(file);
    // A file without the program's head section is no program: importing it would only empty
    // the one the user has.
    if (!lines || !TIniFileEx(*lines).SectionExists("LOGIKCOMMON")) {
        return TAblaufResult::Failed(
            Language().GetText("F_LLWIN", 10, "Die Datei konnte nicht gelesen werden."));
    }
    LoadFromList(*lines);
    return TAblaufResult::Ok();
}

// --- Running ----------------------------------------------------------------------------------

void TAblauf::StartProgram() {
    Stack().Push("TAblauf.StartProgram");
    StopProgram();
    m_variables.Reset();
    std::vector<std::unique_ptr<TBlock>> copies;
    copies.reserve(m_blocks.size());
    std::vector<std::array<int, 4>> next(m_blocks.size());
    m_runIds.clear();
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        copies.push_back(m_blocks[i]->Clone());
        m_runIds.push_back(m_blocks[i]->Id());
        for (int o = 0; o < 4; ++o) {
            const TBlock* to = NextBlock(m_blocks[i].get(), o);
            next[i][static_cast<size_t>(o)] = static_cast<int>(BlockNumber(to)) - 1;
        }
    }
    m_run = std::make_unique<TAblaufRun>(std::move(copies), std::move(next), m_variables,
                                         m_joystick, m_collisions, m_effects);
    m_run->Start();
}

void TAblauf::StopProgram() {
    if (!m_run) {
        return;
    }
    Stack().Push("TAblauf.StopProgram");
    m_run->Stop();
    // Collision blocks keep what they saw last until the next start asks again.
    const auto& copies = m_run->Blocks();
    for (const auto& block : m_blocks) {
        if (block->Kind() != TBlockKind::Kollision) {
            continue;
        }
        const auto it = std::find(m_runIds.begin(), m_runIds.end(), block->Id());
        if (it != m_runIds.end()) {
            const auto& copy = copies[static_cast<size_t>(it - m_runIds.begin())];
            static_cast<TBlockKollision&>(*block).InRange =
                static_cast<const TBlockKollision&>(*copy).InRange.Load();
        }
    }
    m_run.reset();
    m_runIds.clear();
    m_effects.Take();
}

}  // namespace kx
