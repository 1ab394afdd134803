// The blocks of a sequence program: their kinds, geometry, connectors, parameters and what each
// does when a runner reaches it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "motion/u_colldata.h"

namespace kx {

class TIniFileEx;
class TAblaufRun;

/// The ten kinds, in the order of the palette's picture indices.
enum class TBlockKind {
    Start,
    Ende,
    Motor,
    Kollision,
    Pause,
    SetVar,
    Joystick,
    Farbe,
    Variable,
    IncVar,
};
inline constexpr int kBlockKindCount = 10;

/// A connector: offset from the block's top-left corner, kind and the side a line leaves by.
struct TConnector {
    static constexpr int32_t Input = 0;
    static constexpr int32_t Output = 1;
    static constexpr int32_t SideIn = 0;
    static constexpr int32_t SideDown = 1;
    static constexpr int32_t SideRight = 2;

    int32_t X = 0;
    int32_t Y = 0;
    int32_t Kind = Input;
    int32_t Side = SideIn;
};

/// Output 1 of the start block, output 2 the "yes" or only output, output 3 the "no" output.
inline constexpr int kOutYes = 2;
inline constexpr int kOutNo = 3;

/// A block of the flowchart. Positions and parameters are plain fields the editor sets; it
/// tells the program afterwards (TAblauf::NotifyChanged) so the model counts as changed.
class TBlock {
public:
    virtual ~TBlock() = default;

    TBlockKind Kind() const { return m_kind; }
    /// Unique for the whole run; tells blocks apart after their addresses could be reused.
    uint64_t Id() const { return m_id; }

    int32_t X = 0;  ///< top-left corner, editor pixels
    int32_t Y = 0;
    uint32_t Width = 0;
    uint32_t Height = 0;

    /// Connector `index` from 1; start and end blocks answer every index with their only one.
    virtual TConnector GetConnector(int index) const = 0;
    virtual int ConnectorCount() const = 0;
    /// Runs the block on a runner's thread; returns the output to follow.
    virtual int Execute(TAblaufRun& run) = 0;
    /// "TYP=", "X=", "Y=" and the block's own keys.
    void SaveToList(std::vector<std::string>& lines) const;
    /// X and Y (0 when missing) and the block's own keys with their defaults.
    void LoadFromIni(const TIniFileEx& ini, std::string_view section);
    virtual std::unique_ptr<TBlock> Clone() const = 0;

