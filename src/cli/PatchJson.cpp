#include "cli/PatchJson.h"

#include "archive/PackedPoint.h"
#include "patch/PatchDoc.h"
#include "platform/TextEncoding.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace {
// The ranges of the fields as the file holds them.
constexpr long long kI16Min = std::numeric_limits<std::int16_t>::min();
constexpr long long kI16Max = std::numeric_limits<std::int16_t>::max();
constexpr long long kU16Max = std::numeric_limits<std::uint16_t>::max();
constexpr long long kI32Min = std::numeric_limits<std::int32_t>::min();
constexpr long long kI32Max = std::numeric_limits<std::int32_t>::max();
constexpr long long kU32Max = std::numeric_limits<std::uint32_t>::max();

OrderedJson EnvelopeToJson(const CEnvelope& envelope) {
    OrderedJson points = OrderedJson::array();
    for (int i = 0; i < envelope.GetPointCount(); ++i)
        points.push_back({envelope.GetPointTime(i), envelope.GetPointLevel(i)});
    return {{"release", envelope.GetRelease()}, {"linear", envelope.GetLinearFlags()}, {"points", points}};
}

template <class List> OrderedJson RoutingsToJson(const List& routings) {
    OrderedJson items = OrderedJson::array();
    for (int i = 0; i < routings.GetCount(); ++i) {
        const CRoutingItem& item = routings.GetItem(i);
        OrderedJson curve = OrderedJson::array();
        for (std::uint32_t point : item.m_curve)
            curve.push_back({PackedX(point), PackedY(point)});
        items.push_back({{"source", item.m_nSource},
                         {"destination", item.m_nDestination},
                         {"controller", item.m_nController},
                         {"stage", item.m_nStage},
                         {"curve", curve}});
    }
    return items;
}

OrderedJson LayerToJson(const CLayerParams& layer) {
    const CXfade& xfade = layer.m_xfade;
    return {{"layer", Cp1252ToUtf8(layer.m_strLayerName)},
            {"level", layer.m_nLevel},
            {"envelope", EnvelopeToJson(layer.m_envelope)},
            {"key_routings", RoutingsToJson(layer.m_noteOnRouting)},
            {"xfade", {{"center", xfade.m_nCenter}, {"width", xfade.m_nWidth}, {"curve", xfade.m_nCurve}}},
            {"continuous_routings", RoutingsToJson(layer.m_controllerRouting)}};
}

OrderedJson PatchToJson(const CPatch& patch) {
    OrderedJson layers = OrderedJson::array();
    for (const auto& layer : patch.m_layers)
        layers.push_back(LayerToJson(*layer));
    return {{"number", patch.m_nNumber},
            {"name", Cp1252ToUtf8(patch.m_strName)},
            {"level", patch.m_nMasterLevel},
            {"reserved", patch.m_nReserved},
            {"layers", layers}};
}

// [x, y] pairs of a curve or an envelope; x within xMin..xMax, y a signed 16-bit value.
std::vector<std::uint32_t> PointsFromJson(JsonObjectReader& reader, const char* key, long long xMin,
                                          long long xMax) {
    const OrderedJson* member = reader.Find(key);
    if (!member)
        return {0};
    std::vector<std::uint32_t> points;
    const auto& elements = JsonArray(*member, reader.Where(key));
    for (std::size_t i = 0; i < elements.size(); ++i) {
        std::string where = reader.Where(key) + "[" + std::to_string(i) + "]";
        const auto& pair = JsonArray(elements[i], where);
        if (pair.size() != 2)
            throw JsonInputError(where + ": expected a pair [x, y]");
        auto x = JsonInteger(pair[0], where + "[0]", xMin, xMax);
        auto y = JsonInteger(pair[1], where + "[1]", kI16Min, kI16Max);
        points.push_back(PackPoint(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)));
    }
    return points;
}

void EnvelopeFromJson(const OrderedJson& json, const std::string& where, CEnvelope& envelope) {
    JsonObjectReader reader(json, where);
    envelope.SetRelease(static_cast<std::int32_t>(reader.Integer("release", kI32Min, kI32Max, 0)));
    envelope.SetLinearFlags(static_cast<std::uint32_t>(reader.Integer("linear", 0, kU32Max, 0)));
    envelope.SetPoints(PointsFromJson(reader, "points", 0, kU16Max));
    reader.Finish();
}

