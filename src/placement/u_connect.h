// Joining parts at connectors: which connectors fit, where a joined part goes, and the state
// of the connector window (lists, placement, nudges, turns, confirm and cancel).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/u_defObj.h"
#include "foundation/u_vector.h"

namespace kx {

class TArrowLine;
class TDefCache;
class TFreeForm;
class TSceneObject;
class TkxMain;

/// Two connectors join when their gauges are equal (as stored) and their kinds differ.
bool ConnectorsFit(const TConn& a, const TConn& b);
/// Whether c joins at least one connector of def.
bool FitsAny(const TConn& c, const TDefObj& def);
/// Connector numbers (1-based) of the fixed part that fit at least one of the new part's.
std::vector<int> FixedConnectorChoices(const TDefObj& fixed, const TDefObj& added);
/// Connector numbers (1-based) of the new part that fit the fixed connector.
std::vector<int> NewConnectorChoices(const TConn& fixedConn, const TDefObj& added);

/// The anchor of connector `number` (1-based): the part's arrow child of that rank. Other
/// children (nested parts) are no anchors. nullptr when the part has fewer arrows.
TArrowLine* ConnectorAnchor(const TSceneObject& part, int number);

/// Extra turns of the joined part chosen in the connector window, degrees.
struct TJoinAngles {
    float Roll = 0;
    float Pitch = 0;
    float Turn = 0;
};

/// Gives `object` the orientation of a part joined to `fixed` through the connector pair:
/// fixed's frame, then pitch, roll and turn of the fixed connector, then those of the new
/// connector plus the extra angles, each added to the object's stored angle.
void OrientJoined(TSceneObject& object, const TSceneObject& fixed, const TConn& fixedConn,
                  const TConn& newConn, const TJoinAngles& extra);

/// Orients `object` as OrientJoined does and moves it so that its anchor `newNumber` lies on
/// fixed's anchor `fixedNumber`. Returns the shift applied in world coordinates; when an
/// anchor is missing the object is only oriented, the shift is zero and ok (if given) false.
TVector3f JoinAtConnectors(TSceneObject& object, int newNumber, const TConn& newConn,
                           const TSceneObject& fixed, int fixedNumber, const TConn& fixedConn,
                           const TJoinAngles& extra, bool* ok = nullptr);

/// Which way a nudge button moves the joined part: along its direction, its up vector, or
/// direction x up.
enum class TNudgeAxis { Move, Lift, Slide };
/// Which extra angle a turn button changes.
enum class TTurnAxis { Roll, Turn, Pitch };

/// "5,0mm": one decimal, decimal comma, unit attached.
std::string MillimetreText(double mm);

/// The connector window's logic, without the window: it joins a new part of `number` to a
/// placed part in the model, and lets the user change the connector pair, turn and nudge the
/// part, and confirm or cancel.
class TConnectorSession {
public:
    TConnectorSession(TkxMain& model, TDefCache& defs);
    ~TConnectorSession();
    TConnectorSession(const TConnectorSession&) = delete;
    TConnectorSession& operator=(const TConnectorSession&) = delete;

    /// Fills both lists (the preselected connector, 0-based, chosen when it is listed) and
    /// places the new part.
    void Open(TFreeForm& fixed, std::string_view number, int preselected);

    /// Connector numbers (1-based) behind the entries of "Fester Baustein" and "Neuer Baustein".
    const std::vector<int>& FixedChoices() const { return m_fixedChoices; }
    const std::vector<int>& NewChoices() const { return m_newChoices; }
    /// Display names of the entries.
    std::vector<std::string> FixedItems() const;
    std::vector<std::string> NewItems() const;
    /// The chosen entries, -1 for none.
    int FixedIndex() const { return m_fixedIndex; }
    int NewIndex() const { return m_newIndex; }
    /// The connector numbers of the chosen entries, 0 for none.
    int FixedConnector() const;
    int NewConnector() const;

    /// Another fixed connector: the extra angles start again, the new list is refilled and
    /// its first entry chosen, and the part is placed.
    void ChooseFixed(int index);
    /// Another new connector: the part is placed again with the same extra angles.
    void ChooseNew(int index);
    /// A step button: value / 100 scene units along the part's own axis.
    void Nudge(TNudgeAxis axis, int value);
    /// A turn button: the extra angle grows by value degrees and the part is placed again.
    void TurnStep(TTurnAxis axis, int value);
    /// Total nudges of an axis in millimetres, and as the window shows it.
    double Distance(TNudgeAxis axis) const;
    std::string DistanceText(TNudgeAxis axis) const { return MillimetreText(Distance(axis)); }
    const TJoinAngles& ExtraAngles() const { return m_extra; }

    /// Places the new part (and its children) for the chosen pair; removes what the previous
    /// placement made first.
    void Place();
    /// Stores the poses and colours in the model's records; the part stays.
    void Confirm();
    /// Removes what the window placed.
    void Cancel();

    /// The placed new part, nullptr while nothing is placed.
    TFreeForm* NewObject() const;
    const std::string& NewName() const { return m_newName; }
    const std::vector<std::string>& ChildNames() const { return m_childNames; }
    TFreeForm* FixedObject() const { return m_fixed; }
    const TDefObj* FixedDef() const { return m_fixedDef.get(); }
    const TDefObj* NewDef() const { return m_newDef.get(); }

private:
    void FillNewChoices();
    void RemovePlaced();

    TkxMain& m_model;
    TDefCache& m_defs;
    TFreeForm* m_fixed = nullptr;
    std::shared_ptr<const TDefObj> m_fixedDef;
    std::shared_ptr<const TDefObj> m_newDef;
    std::string m_number;
    int m_preselected = -1;
    std::vector<int> m_fixedChoices;
    std::vector<int> m_newChoices;
    int m_fixedIndex = -1;
    int m_newIndex = -1;
    std::string m_newName;
    std::vector<std::string> m_childNames;
    TJoinAngles m_extra;
    double m_distances[3] = {0, 0, 0};
};

}  // namespace kx
