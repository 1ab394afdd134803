// The trace stack: a bounded, time-stamped ring of the operations run most recently.
#include "foundation/u_stack.h"

#include <chrono>
#include <ctime>
#include <new>

#include "foundation/u_text.h"

namespace kx {

namespace {

constexpr size_t RingSize = TkxStack::MaxEntries + 1;

// Local time as "hhnnsszzz".
std::string TimeStamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    const int fields[] = {local.tm_hour, local.tm_min, local.tm_sec};
    std::string text;
    text.reserve(9);
    for (int f : fields) {
        text += static_cast<char>('0' + f / 10 % 10);
        text += static_cast<char>('0' + f % 10);
    }
    const int ms = static_cast<int>(millis < 0 ? millis + 1000 : millis);
    text += static_cast<char>('0' + ms / 100);
    text += static_cast<char>('0' + ms / 10 % 10);
    text += static_cast<char>('0' + ms % 10);
    return text;
}

}  // namespace

TStackArg::TStackArg(const char* text) : m_kind(text ? TKind::String : TKind::Null) {
    if (text) {
        m_text = text;
    }
}

TStackArg::TStackArg(const void* object) : m_kind(object ? TKind::Integer : TKind::Null) {
    m_int = static_cast<int64_t>(reinterpret_cast<uintptr_t>(object));
}

std::string TStackArg::Format() const {
    switch (m_kind) {
        case TKind::Null:
            return "nil";
        case TKind::Bool:
            return m_int ? "true" : "false";
        case TKind::Integer:
            return IntToStr(m_int);
        case TKind::Float:
            return FormatFloat(m_float);
        case TKind::String:
            // Quotes inside the text are not escaped: the log is for reading, not parsing.
            return m_text.empty() ? std::string("\"\"") : "\"" + m_text + "\"";
    }
    return {};
}

void TkxStack::Push(std::string_view name) {
    Append(name, {});
}

void TkxStack::Push(std::string_view name, const TStackArg& a1) {
    Append(name, {&a1});
}

void TkxStack::Push(std::string_view name, const TStackArg& a1, const TStackArg& a2) {
    Append(name, {&a1, &a2});
}

void TkxStack::Push(std::string_view name, const TStackArg& a1, const TStackArg& a2,
                    const TStackArg& a3) {
    Append(name, {&a1, &a2, &a3});
}

void TkxStack::Push(std::string_view name, const TStackArg& a1, const TStackArg& a2,
                    const TStackArg& a3, const TStackArg& a4) {
    Append(name, {&a1, &a2, &a3, &a4});
}

void TkxStack::Append(std::string_view name, std::initializer_list<const TStackArg*> args) {
    // The entry is built outside the lock; only the ring update is guarded.
    std::string entry = TimeStamp();
    entry += ": ";
    entry += name;
    entry += '(';
    bool first = true;
    for (const TStackArg* arg : args) {
        if (!first) {
            entry += ',';
        }
        first = false;
        entry += arg->Format();
    }
    entry += ')';

    std::lock_guard lock(m_mutex);
    if (m_ring.size() < RingSize) {
        m_ring.resize(RingSize);
    }
    // Trimming comes before appending, so the log holds one entry more than MaxEntries.
    if (m_count > static_cast<size_t>(MaxEntries)) {
        m_first = (m_first + 1) % RingSize;
        --m_count;
    }
    m_ring[(m_first + m_count) % RingSize] = std::move(entry);
    ++m_count;
}

int TkxStack::Count() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_count);
}

std::string TkxStack::Line(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || static_cast<size_t>(index) >= m_count) {
        return {};
    }
    return m_ring[(m_first + static_cast<size_t>(index)) % RingSize];
}

std::vector<std::string> TkxStack::Lines() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> lines;
    lines.reserve(m_count);
    for (size_t i = 0; i < m_count; ++i) {
        lines.push_back(m_ring[(m_first + i) % RingSize]);
    }
    return lines;
}

void TkxStack::Clear() {
    std::lock_guard lock(m_mutex);
    m_ring.clear();
    m_first = 0;
    m_count = 0;
}

TkxStack& Stack() {
    // Never destroyed: objects freed while the process ends may still push entries.
    alignas(TkxStack) static unsigned char storage[sizeof(TkxStack)];
    static TkxStack* const stack = new (storage) TkxStack;
    return *stack;
}

}  // namespace kx
