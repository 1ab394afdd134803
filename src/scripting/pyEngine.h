// The script engine: a fresh Python interpreter for each run, with kxd registered, the
// script's output captured and a stop request checked as it runs.
#pragma once

#include <atomic>
#include <chrono>

#include "scripting/u_scriptport.h"

namespace kx {

class TPyEngine : public TScriptEngine {
public:
    /// The host is polled at most this often while a script runs.
    static constexpr std::chrono::milliseconds kPollInterval{30};

    TScriptResult Run(const std::string& text, const TScriptContext& context,
                      const TScriptOutput& output, const std::string& fileName = {}) override;
    void RequestStop() override { m_stop = true; }
    bool Running() const override { return m_running; }

    /// Called by the interpreter's trace hook: polls the host now and then, and turns a stop
    /// request into an exception in the script. False when the script must stop.
    bool Tick();

private:
    std::atomic<bool> m_stop{false};
    bool m_running = false;
    TScriptHost* m_host = nullptr;
    unsigned m_ticks = 0;
    std::chrono::steady_clock::time_point m_lastPoll;
};

}  // namespace kx
