#pragma once

#include "patch/AddRoutingValues.h"
#include "patch/Routing.h"
#include "ui/patch/BreakpointGraphModel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What tells the key-routing page from the continuous-routing page.
struct RoutingPageKind {
    const char* title;   // the tab's caption
    const char* caption; // over the list of routings
    std::vector<AddRoutingValues::Choice> sources;
    std::vector<AddRoutingValues::Choice> destinations;
    std::string (*sourceText)(std::int32_t source, std::int32_t controller);
    std::string (*destinationText)(std::int32_t destination, std::int32_t stage);
    // Key page: the x range follows the source, durations zoom, the stage is entered 1-based,
    // duration curves start at 100 %, and a label of 0 reads "0".
    bool keyPage;
};

// The two kinds of routing page.
const RoutingPageKind& KeyRoutingKind();
const RoutingPageKind& ContinuousRoutingKind();

// A routing page without its window: a working copy of a layer's routings of one kind, the one
// whose curve the graph shows, adding and deleting, the graph's ranges and labels, and the zoom
// of duration amounts.
class CRoutingPageModel {
public:
    // One routing of the working copy, whatever its class in the file.
    struct Entry {
        std::int32_t source = 0;
        std::int32_t destination = 0;
        std::int32_t controller = 0;
        std::int32_t stage = 0;
        std::vector<std::uint32_t> curve;
    };
    static constexpr std::int32_t kDurationZoom[] = {100, 200, 500, 1000, 2000, 5000, 10000};
    static constexpr int kDurationZoomCount = 7;

    explicit CRoutingPageModel(const RoutingPageKind& kind);

    const RoutingPageKind& Kind() const { return m_kind; }

    template <class List> void LoadFrom(const List& list);
    // The graph's curve into the selected routing.
    void StoreCurve();
    template <class List> void StoreTo(List& list) const;
    void EnableControls(bool on) { m_bControlsEnabled = on; }
    bool ControlsEnabled() const { return m_bControlsEnabled; }

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const Entry& GetEntry(int i) const { return m_entries.at(static_cast<std::size_t>(i)); }
    // The list's lines: "Velocity to AmpEnvDur 2".
    std::vector<std::string> Descriptions() const;
    int Selected() const { return m_nSelected; }

    // The list's selection moved to `index`: the curve shown so far is kept, then `index` shown.
    void OnSelectionChanged(int index);
    // Shows routing `index` on the graph, or empties it when there is no such routing.
    void ShowRouting(int index);
    // "Add": asks the dialog, then adds what was entered. True when a routing was added.
    bool OnAdd();
    bool AddRouting(const AddRoutingValues& values);
    // "Delete" of the list's entry `index`; true when one was deleted.
    bool OnDelete(int index);

    // The y range's ends, "-60dB" and "+10dB".
    std::string YLowLabel() const;
    std::string YHighLabel() const;
    bool ZoomEnabled() const { return m_bZoomEnabled && m_nZoom > 0; }
    bool UnzoomEnabled() const { return m_bZoomEnabled && m_nZoom < kDurationZoomCount - 1; }
    void Zoom();
    void Unzoom();
    int ZoomIndex() const { return m_nZoom; }

    void OnGraphNotify(int kind, std::uint32_t point);
    const std::string& ReadOut() const { return m_strReadOut; }

    CBreakpointGraphModel& Graph() { return m_graph; }
    const CBreakpointGraphModel& Graph() const { return m_graph; }

private:
    void SetDurationZoom(int index);
    std::string YLabel(std::int32_t value) const;

    const RoutingPageKind& m_kind;
    std::vector<Entry> m_entries;
    int m_nSelected = -1;
    CBreakpointGraphModel m_graph;
    std::string m_strUnit;
    bool m_bZoomEnabled = false;
    int m_nZoom = 1;
    bool m_bControlsEnabled = true;
    std::string m_strReadOut;
};

template <class List> void CRoutingPageModel::LoadFrom(const List& list) {
    m_nSelected = -1;
    m_entries.clear();
    for (int i = 0; i < list.GetCount(); ++i) {
        const CRoutingItem& item = list.GetItem(i);
        m_entries.push_back(
            {item.m_nSource, item.m_nDestination, item.m_nController, item.m_nStage, item.m_curve});
    }
    ShowRouting(0);
}

template <class List> void CRoutingPageModel::StoreTo(List& list) const {
    List copy;
    for (const Entry& entry : m_entries) {
        auto item = std::make_unique<std::remove_reference_t<decltype(copy.GetItem(0))>>();
        item->m_nSource = entry.source;
        item->m_nDestination = entry.destination;
        item->m_nController = entry.controller;
        item->m_nStage = entry.stage;
        item->m_curve = entry.curve;
        copy.Add(std::move(item));
    }
    list.CopyFrom(copy);
}
