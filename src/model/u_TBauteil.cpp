// The placed-part record and the parts list: name indexes and shared undo copies.
#include "model/u_TBauteil.h"

#include <algorithm>
#include <stdexcept>

#include "foundation/u_text.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

int64_t SequenceOf(std::string_view name) {
    return name.size() > 7 ? StrToIntDef(name.substr(7), 0) : 0;
}

std::string NumberKey(std::string_view name) {
    return LowerCase(TBauteil::ShortName(name));
}

}  // namespace

// --- TBauteil ---------------------------------------------------------------------------------

TBauteil::TBauteil(const TBauteil& other)
    : m_name(other.m_name),
      m_position(other.m_position),
      m_direction(other.m_direction),
      m_up(other.m_up),
      m_offset(other.m_offset),
      m_color(other.m_color),
      m_alpha(other.m_alpha),
      m_phase(other.m_phase),
      m_coSelected(other.m_coSelected),
      m_selected(other.m_selected),
      m_keys(other.m_keys),
      m_orgNumber(other.m_orgNumber),
      m_printable(other.m_printable),
      m_rotationAxis(other.m_rotationAxis),
      m_teeth(other.m_teeth),
      m_object(other.m_object) {}

void TBauteil::Assign(const TBauteil& other) {
    if (&other == this) {
        return;
    }
    SetName(other.m_name);
    m_position = other.m_position;
    m_direction = other.m_direction;
    m_up = other.m_up;
    m_offset = other.m_offset;
    m_color = other.m_color;
    m_alpha = other.m_alpha;
    m_phase = other.m_phase;
    SetCoSelected(other.m_coSelected);
    SetSelected(other.m_selected);
    m_keys = other.m_keys;
    m_orgNumber = other.m_orgNumber;
    m_printable = other.m_printable;
    m_rotationAxis = other.m_rotationAxis;
    m_teeth = other.m_teeth;
    m_object = other.m_object;
    Changed();
}

std::string TBauteil::ShortName(std::string_view partName) {
    if (partName.size() < 2) {
        return {};
    }
    return std::string(partName.substr(1, 5));
}

void TBauteil::SetColor3D(uint32_t colour) const {
    if (!m_object) {
        return;
    }
    const TColor3f c = ColorFromWin(colour);
    m_object->Material().SetDiffuseColor(c);
    TMaterialPtr lib;
    if (const TScene* scene = m_object->Scene()) {
        lib = scene->MaterialLibrary().Find(m_object->Material().LibMaterialName());
    } else {
        lib = m_object->LibMaterial();
    }
    if (lib) {
        lib->SetDiffuseColor(c);
        lib->SetDiffuseAlpha(lib->HasShader() ? 1.0f : static_cast<float>(m_alpha));
    }
}

void TBauteil::SetName(std::string name) {
    if (name == m_name) {
        return;
    }
    std::string old = std::move(m_name);
    m_name = std::move(name);
    if (m_list) {
        m_list->RenameIndex(*this, old);
    }
    Changed();
}

#define KX_BAUTEIL_SETTER(Setter, Type, field) \
    void TBauteil::Setter(Type value) {        \
        if (field == value) {                  \
            return;                            \
        }                                      \
        field = value;                         \
        Changed();                             \
    }

KX_BAUTEIL_SETTER(SetPosition, const TVector3f&, m_position)
KX_BAUTEIL_SETTER(SetDirection, const TVector3f&, m_direction)
KX_BAUTEIL_SETTER(SetUp, const TVector3f&, m_up)
KX_BAUTEIL_SETTER(SetOffset, const TVector3f&, m_offset)
KX_BAUTEIL_SETTER(SetColor, uint32_t, m_color)
KX_BAUTEIL_SETTER(SetAlpha, double, m_alpha)
KX_BAUTEIL_SETTER(SetPhase, int32_t, m_phase)
KX_BAUTEIL_SETTER(SetPrintable, int32_t, m_printable)
KX_BAUTEIL_SETTER(SetRotationAxis, int32_t, m_rotationAxis)
KX_BAUTEIL_SETTER(SetTeeth, int32_t, m_teeth)
#undef KX_BAUTEIL_SETTER

