// The trace stack: a bounded, time-stamped ring of the operations run most recently.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

/// One argument of a trace entry: a string, a whole number, a floating-point number, a
/// boolean, an object reference (logged as its address) or null ("nil").
class TStackArg {
public:
    TStackArg(std::nullptr_t) : m_kind(TKind::Null) {}
    TStackArg(const char* text);  ///< a null pointer logs as nil
    TStackArg(std::string_view text) : m_kind(TKind::String), m_text(text) {}
    TStackArg(const std::string& text) : m_kind(TKind::String), m_text(text) {}
    TStackArg(bool value) : m_kind(TKind::Bool), m_int(value ? 1 : 0) {}
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) TStackArg(T value)
        : m_kind(TKind::Integer), m_int(static_cast<int64_t>(value)) {}
    TStackArg(double value) : m_kind(TKind::Float), m_float(value) {}
    TStackArg(float value) : m_kind(TKind::Float), m_float(value) {}
    TStackArg(const void* object);  ///< the object's address as a number; null logs as nil

    /// The text of the argument inside an entry: nil, true/false, numbers with a decimal
    /// comma, strings in double quotes (an empty one as "").
    std::string Format() const;

private:
    enum class TKind { Null, String, Integer, Float, Bool };
    TKind m_kind;
    std::string m_text;
    int64_t m_int = 0;
    double m_float = 0.0;
};

/// Every entry reads "hhnnsszzz: name(arg,arg)". Nothing pops an entry: once the log holds
/// more than MaxEntries lines, each push drops the oldest one first.
class TkxStack {
public:
    static constexpr int MaxEntries = 200;

    void Push(std::string_view name);
    void Push(std::string_view name, const TStackArg& a1);
    void Push(std::string_view name, const TStackArg& a1, const TStackArg& a2);
    void Push(std::string_view name, const TStackArg& a1, const TStackArg& a2, const TStackArg& a3);
    void Push(std::string_view name, const TStackArg& a1, const TStackArg& a2, const TStackArg& a3,
              const TStackArg& a4);

    int Count() const;
    std::string Line(int index) const;       ///< 0 is the oldest entry
    std::vector<std::string> Lines() const;  ///< oldest first
    void Clear();

private:
    void Append(std::string_view name, std::initializer_list<const TStackArg*> args);

    mutable std::mutex m_mutex;
    std::vector<std::string> m_ring;  // m_count entries starting at m_first, wrapping
    size_t m_first = 0;
    size_t m_count = 0;
};

/// The process-wide trace stack, created on first use and kept until the process ends.
TkxStack& Stack();

}  // namespace kx
