#pragma once

#include "archive/PackedPoint.h"
#include "patch/Envelope.h"

#include <initializer_list>
#include <memory>
#include <utility>

// Records built from the (x, y) pairs a test reads best in.
using Points = std::initializer_list<std::pair<int, int>>;

inline CEnvelope MakeEnvelope(Points points, std::int32_t release = 0) {
    CEnvelope envelope;
    envelope.SetPoints({});
    int i = 0;
    for (auto [time, level] : points)
        envelope.SetPoint(i++, time, level);
    envelope.SetRelease(release);
    return envelope;
}

template <class Item>
std::unique_ptr<Item> MakeRouting(int source, int destination, Points curve, int stage = 0,
                                  int controller = 0) {
    auto item = std::make_unique<Item>();
    item->m_nSource = source;
    item->m_nDestination = destination;
    item->m_nStage = stage;
    item->m_nController = controller;
    item->m_curve.clear();
    for (auto [x, y] : curve)
        item->m_curve.push_back(PackPoint(x, y));
    return item;
}
