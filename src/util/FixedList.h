#pragma once
#include <cstddef>

// A view of a fixed list of items held in constant storage: tables that need
// no construction when the program starts or when they are first used.
template <typename T>
struct FixedList {
    const T* first;
    std::size_t count;

    const T* begin() const { return first; }
    const T* end() const { return first + count; }
    std::size_t size() const { return count; }
    const T& operator[](std::size_t index) const { return first[index]; }
};

// The list of all items of a constant array.
template <typename T, std::size_t N>
constexpr FixedList<T> fixedList(const T (&items)[N])
{
    return FixedList<T>{items, N};
}
