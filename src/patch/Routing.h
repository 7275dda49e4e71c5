#pragma once

#include "archive/ArchiveContainers.h"
#include "patch/RoutingItem.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CEnvelope;

// A layer's routings of one kind, in the order they were added. The list owns its items.
template <class Item> class CRoutingList : public CObject {
public:
    void Serialize(CObjectArchive& ar) override { SerializeObjects(ar, m_items); }

    int GetCount() const { return static_cast<int>(m_items.size()); }
    Item& GetItem(int i) { return *m_items[static_cast<std::size_t>(i)]; }
    const Item& GetItem(int i) const { return *m_items[static_cast<std::size_t>(i)]; }
    Item& Add(std::unique_ptr<Item> item) {
        m_items.push_back(std::move(item));
        return *m_items.back();
    }
    void RemoveAt(int i) { m_items.erase(m_items.begin() + i); }

    // Makes this list as long as the other one (new items at the end, surplus ones destroyed from
    // the end), then copies every item from the one at the same index.
    void CopyFrom(const CRoutingList& other) {
        if (&other == this)
            return;
        while (m_items.size() < other.m_items.size())
            m_items.push_back(std::make_unique<Item>());
        m_items.resize(other.m_items.size());
        for (std::size_t i = 0; i < m_items.size(); ++i)
            m_items[i]->CopyFrom(*other.m_items[i]);
    }

protected:
    std::vector<std::unique_ptr<Item>> m_items;
};

// The controller values a note starts with, by controller number.
using ControllerState = std::array<std::uint8_t, 128>;

// Key routings: evaluated once at note-on.
class CNoteOnRouting : public CRoutingList<CNoteOnRoutingItem> {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }

    // Applies every routing in order to a layer's gain and to a copy of its envelope, which the
    // caller initializes afterwards. An unknown source stops the whole list; an unknown
    // destination skips its routing.
    void ApplyKeyRoutings(float& gain, CEnvelope& envelope, std::uint16_t key, std::uint16_t velocity,
                          const ControllerState& controllers) const;
};

// Continuous routings: pitch wheel, aftertouch and controllers while the note sounds.
class CControllerRouting : public CRoutingList<CControllerRoutingItem> {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }
};