void TBauteil::SetOrgNumber(std::string number) {
    if (number == m_orgNumber) {
        return;
    }
    m_orgNumber = std::move(number);
    Changed();
}

void TBauteil::SetKeys(std::vector<TKeyData> keys) {
    m_keys = std::move(keys);
    Changed();
}

void TBauteil::AddKey(const TKeyData& key) {
    m_keys.push_back(key);
    Changed();
}

void TBauteil::SetCoSelected(bool on) {
    if (on == m_coSelected) {
        return;
    }
    m_coSelected = on;
    if (m_list) {
        if (on) {
            m_list->m_coSelected.insert(this);
        } else {
            m_list->m_coSelected.erase(this);
        }
    }
    Changed();
}

void TBauteil::SetSelected(bool on) {
    if (on == m_selected) {
        return;
    }
    m_selected = on;
    if (m_list) {
        if (on) {
            m_list->m_selectedMarks.insert(this);
        } else {
            m_list->m_selectedMarks.erase(this);
        }
    }
    Changed();
}

bool TBauteil::SameValues(const TBauteil& o) const {
    return m_name == o.m_name && m_position == o.m_position && m_direction == o.m_direction &&
           m_up == o.m_up && m_offset == o.m_offset && m_color == o.m_color &&
           m_alpha == o.m_alpha && m_phase == o.m_phase && m_coSelected == o.m_coSelected &&
           m_selected == o.m_selected && m_keys == o.m_keys && m_orgNumber == o.m_orgNumber &&
           m_printable == o.m_printable && m_rotationAxis == o.m_rotationAxis &&
           m_teeth == o.m_teeth;
}

void TBauteil::Changed() {
    m_frozen.reset();
    if (m_list) {
        m_list->Changed(*this);
    }
}

// --- TPartsSnapshot ---------------------------------------------------------------------------

const TBauteil& TPartsSnapshot::operator[](size_t i) const {
    if (i >= m_count) {
        throw std::out_of_range("TPartsSnapshot: no such part");
    }
    return *(*m_chunks[i / 64])[i % 64];
}

// --- TBauteilList -----------------------------------------------------------------------------

TBauteilList::~TBauteilList() {
    Clear();
}

TBauteil& TBauteilList::Append(std::unique_ptr<TBauteil> record) {
    if (!record || record->m_list) {
        throw std::invalid_argument("TBauteilList.Append: record missing or already listed");
    }
    TBauteil& r = *record;
    r.m_list = this;
    r.m_index = m_items.size();
    m_items.push_back(std::move(record));
    Index(r);
    InvalidateFrom(r.m_index);
    return r;
}

void TBauteilList::Remove(TBauteil& record) {
    if (record.m_list != this) {
        return;
    }
    const size_t index = record.m_index;
    Unindex(record);
    std::unique_ptr<TBauteil> owned = std::move(m_items[index]);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    for (size_t i = index; i < m_items.size(); ++i) {
        m_items[i]->m_index = i;
    }
    owned->m_list = nullptr;
    InvalidateFrom(index);
}

void TBauteilList::Clear() {
    for (auto& r : m_items) {
        r->m_list = nullptr;
    }
    m_items.clear();
    m_byName.clear();
    m_sequences.clear();
    m_selectedMarks.clear();
    m_coSelected.clear();
    m_frozenChunks.clear();
}

TBauteil* TBauteilList::Find(std::string_view name) const {
    const auto it = m_byName.find(LowerCase(name));
    if (it == m_byName.end()) {
        return nullptr;
    }
    for (TBauteil* r : it->second) {
        if (r->m_name == name) {
            return r;
        }
    }
    return nullptr;
}

TBauteil* TBauteilList::FindText(std::string_view name) const {
    const auto it = m_byName.find(LowerCase(name));
    return it == m_byName.end() || it->second.empty() ? nullptr : it->second.front();
}

int64_t TBauteilList::HighestSequence(std::string_view number) const {
    const auto it = m_sequences.find(LowerCase(number));
    if (it == m_sequences.end() || it->second.empty()) {
        return -1;
    }
    return it->second.rbegin()->first;
}

