// The placed-part record (TBauteil) and the model's parts list with its name indexes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "foundation/u_vector.h"
#include "motion/u_keydata.h"

namespace kx {

class TBauteilList;
class TFreeForm;
class TMaterial;

/// The record of one placed part: what is saved, counted and copied into undo snapshots.
/// Its scene object is what is drawn and moved. Every change goes through a setter, so the
/// parts list can keep its name indexes and share unchanged records between undo snapshots.
class TBauteil {
public:
    TBauteil() = default;
    /// A copy of every field (key frames included) and of the scene-object reference; the
    /// copy belongs to no list.
    TBauteil(const TBauteil& other);
    TBauteil& operator=(const TBauteil&) = delete;
    ~TBauteil() = default;

    /// Copies every field of other, makes new copies of its key frames and takes over its
    /// scene-object reference.
    void Assign(const TBauteil& other);

    /// Characters 2 to 6 of the name: the definition number.
    std::string GetShortName() const { return ShortName(m_name); }
    static std::string ShortName(std::string_view partName);

    /// Colours the scene object and its library material, keeping the record's alpha (1 when
    /// the library material has a shader). The record's own colour is not changed.
    void SetColor3D(uint32_t colour) const;

    const std::string& Name() const { return m_name; }
    void SetName(std::string name);
    const TVector3f& Position() const { return m_position; }
    void SetPosition(const TVector3f& p);
    const TVector3f& Direction() const { return m_direction; }
    void SetDirection(const TVector3f& d);
    const TVector3f& Up() const { return m_up; }
    void SetUp(const TVector3f& u);
    /// The definition's mesh offset, copied when the part is added.
    const TVector3f& Offset() const { return m_offset; }
    void SetOffset(const TVector3f& o);
    /// Windows colour value, red in the low byte.
    uint32_t Color() const { return m_color; }
    void SetColor(uint32_t colour);
    double Alpha() const { return m_alpha; }
    void SetAlpha(double alpha);
    int32_t Phase() const { return m_phase; }
    void SetPhase(int32_t phase);
    bool CoSelected() const { return m_coSelected; }
    void SetCoSelected(bool on);
    const std::vector<TKeyData>& Keys() const { return m_keys; }
    void SetKeys(std::vector<TKeyData> keys);
    void AddKey(const TKeyData& key);
    /// The definition's article number.
    const std::string& OrgNumber() const { return m_orgNumber; }
    void SetOrgNumber(std::string number);
    int32_t Printable() const { return m_printable; }
    void SetPrintable(int32_t value);
    /// The definition's kinematic axis.
    int32_t RotationAxis() const { return m_rotationAxis; }
    void SetRotationAxis(int32_t value);
    int32_t Teeth() const { return m_teeth; }
    void SetTeeth(int32_t value);
    /// Marks the part that was selected when an undo snapshot was taken.
    bool Selected() const { return m_selected; }
    void SetSelected(bool on);

    /// The part's scene object (not owned); not part of what undo keeps.
    TFreeForm* Object() const { return m_object; }
    void SetObject(TFreeForm* object) { m_object = object; }

    /// Whether two records hold the same values (scene objects not compared).
    bool SameValues(const TBauteil& other) const;

private:
    friend class TBauteilList;
    void Changed();

    std::string m_name;
    TVector3f m_position{0, 0, 0};
    TVector3f m_direction{0, 0, 0};
    TVector3f m_up{0, 0, 0};
    TVector3f m_offset{0, 0, 0};
    uint32_t m_color = 255;
    double m_alpha = 1.0;
    int32_t m_phase = 1;
    bool m_coSelected = false;
    bool m_selected = false;
    std::vector<TKeyData> m_keys;
    std::string m_orgNumber;
    int32_t m_printable = 0;
    int32_t m_rotationAxis = 0;
    int32_t m_teeth = 0;
    TFreeForm* m_object = nullptr;

    // Membership of a live parts list, and the copy the undo list holds of this state.
    TBauteilList* m_list = nullptr;
    size_t m_index = 0;
    std::shared_ptr<const TBauteil> m_frozen;
};

/// An undo snapshot of the parts: immutable copies in parts-list order. Records that did not
/// change between two snapshots are shared by them, so a snapshot costs little more than the
/// records changed since the one before.
class TPartsSnapshot {
public:
    using TChunk = std::vector<std::shared_ptr<const TBauteil>>;

    size_t Count() const { return m_count; }
    const TBauteil& operator[](size_t i) const;

private:
    friend class TBauteilList;
    std::vector<std::shared_ptr<const TChunk>> m_chunks;
    size_t m_count = 0;
};

/// The model's parts list: owns the records in the order they were added and keeps the
/// indexes that make looking up a part by name, and naming a new part, independent of the
/// number of parts. Lookups keep the first-match semantics of a scan in list order.
class TBauteilList {
public:
    TBauteilList() = default;
    TBauteilList(const TBauteilList&) = delete;
    TBauteilList& operator=(const TBauteilList&) = delete;
    ~TBauteilList();

    size_t Count() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    TBauteil& operator[](size_t i) const { return *m_items[i]; }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    /// Appends a record and returns it; the list owns it from now on.
    TBauteil& Append(std::unique_ptr<TBauteil> record);
    /// Takes a record out of the list and frees it.
    void Remove(TBauteil& record);
    void Clear();
    /// Whether the record belongs to this list.
    bool Contains(const TBauteil& record) const { return record.m_list == this; }
    /// Position of a record of this list.
    size_t IndexOf(const TBauteil& record) const { return record.m_index; }

    /// The first record whose name equals name exactly, or nullptr.
    TBauteil* Find(std::string_view name) const;
    /// The first record whose name equals name without regard to letter case, or nullptr.
    TBauteil* FindText(std::string_view name) const;
    /// The largest sequence number (name without its first seven characters, 0 when that is
    /// not a number) of the records whose characters 2-6 equal number without regard to
    /// letter case; -1 when there is none.
    int64_t HighestSequence(std::string_view number) const;

    /// The records whose selected mark is set, and those co-selected (no order).
    const std::unordered_set<TBauteil*>& SelectedMarks() const { return m_selectedMarks; }
    const std::unordered_set<TBauteil*>& CoSelectedRecords() const { return m_coSelected; }

    /// An immutable copy of every record, sharing what did not change since the last one.
    TPartsSnapshot Freeze();
    /// Replaces every record with a copy of the snapshot's (without scene objects).
    void Restore(const TPartsSnapshot& snapshot);

private:
    friend class TBauteil;
    static constexpr size_t kChunk = 64;

    void Changed(TBauteil& record);
    void Index(TBauteil& record);
    void Unindex(TBauteil& record);
    void RenameIndex(TBauteil& record, const std::string& oldName);
    void InvalidateFrom(size_t index);

    std::vector<std::unique_ptr<TBauteil>> m_items;
    // Lower-case name -> records of that name in list order (nearly always exactly one).
    std::unordered_map<std::string, std::vector<TBauteil*>> m_byName;
    // Lower-case characters 2-6 -> sequence number -> how many records carry it.
    std::unordered_map<std::string, std::map<int64_t, int>> m_sequences;
    std::unordered_set<TBauteil*> m_selectedMarks;
    std::unordered_set<TBauteil*> m_coSelected;
    std::vector<std::shared_ptr<const TPartsSnapshot::TChunk>> m_frozenChunks;
};

}  // namespace kx
