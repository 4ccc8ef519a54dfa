#pragma once
// How the alignment window's parts reach the radio: each radio action runs
// through the window's gate, which skips it (returning false) while another
// action or a whole-memory worker holds the radio.

#include <functional>

using AlignRadio = std::function<bool(const std::function<void()>& work)>;
