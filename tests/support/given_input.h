#pragma once

#include "calculate.h"

#include <array>

// The window's design values with the inputs a test row changes, written as a chain:
// Given().storage(100, 20, 6).point(20, 80).
struct Given : engine::CalculationInput
{
    using Input = engine::CalculationInput;

    template<typename T> Given &set(T Input::*field, T value)
    {
        this->*field = value;
        return *this;
    }
    Given &compact() { return set(&Input::compact, true); }
    Given &indoor() { return set(&Input::indoor, true); }
    // The screen's inputs; they count only when the screen is present.
    Given &screen(double h, double d, double k, bool on = true)
    {
        return set(&Input::hs, h).set(&Input::xs, d).set(&Input::K, k).set(&Input::screen, on);
    }
    Given &storage(double b, double d, double h)
    {
        return set(&Input::B, b).set(&Input::D, d).set(&Input::H, h);
    }
    Given &point(double distance, double along) { return set(&Input::x, distance).set(&Input::y, along); }
    Given &at(const std::array<double, 5> &z) { return set(&Input::heights, z); }
};