    /// "TBLOCKMOTOR" ...: the TYP value of the file.
    static std::string_view TypeName(TBlockKind kind);
    /// The kind of a TYP value (exact upper case), or false.
    static bool KindOfType(std::string_view type, TBlockKind& kind);
    /// A block of that kind with the values of a new block, its corner at (0, 0).
    static std::unique_ptr<TBlock> Create(TBlockKind kind);
    /// The corner of a block of that kind dropped at (x, y): snapped to 8 pixels, then moved
    /// so the point lies in the middle.
    static void DropCorner(TBlockKind kind, int32_t x, int32_t y, int32_t& cx, int32_t& cy);

protected:
    TBlock(TBlockKind kind, uint32_t width, uint32_t height);
    TBlock(const TBlock& other);
    TBlock& operator=(const TBlock&) = delete;
    virtual void SaveKeys(std::vector<std::string>& lines) const;
    virtual void LoadKeys(const TIniFileEx& ini, std::string_view section);

private:
    TBlockKind m_kind;
    uint64_t m_id;
};

/// Clone for every block class.
template <class TDerived>
class TBlockOf : public TBlock {
public:
    std::unique_ptr<TBlock> Clone() const override {
        return std::make_unique<TDerived>(static_cast<const TDerived&>(*this));
    }

protected:
    using TBlock::TBlock;
};

class TBlockStart : public TBlockOf<TBlockStart> {
public:
    TBlockStart() : TBlockOf(TBlockKind::Start, 80, 50) {}
    TConnector GetConnector(int) const override { return {40, 42, TConnector::Output, 1}; }
    int ConnectorCount() const override { return 1; }
    int Execute(TAblaufRun&) override { return 1; }
};

class TBlockEnde : public TBlockOf<TBlockEnde> {
public:
    TBlockEnde() : TBlockOf(TBlockKind::Ende, 80, 50) {}
    TConnector GetConnector(int) const override { return {40, 9, TConnector::Input, 0}; }
    int ConnectorCount() const override { return 1; }
    /// Runners stop before an end block; should one be run, it leads nowhere.
    int Execute(TAblaufRun&) override { return 0; }
};

/// Blocks with an input at the top and one output at the bottom.
template <class TDerived>
class TBlockInOut : public TBlockOf<TDerived> {
public:
    TConnector GetConnector(int index) const override {
        return index == 1 ? TConnector{72, m_inY, TConnector::Input, 0}
                          : TConnector{72, m_outY, TConnector::Output, 1};
    }
    int ConnectorCount() const override { return 2; }

protected:
    TBlockInOut(TBlockKind kind, uint32_t height, int32_t inY, int32_t outY)
        : TBlockOf<TDerived>(kind, 150, height), m_inY(inY), m_outY(outY) {}

private:
    int32_t m_inY;
    int32_t m_outY;
};

/// Decision blocks: input at the top, "yes" at the bottom, "no" to the right.
template <class TDerived>
class TBlockDecision : public TBlockOf<TDerived> {
public:
    TConnector GetConnector(int index) const override {
        switch (index) {
            case 1:
                return {72, m_inY, TConnector::Input, 0};
            case 2:
                return {72, 72, TConnector::Output, 1};
            default:
                return {130, 40, TConnector::Output, 2};
        }
    }
    int ConnectorCount() const override { return 3; }

protected:
    TBlockDecision(TBlockKind kind, int32_t inY) : TBlockOf<TDerived>(kind, 150, 80), m_inY(inY) {}

private:
    int32_t m_inY;
};

class TBlockMotor : public TBlockInOut<TBlockMotor> {
public:
    TBlockMotor() : TBlockInOut(TBlockKind::Motor, 70, 8, 60) {}
    int32_t Status = 0;  ///< 0 stop, 1 left, 2 right
    int32_t MotorNr = 1;
    int Execute(TAblaufRun& run) override;

protected:
    void SaveKeys(std::vector<std::string>& lines) const override;
    void LoadKeys(const TIniFileEx& ini, std::string_view section) override;
};

class TBlockKollision : public TBlockDecision<TBlockKollision> {
public:
    TBlockKollision() : TBlockDecision(TBlockKind::Kollision, 11) {}
    /// The named rule's state when the block last asked; runners passing the block at the same
    /// time share it.
    TSharedFlag InRange = false;
    std::string Name;
    int Execute(TAblaufRun& run) override;

protected:
    void SaveKeys(std::vector<std::string>& lines) const override;
    void LoadKeys(const TIniFileEx& ini, std::string_view section) override;
};

class TBlockPause : public TBlockInOut<TBlockPause> {
public:
    TBlockPause() : TBlockInOut(TBlockKind::Pause, 50, 7, 43) {}
    /// Milliseconds; 0 or less waits until the program stops.
    int32_t Intervall = 1000;
    int Execute(TAblaufRun& run) override;

protected:
    void SaveKeys(std::vector<std::string>& lines) const override;
    void LoadKeys(const TIniFileEx& ini, std::string_view section) override;
};

class TBlockSetVar : public TBlockInOut<TBlockSetVar> {
public:
    TBlockSetVar() : TBlockInOut(TBlockKind::SetVar, 50, 7, 43) {}
    int32_t Variable = 1;
    int32_t Wert = 0;
    int Execute(TAblaufRun& run) override;

protected:
    void SaveKeys(std::vector<std::string>& lines) const override;
    void LoadKeys(const TIniFileEx& ini, std::string_view section) override;
};

class TBlockJoystick : public TBlockDecision<TBlockJoystick> {
public:
    TBlockJoystick() : TBlockDecision(TBlockKind::Joystick, 8) {}
    /// 0 X+, 1 X-, 2 Y+, 3 Y-, 4-7 buttons 1-4.
    int32_t Achse = 0;
    int Execute(TAblaufRun& run) override;

protected:
    void SaveKeys(std::vector<std::string>& lines) const override;
    void LoadKeys(const TIniFileEx& ini, std::string_view section) override;
};

class TBlockFarbe : public TBlockInOut<TBlockFarbe> {
public:
    TBlockFarbe() : TBlockInOut(TBlockKind::Farbe, 50, 7, 43) {}
    std::string Bauteil;  ///< a placed part's name
    int32_t Farbe = 255;  ///< Windows colour value
    int Execute(TAblaufRun& run) override;

protected:
    void SaveKeys(std::vector<std::string>& lines) const override;
    void LoadKeys(const TIniFileEx& ini, std::string_view section) override;
};

class TBlockVariable : public TBlockDecision<TBlockVariable> {
public:
    TBlockVariable() : TBlockDecision(TBlockKind::Variable, 8) {}
    /// Variable Var1 against variable Var2: 0 =, 1 <, 2 >, 3 <=, 4 >=, 5 <>.
    int32_t Art = 0;
    int32_t Var1 = 1;
    int32_t Var2 = 1;
    int Execute(TAblaufRun& run) override;

protected:
    void SaveKeys(std::vector<std::string>& lines) const override;
    void LoadKeys(const TIniFileEx& ini, std::string_view section) override;
};

class TBlockIncVar : public TBlockInOut<TBlockIncVar> {
public:
    TBlockIncVar() : TBlockInOut(TBlockKind::IncVar, 50, 7, 43) {}
    int32_t Variable = 1;
    int32_t Wert = 1;
    int Execute(TAblaufRun& run) override;

protected:
    void SaveKeys(std::vector<std::string>& lines) const override;
    void LoadKeys(const TIniFileEx& ini, std::string_view section) override;
};

}  // namespace kx
