#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace kestra {

// Whether an operation that can fail worked, and if not, why: the system's reason as the user
// reads it ("Permission denied"), to be put behind a fixed message with WithReason. A failure
// may come without a reason; a success never has one.
class [[nodiscard]] Outcome {
public:
    static Outcome Ok() { return Outcome(true, {}); }
    static Outcome Failed(std::string reason) { return Outcome(false, std::move(reason)); }

    explicit operator bool() const { return m_ok; }
    const std::string& Reason() const { return m_reason; }

private:
    Outcome(bool ok, std::string reason) : m_ok(ok), m_reason(std::move(reason)) {}

    bool m_ok;
    std::string m_reason;
};

// A value, or the reason why there is none (as for Outcome). A value converts to a result, so a
// function returns either the value or Result<T>::Failed(reason).
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result Failed(std::string reason) { return Result(FailedTag{}, std::move(reason)); }

    explicit operator bool() const { return m_value.has_value(); }
    // The value; only when there is one.
    const T& operator*() const& { return Value(); }
    T& operator*() & { return Value(); }
    T&& operator*() && { return std::move(Value()); }
    const T* operator->() const { return &Value(); }
    T* operator->() { return &Value(); }
    T ValueOr(T fallback) const& { return m_value ? *m_value : std::move(fallback); }
    T ValueOr(T fallback) && { return m_value ? std::move(*m_value) : std::move(fallback); }
    // Empty when there is a value.
    const std::string& Reason() const { return m_reason; }

    // A failed result equals no value.
    friend bool operator==(const Result& result, const T& value) {
        return result.m_value.has_value() && *result.m_value == value;
    }

private:
    struct FailedTag {};
    Result(FailedTag, std::string reason) : m_reason(std::move(reason)) {}
    T& Value() {
        assert(m_value.has_value());
        return *m_value;
    }
    const T& Value() const {
        assert(m_value.has_value());
        return *m_value;
    }

    std::optional<T> m_value;
    std::string m_reason;
};

} // namespace kestra