template <class List> void RoutingsFromJson(JsonObjectReader& layerReader, const char* key, List& routings) {
    const auto& items = layerReader.Array(key);
    for (std::size_t i = 0; i < items.size(); ++i) {
        JsonObjectReader reader(items[i], layerReader.Where(key) + "[" + std::to_string(i) + "]");
        auto item = std::make_unique<typename std::remove_reference_t<decltype(routings.GetItem(0))>>();
        item->m_nSource = static_cast<std::int32_t>(reader.Integer("source", 0, kU16Max, 0));
        item->m_nDestination = static_cast<std::int32_t>(reader.Integer("destination", 0, kU16Max, 0));
        item->m_nController = static_cast<std::int32_t>(reader.Integer("controller", 0, kU16Max, 0));
        item->m_nStage = static_cast<std::int32_t>(reader.Integer("stage", 0, kU16Max, 0));
        item->m_curve = PointsFromJson(reader, "curve", kI16Min, kI16Max);
        reader.Finish();
        routings.Add(std::move(item));
    }
}

std::unique_ptr<CLayerParams> LayerFromJson(const OrderedJson& json, const std::string& where) {
    JsonObjectReader reader(json, where);
    auto layer = std::make_unique<CLayerParams>();
    layer->m_strLayerName = reader.Name("layer", "");
    layer->m_nLevel = static_cast<std::int32_t>(reader.Integer("level", kI16Min, kI16Max, 0));
    if (const OrderedJson* envelope = reader.Find("envelope"))
        EnvelopeFromJson(*envelope, reader.Where("envelope"), layer->m_envelope);
    RoutingsFromJson(reader, "key_routings", layer->m_noteOnRouting);
    if (const OrderedJson* xfade = reader.Find("xfade")) {
        JsonObjectReader xfadeReader(*xfade, reader.Where("xfade"));
        layer->m_xfade.SetValues(static_cast<std::uint16_t>(xfadeReader.Integer("center", 0, kU16Max, 0)),
                                 static_cast<std::uint16_t>(xfadeReader.Integer("width", 0, kU16Max, 0)),
                                 static_cast<std::int32_t>(xfadeReader.Integer("curve", 0, kU16Max, 0)));
        xfadeReader.Finish();
    }
    RoutingsFromJson(reader, "continuous_routings", layer->m_controllerRouting);
    reader.Finish();
    return layer;
}
} // namespace

OrderedJson PatchBankToJson(const CPatchDoc& doc) {
    OrderedJson patches = OrderedJson::array();
    for (std::uint16_t number : doc.GetLoadOrder())
        if (const CPatch* patch = doc.FindPatch(number))
            patches.push_back(PatchToJson(*patch));
    return {{"patches", patches}};
}

void PatchBankFromJson(const OrderedJson& json, CPatchDoc& doc) {
    JsonObjectReader bank(json, "bank");
    const auto& patches = JsonArray(bank.Member("patches"), bank.Where("patches"));
    bank.Finish();
    std::set<long long> numbers;
    std::vector<std::pair<std::uint16_t, std::unique_ptr<CPatch>>> read;
    for (std::size_t i = 0; i < patches.size(); ++i) {
        JsonObjectReader reader(patches[i], "patches[" + std::to_string(i) + "]");
        long long number = reader.Integer("number", 0, CPatchDoc::kPatchCount - 1, std::nullopt);
        if (!numbers.insert(number).second)
            throw JsonInputError(reader.Where("number") + ": patch " + std::to_string(number) +
                                 " is listed twice");
        auto patch = std::make_unique<CPatch>();
        patch->m_strName = reader.Name("name", patch->m_strName);
        patch->m_nMasterLevel = static_cast<std::int32_t>(reader.Integer("level", kI16Min, kI16Max, 0));
        patch->m_nReserved = static_cast<std::int32_t>(reader.Integer("reserved", kI16Min, kI16Max, 0));
        const auto& layers = reader.Array("layers");
        for (std::size_t j = 0; j < layers.size(); ++j)
            patch->m_layers.push_back(
                LayerFromJson(layers[j], reader.Where("layers") + "[" + std::to_string(j) + "]"));
        reader.Finish();
        read.emplace_back(static_cast<std::uint16_t>(number), std::move(patch));
    }
    // The writer puts the latest insertion first among its neighbours: inserting backwards keeps the
    // order dump printed, so that dump, build, dump gives the same text.
    for (auto entry = read.rbegin(); entry != read.rend(); ++entry)
        doc.SetPatch(entry->first, std::move(entry->second));
}
