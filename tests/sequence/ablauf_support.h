// Building sequence programs in tests: blocks with their parameters, joined output to input.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "sequence/u_ablauf.h"

namespace kxtest {

/// Adds blocks one below the other and joins them as the editor would.
class TProgramBuilder {
public:
    explicit TProgramBuilder(kx::TAblauf& program) : m_program(program) {}

    template <class TBlockClass>
    TBlockClass& Add(kx::TBlockKind kind) {
        m_y += 100;
        return static_cast<TBlockClass&>(m_program.AddBlock(kind, m_x, m_y));
    }
    kx::TBlockStart& Start() { return Add<kx::TBlockStart>(kx::TBlockKind::Start); }
    kx::TBlockEnde& End() { return Add<kx::TBlockEnde>(kx::TBlockKind::Ende); }
    kx::TBlockSetVar& Set(int variable, int value) {
        auto& b = Add<kx::TBlockSetVar>(kx::TBlockKind::SetVar);
        b.Variable = variable;
        b.Wert = value;
        return b;
    }
    kx::TBlockIncVar& Inc(int variable, int step) {
        auto& b = Add<kx::TBlockIncVar>(kx::TBlockKind::IncVar);
        b.Variable = variable;
        b.Wert = step;
        return b;
    }
    kx::TBlockVariable& Compare(int var1, int art, int var2) {
        auto& b = Add<kx::TBlockVariable>(kx::TBlockKind::Variable);
        b.Var1 = var1;
        b.Art = art;
        b.Var2 = var2;
        return b;
    }
    kx::TBlockPause& Pause(int ms) {
        auto& b = Add<kx::TBlockPause>(kx::TBlockKind::Pause);
        b.Intervall = ms;
        return b;
    }
    kx::TBlockMotor& Motor(int number, int status) {
        auto& b = Add<kx::TBlockMotor>(kx::TBlockKind::Motor);
        b.MotorNr = number;
        b.Status = status;
        return b;
    }
    /// Output `output` of `from` to the input of `to`.
    void Join(kx::TBlock& from, int output, kx::TBlock& to) {
        ASSERT_TRUE(m_program.Connect(from, kx::TAblauf::ConnectorPos(from, output), to,
                                      kx::TAblauf::ConnectorPos(to, 1)));
    }
    /// Each block's only (or "yes") output to the next one.
    void Chain(std::initializer_list<kx::TBlock*> blocks) {
        const kx::TBlock* previous = nullptr;
        for (kx::TBlock* b : blocks) {
            if (previous) {
                Join(const_cast<kx::TBlock&>(*previous),
                     previous->Kind() == kx::TBlockKind::Start ? 1 : kx::kOutYes, *b);
            }
            previous = b;
        }
    }
    /// A new column for the next blocks.
    void Column() {
        m_x += 400;
        m_y = 0;
    }

private:
    kx::TAblauf& m_program;
    int m_x = 200;
    int m_y = 0;
};

/// Waits until the condition holds, at most `timeoutMs`.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace kxtest
