// What a running sequence program shares between its runner threads and the main thread: the
// variables, the joystick state, the queue of effects on the model, and the runners themselves.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kx {

class TBlock;

/// The program's 99 variables, numbered 1 to 99. A number outside that range reads 0 and
/// takes nothing, so no block can reach past the array.
class TAblaufVariables {
public:
    static constexpr int kCount = 99;

    int32_t Get(int number) const {
        return Valid(number) ? m_values[Index(number)].load(std::memory_order_acquire) : 0;
    }
    void Set(int number, int32_t value) {
        if (Valid(number)) {
            m_values[Index(number)].store(value, std::memory_order_release);
        }
    }
    /// One read-modify-write: parallel runners lose no step. Wraps round like the 32-bit
    /// integers of the stored programs.
    void Add(int number, int32_t delta) {
        if (Valid(number)) {
            m_values[Index(number)].fetch_add(delta, std::memory_order_acq_rel);
        }
    }
    void Reset() {
        for (auto& v : m_values) {
            v.store(0, std::memory_order_release);
        }
    }
    static bool Valid(int number) { return number >= 1 && number <= kCount; }

private:
    static size_t Index(int number) { return static_cast<size_t>(number - 1); }
    std::array<std::atomic<int32_t>, kCount> m_values{};
};

/// Joystick 1 as the program sees it: deflections in percent of the half range (-100 to 100,
/// 0 at the centre) and buttons 1-4 as bits 0-3. Written on the main thread by the joystick
/// reader, read by runners.
class TJoystickState {
public:
    int32_t X() const { return m_x.load(std::memory_order_acquire); }
    int32_t Y() const { return m_y.load(std::memory_order_acquire); }
    uint32_t Buttons() const { return m_buttons.load(std::memory_order_acquire); }
    void SetDeflection(int32_t x, int32_t y) {
        m_x.store(x, std::memory_order_release);
        m_y.store(y, std::memory_order_release);
    }
    void SetButtons(uint32_t bits) { m_buttons.store(bits & 0xF, std::memory_order_release); }
    void Reset() {
        SetDeflection(0, 0);
        SetButtons(0);
    }

private:
    std::atomic<int32_t> m_x{0};
    std::atomic<int32_t> m_y{0};
    std::atomic<uint32_t> m_buttons{0};
};

/// A change a runner asks of the model; the main thread carries it out at its next
/// kinematics step, in the order the runners asked.
struct TAblaufEffect {
    enum class TKind { Motor, Farbe };
    TKind Kind = TKind::Motor;
    int32_t MotorNr = 0;
    int32_t Status = 0;
    std::string Bauteil;
    int32_t Farbe = 0;

    bool operator==(const TAblaufEffect&) const = default;
};

/// The one queue from the runners to the main thread.
class TAblaufEffects {
public:
    void Post(TAblaufEffect effect) {
        std::lock_guard lock(m_mutex);
        m_items.push_back(std::move(effect));
    }
    /// Everything posted so far, oldest first; the queue is empty afterwards.
    std::vector<TAblaufEffect> Take() {
        std::lock_guard lock(m_mutex);
        std::vector<TAblaufEffect> items;
        items.swap(m_items);
        return items;
    }

private:
    std::mutex m_mutex;
    std::vector<TAblaufEffect> m_items;
};

/// Whether the collision rules named `name` are in range; `previous` when no rule has the
/// name. Called from runner threads.
using TCollisionSource = std::function<bool(const std::string& name, bool previous)>;

/// A running program: private copies of the blocks with their successors worked out, the
/// runners walking them, and the stop signal every wait listens to. Editing the program while
/// it runs changes the original blocks only; the change takes effect at the next start.
class TAblaufRun {
public:
    /// `blocks` are the copies; `next[i][o]` the block output o of block i leads to, or -1.
    TAblaufRun(std::vector<std::unique_ptr<TBlock>> blocks, std::vector<std::array<int, 4>> next,
               TAblaufVariables& variables, const TJoystickState& joystick,
               TCollisionSource collisions, TAblaufEffects& effects);
    /// Stops and joins every runner.
    ~TAblaufRun();
    TAblaufRun(const TAblaufRun&) = delete;
    TAblaufRun& operator=(const TAblaufRun&) = delete;

    /// One runner per start block, in list order.
    void Start();
    /// Every wait ends at once; returns when every runner has ended.
    void Stop();

    size_t RunnerCount() const { return m_threads.size(); }
    size_t FinishedCount() const { return m_finished.load(std::memory_order_acquire); }
    /// Waits until every runner reached an end block, at most `timeoutMs`.
    bool WaitUntilFinished(int timeoutMs);
    const std::vector<std::unique_ptr<TBlock>>& Blocks() const { return m_blocks; }

    // What blocks reach while they run.
    TAblaufVariables& Variables() { return m_variables; }
    const TJoystickState& Joystick() const { return m_joystick; }
    bool CollisionState(const std::string& name, bool previous) const {
        return m_collisions ? m_collisions(name, previous) : previous;
    }
    void Post(TAblaufEffect effect) { m_effects.Post(std::move(effect)); }
    /// Waits `ms` milliseconds on this runner's own clock; 0 or less waits for the stop.
    void Pause(int32_t ms);
    bool Stopping() const { return m_stop.load(std::memory_order_acquire); }

private:
    void RunFrom(int block);
    void WaitForStop();

    std::vector<std::unique_ptr<TBlock>> m_blocks;
    std::vector<std::array<int, 4>> m_next;
    std::vector<bool> m_isEnd;
    TAblaufVariables& m_variables;
    const TJoystickState& m_joystick;
    TCollisionSource m_collisions;
    TAblaufEffects& m_effects;

    std::atomic<bool> m_stop{false};
    std::atomic<size_t> m_finished{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::thread> m_threads;
};

}  // namespace kx
