#pragma once

#include "platform/DrawingSurface.h"

#include <cstdint>
#include <optional>

class CLayer;

// The layer editor's drawn keyboard: 128 keys in view pixels, white keys 10 wide from x = 10,
// black keys 6 wide over the lines between their white neighbours, octave labels below.

// The area the keyboard and its labels take, from the view's origin.
constexpr int kKeyboardWidth = 790;
constexpr int kKeyboardHeight = 80;

constexpr Colour kWhiteUnmapped{192, 192, 192};
constexpr Colour kWhiteRunA{128, 128, 64};
constexpr Colour kWhiteRunB{64, 128, 128};
constexpr Colour kBlackUnmapped{128, 128, 128};
constexpr Colour kBlackRunA{96, 96, 32};
constexpr Colour kBlackRunB{32, 96, 96};

bool IsBlackKey(std::uint16_t key);
// The rectangle a key is drawn as; its outline runs along the left and right edges, both included
// (neighbouring white keys share the line between them).
SurfaceRect KeyRect(std::uint16_t key);
// The key under a point, if any. The line between two white keys belongs to neither low on the
// keyboard; high up the black key's zone reaches three pixels into each white neighbour.
std::optional<std::uint16_t> KeyAt(int x, int y);
// The keys, filled by whether and to which run of entries they are mapped, then the octave labels.
void DrawKeyboard(DrawingSurface& surface, const CLayer& layer);
