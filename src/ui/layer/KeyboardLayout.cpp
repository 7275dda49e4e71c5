#include "ui/layer/KeyboardLayout.h"

#include "layer/LayerRecords.h"

#include <array>

namespace {
constexpr int kOctaveWidth = 70;
constexpr int kLeft = 10;
constexpr int kTop = 10;
constexpr int kWhiteWidth = 10;
constexpr int kWhiteBottom = 60;
constexpr int kBlackBottom = 40;
constexpr int kBlackHalfWidth = 3;
constexpr int kLabelY = 63;
constexpr int kOctaves = 11;

// The note class of each white key of an octave, C to B.
constexpr std::array<int, 7> kWhiteClasses{0, 2, 4, 5, 7, 9, 11};
// Per note class: the white key's index in its octave, or for a black key the x of the line it
// straddles, from the octave's left edge.
constexpr std::array<int, 12> kPlace{0, 20, 1, 30, 2, 3, 50, 4, 60, 5, 70, 6};
constexpr std::array<bool, 12> kBlack{false, true,  false, true,  false, false,
                                      true,  false, true,  false, true,  false};

// Walks the keys of one colour, flipping between two fills at each new entry; both walks visit
// every key, so a run's white and black keys keep one pair of colours.
void DrawKeys(DrawingSurface& surface, const CLayer& layer, bool black) {
    bool toggle = true;
    const CSample* last = nullptr;
    for (std::uint16_t key = 0; key <= kHighestKey; ++key) {
        const CSample* entry = layer.LookupSample(key);
        if (entry && entry != last) {
            toggle = !toggle;
            last = entry;
        }
        if (IsBlackKey(key) != black)
            continue;
        Colour fill = !entry   ? (black ? kBlackUnmapped : kWhiteUnmapped)
                      : toggle ? (black ? kBlackRunA : kWhiteRunA)
                               : (black ? kBlackRunB : kWhiteRunB);
        surface.SelectBrush(Brush{BrushStyle::Solid, fill});
        surface.Rectangle(KeyRect(key));
    }
}
} // namespace

bool IsBlackKey(std::uint16_t key) {
    return kBlack[key % 12];
}

SurfaceRect KeyRect(std::uint16_t key) {
    const int octave = kLeft + kOctaveWidth * (key / 12);
    const int place = kPlace[key % 12];
    if (IsBlackKey(key))
        return {octave + place - kLeft - kBlackHalfWidth, kTop, octave + place - kLeft + kBlackHalfWidth + 1,
                kBlackBottom + 1};
    const int left = octave + kWhiteWidth * place;
    return {left, kTop, left + kWhiteWidth + 1, kWhiteBottom + 1};
}

std::optional<std::uint16_t> KeyAt(int x, int y) {
    const int X = x - kLeft;
    const int Y = y - kTop;
    if (X <= 0 || Y <= 0 || Y >= kWhiteBottom - kTop)
        return std::nullopt;
    const int w = (X % kOctaveWidth) / kWhiteWidth;
    const int p = X % kWhiteWidth;
    int key = 12 * (X / kOctaveWidth) + kWhiteClasses[static_cast<std::size_t>(w)];
    if (Y >= kBlackBottom - kTop) {
        if (p == 0)
            return std::nullopt;
    } else if (w != 0 && w != 3 && p < kBlackHalfWidth) {
        key -= 1;
    } else if (w != 2 && w != 6 && p > kWhiteWidth - kBlackHalfWidth) {
        key += 1;
    }
    if (key > kHighestKey)
        return std::nullopt;
    return static_cast<std::uint16_t>(key);
}

void DrawKeyboard(DrawingSurface& surface, const CLayer& layer) {
    ScopedPen pen(surface, Pen{PenStyle::Solid, Colour{0, 0, 0}, 1});
    Brush brush = surface.SelectBrush(Brush{});
    DrawKeys(surface, layer, false);
    DrawKeys(surface, layer, true);
    surface.SelectBrush(brush);
    // The dialog font, 8 points.
    Font font = surface.SelectFont(Font{"MS Sans Serif", 13, 400});
    for (int i = 0; i < kOctaves; ++i)
        surface.Text({kLeft + kOctaveWidth * i, kLabelY}, "C" + std::to_string(i - 1));
    surface.SelectFont(font);
}
