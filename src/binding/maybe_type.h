// maybe_type.h - Brix::MaybeType: either a value or a Failure, the result of host calls and handlers.
#pragma once

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "binding/failure.h"

namespace Brix {

// MaybeType<T> holds a T or a Failure. It converts implicitly from both, so an operation can
// `return value;` or `return NotFound("...");`. Reading the value of a failure (or the failure of a
// value) is a programming error caught by the standard library's checked access.
template <typename T>
class [[nodiscard]] MaybeType {
    static_assert(!std::is_same_v<T, Failure>, "a MaybeType of a Failure is ambiguous");

public:
    using ValueType = T;

    MaybeType(T value)
        : state(std::in_place_index<0>, std::move(value)) {}  // NOLINT(google-explicit-constructor)
    MaybeType(Failure failure)
        : state(std::in_place_index<1>, std::move(failure)) {}  // NOLINT(google-explicit-constructor)

    bool HasValue() const noexcept { return state.index() == 0; }
    explicit operator bool() const noexcept { return HasValue(); }

    T& Value() & { return std::get<0>(state); }
    const T& Value() const& { return std::get<0>(state); }
    T&& Value() && { return std::get<0>(std::move(state)); }

    const Failure& Error() const { return std::get<1>(state); }

private:
    std::variant<T, Failure> state;
};

// MaybeType<void> is success without a value, or a Failure.
template <>
class [[nodiscard]] MaybeType<void> {
public:
    using ValueType = void;

    MaybeType() = default;
    MaybeType(Failure error) : failure(std::move(error)) {}  // NOLINT(google-explicit-constructor)

    bool HasValue() const noexcept { return !failure.has_value(); }
    explicit operator bool() const noexcept { return HasValue(); }

    const Failure& Error() const { return failure.value(); }

private:
    std::optional<Failure> failure;
};

}  // namespace Brix