void TBauteilList::Index(TBauteil& r) {
    std::vector<TBauteil*>& same = m_byName[LowerCase(r.m_name)];
    // Keep list order; a record is nearly always appended after every other of its name.
    const auto pos = std::upper_bound(
        same.begin(), same.end(), &r,
        [](const TBauteil* a, const TBauteil* b) { return a->m_index < b->m_index; });
    same.insert(pos, &r);
    ++m_sequences[NumberKey(r.m_name)][SequenceOf(r.m_name)];
    if (r.m_selected) {
        m_selectedMarks.insert(&r);
    }
    if (r.m_coSelected) {
        m_coSelected.insert(&r);
    }
}

void TBauteilList::Unindex(TBauteil& r) {
    const auto byName = m_byName.find(LowerCase(r.m_name));
    if (byName != m_byName.end()) {
        std::erase(byName->second, &r);
        if (byName->second.empty()) {
            m_byName.erase(byName);
        }
    }
    const auto seqs = m_sequences.find(NumberKey(r.m_name));
    if (seqs != m_sequences.end()) {
        const auto seq = seqs->second.find(SequenceOf(r.m_name));
        if (seq != seqs->second.end() && --seq->second <= 0) {
            seqs->second.erase(seq);
        }
        if (seqs->second.empty()) {
            m_sequences.erase(seqs);
        }
    }
    m_selectedMarks.erase(&r);
    m_coSelected.erase(&r);
}

void TBauteilList::RenameIndex(TBauteil& r, const std::string& oldName) {
    std::string now = std::move(r.m_name);
    r.m_name = oldName;
    Unindex(r);
    r.m_name = std::move(now);
    Index(r);
}

void TBauteilList::Changed(TBauteil& r) {
    const size_t chunk = r.m_index / kChunk;
    if (chunk < m_frozenChunks.size()) {
        m_frozenChunks[chunk].reset();
    }
}

void TBauteilList::InvalidateFrom(size_t index) {
    const size_t chunk = index / kChunk;
    if (chunk < m_frozenChunks.size()) {
        m_frozenChunks.resize(chunk);
    }
}

TPartsSnapshot TBauteilList::Freeze() {
    static_assert(kChunk == 64, "TPartsSnapshot addresses its chunks by 64");
    const size_t chunks = (m_items.size() + kChunk - 1) / kChunk;
    m_frozenChunks.resize(chunks);
    for (size_t c = 0; c < chunks; ++c) {
        if (m_frozenChunks[c]) {
            continue;
        }
        auto chunk = std::make_shared<TPartsSnapshot::TChunk>();
        const size_t end = std::min(m_items.size(), (c + 1) * kChunk);
        chunk->reserve(end - c * kChunk);
        for (size_t i = c * kChunk; i < end; ++i) {
            TBauteil& r = *m_items[i];
            if (!r.m_frozen) {
                auto copy = std::make_shared<TBauteil>(r);
                copy->m_object = nullptr;  // undo rebuilds every object; never keep a stale one
                r.m_frozen = std::move(copy);
            }
            chunk->push_back(r.m_frozen);
        }
        m_frozenChunks[c] = std::move(chunk);
    }
    TPartsSnapshot snapshot;
    snapshot.m_chunks.assign(m_frozenChunks.begin(), m_frozenChunks.end());
    snapshot.m_count = m_items.size();
    return snapshot;
}

void TBauteilList::Restore(const TPartsSnapshot& snapshot) {
    Clear();
    m_items.reserve(snapshot.Count());
    for (const auto& chunk : snapshot.m_chunks) {
        for (const auto& frozen : *chunk) {
            auto copy = std::make_unique<TBauteil>(*frozen);
            copy->m_object = nullptr;
            TBauteil& r = Append(std::move(copy));
            r.m_frozen = frozen;  // equal to the snapshot's copy until it changes
        }
    }
    m_frozenChunks.assign(snapshot.m_chunks.begin(), snapshot.m_chunks.end());
}

}  // namespace kx
