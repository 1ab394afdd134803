// The runners of a sequence program: one thread per start block over private copies of the
// blocks, waits that the stop ends at once.
#include "sequence/u_ablaufrun.h"

#include <chrono>

#include "sequence/u_ablaufblocks.h"

namespace kx {

TAblaufRun::TAblaufRun(std::vector<std::unique_ptr<TBlock>> blocks,
                       std::vector<std::array<int, 4>> next, TAblaufVariables& variables,
                       const TJoystickState& joystick, TCollisionSource collisions,
                       TAblaufEffects& effects)
    : m_blocks(std::move(blocks)),
      m_next(std::move(next)),
      m_variables(variables),
      m_joystick(joystick),
      m_collisions(std::move(collisions)),
      m_effects(effects) {
    m_isEnd.reserve(m_blocks.size());
    for (const auto& b : m_blocks) {
        m_isEnd.push_back(b->Kind() == TBlockKind::Ende);
    }
}

TAblaufRun::~TAblaufRun() {
    Stop();
}

void TAblaufRun::Start() {
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        if (m_blocks[i]->Kind() == TBlockKind::Start) {
            m_threads.emplace_back([this, i] { RunFrom(static_cast<int>(i)); });
        }
    }
}

void TAblaufRun::Stop() {
    {
        // Under the lock, so that no runner can test the flag and then miss the wake-up.
        std::lock_guard lock(m_mutex);
        m_stop.store(true, std::memory_order_release);
    }
    m_wake.notify_all();
    for (std::thread& t : m_threads) {
        if (t.joinable()) {
            t.join();
        }
    }
}

bool TAblaufRun::WaitUntilFinished(int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_wake.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] {
        return m_finished.load(std::memory_order_acquire) == m_threads.size();
    });
}

void TAblaufRun::Pause(int32_t ms) {
    std::unique_lock lock(m_mutex);
    const auto stopping = [this] { return m_stop.load(std::memory_order_acquire); };
    if (ms <= 0) {
        // A pause of no length never elapses in the stored programs: it holds until the stop.
        m_wake.wait(lock, stopping);
    } else {
        m_wake.wait_for(lock, std::chrono::milliseconds(ms), stopping);
    }
}

void TAblaufRun::WaitForStop() {
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stop.load(std::memory_order_acquire); });
}

void TAblaufRun::RunFrom(int block) {
    int current = block;
    while (!m_stop.load(std::memory_order_relaxed)) {
        if (current < 0) {
            // An output that leads nowhere leaves the runner idle until the program stops.
            WaitForStop();
            break;
        }
        const auto index = static_cast<size_t>(current);
        if (m_isEnd[index]) {
            break;
        }
        const int output = m_blocks[index]->Execute(*this);
        current = output >= 0 && output < 4 ? m_next[index][static_cast<size_t>(output)] : -1;
    }
    {
        std::lock_guard lock(m_mutex);
        m_finished.fetch_add(1, std::memory_order_acq_rel);
    }
    m_wake.notify_all();
}

}  // namespace kx
