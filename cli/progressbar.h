#pragma once
// The transfer's progress bar on a terminal: one line redrawn in place.

#include <string>

// How far value is through minimum..maximum, 0..100, clamped.
int ProgressPercent(int value, int minimum, int maximum);

// "Reading from Radio [##########          ]  50%": value within
// minimum..maximum, clamped, so the last block (2048 of 0..2047) reads full.
std::string ProgressBarLine(const std::string& caption, int value, int minimum, int maximum,
                            int barWidth = 30);
