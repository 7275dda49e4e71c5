#include "cli/LayerJson.h"

#include "layer/LayerDoc.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {
constexpr long long kWordMin = std::numeric_limits<std::int16_t>::min();
constexpr long long kWordMax = std::numeric_limits<std::int16_t>::max();

bool Flag(JsonObjectReader& reader, const char* key, bool fallback) {
    const OrderedJson* member = reader.Find(key);
    if (!member)
        return fallback;
    if (!member->is_boolean())
        throw JsonInputError(reader.Where(key) + ": expected true or false, found " +
                             std::string(member->type_name()));
    return member->get<bool>();
}

std::string Indexed(const std::string& where, std::size_t i) {
    return where + "[" + std::to_string(i) + "]";
}
} // namespace

OrderedJson LayerDocToJson(const CLayerDoc& doc) {
    OrderedJson samples = OrderedJson::array();
    doc.Samples().ForEachInOrderAdded([&](const std::string& name, const std::unique_ptr<CSample>& sample) {
        samples.push_back({{"name", Cp1252ToUtf8(name)},
                           {"path", Cp1252ToUtf8(sample->m_strPath)},
                           {"tracks_pitch", sample->m_bTracksPitch},
                           {"ignore_key_up", sample->m_bIgnoreKeyUp},
                           {"level", sample->m_nLevel}});
    });
    OrderedJson layers = OrderedJson::array();
    doc.Layers().ForEachInOrderAdded([&](const std::string& name, const std::unique_ptr<CLayer>& layer) {
        OrderedJson keys = OrderedJson::array();
        layer->m_keys.ForEachInOrderAdded([&](std::uint16_t key, CSample* sample) {
            keys.push_back({key, Cp1252ToUtf8(sample->m_strName)});
        });
        layers.push_back({{"name", Cp1252ToUtf8(name)},
                          {"level", layer->m_nLevel},
                          {"transpose", layer->m_nTranspose},
                          {"ignore_key_up", layer->m_bIgnoreKeyUp},
                          {"comment", Cp1252ToUtf8(layer->m_strComment)},
                          {"keys", std::move(keys)}});
    });
    return OrderedJson{{"samples", std::move(samples)}, {"layers", std::move(layers)}};
}

void LayerDocFromJson(const OrderedJson& json, CLayerDoc& doc) {
    JsonObjectReader library(json, "library");
    const auto& samples = library.Array("samples");
    const auto& layers = library.Array("layers");
    library.Finish();

    // The writer puts the latest insertion first among its neighbours: everything is inserted
    // backwards, so that dump, build, dump gives the same text.
    std::vector<std::pair<std::string, std::unique_ptr<CSample>>> readSamples;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        JsonObjectReader reader(samples[i], Indexed("samples", i));
        std::string name = reader.Name("name", std::nullopt);
        if (std::any_of(readSamples.begin(), readSamples.end(),
                        [&](const auto& s) { return s.first == name; }))
            throw JsonInputError(reader.Where("name") + ": the name " + Cp1252ToUtf8(name) +
                                 " is used twice");
        auto sample = std::make_unique<CSample>();
        sample->m_strPath = reader.Name("path", "");
        sample->m_bTracksPitch = Flag(reader, "tracks_pitch", true);
        sample->m_bIgnoreKeyUp = Flag(reader, "ignore_key_up", false);
        sample->m_nLevel = static_cast<std::int32_t>(reader.Integer("level", kWordMin, kWordMax, 0));
        reader.Finish();
        readSamples.emplace_back(std::move(name), std::move(sample));
    }
    for (auto entry = readSamples.rbegin(); entry != readSamples.rend(); ++entry)
        doc.AddSample(entry->first, std::move(entry->second));

    std::vector<CLayer*> added;
    std::vector<std::pair<std::string, std::unique_ptr<CLayer>>> readLayers;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        JsonObjectReader reader(layers[i], Indexed("layers", i));
        std::string name = reader.Name("name", std::nullopt);
        if (std::any_of(readLayers.begin(), readLayers.end(), [&](const auto& l) { return l.first == name; }))
            throw JsonInputError(reader.Where("name") + ": the name " + Cp1252ToUtf8(name) +
                                 " is used twice");
        auto layer = std::make_unique<CLayer>();
        layer->m_nLevel = static_cast<std::int32_t>(reader.Integer("level", kWordMin, kWordMax, 0));
        layer->m_nTranspose = static_cast<std::int32_t>(reader.Integer("transpose", kWordMin, kWordMax, 0));
        layer->m_bIgnoreKeyUp = Flag(reader, "ignore_key_up", false);
        layer->m_strComment = reader.Name("comment", "");
        reader.Array("keys"); // read with the key pairs below
        reader.Finish();
        added.push_back(layer.get());
        readLayers.emplace_back(std::move(name), std::move(layer));
    }
    for (auto entry = readLayers.rbegin(); entry != readLayers.rend(); ++entry)
        doc.SetLayer(entry->first, std::move(entry->second));

    for (std::size_t i = 0; i < layers.size(); ++i) {
        JsonObjectReader reader(layers[i], Indexed("layers", i));
        const auto& keys = reader.Array("keys");
        std::vector<std::pair<std::uint16_t, CSample*>> readKeys;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            std::string where = Indexed(reader.Where("keys"), k);
            const auto& pair = JsonArray(keys[k], where);
            if (pair.size() != 2)
                throw JsonInputError(where + ": expected a pair [key, name]");
            auto key = static_cast<std::uint16_t>(JsonInteger(pair[0], where, 0, kHighestKey));
            std::string name = JsonName(pair[1], where);
            CSample* sample = doc.FindSample(name);
            if (!sample)
                throw JsonInputError(where + ": no sample entry is named " + Cp1252ToUtf8(name));
            if (std::any_of(readKeys.begin(), readKeys.end(), [&](const auto& k) { return k.first == key; }))
                throw JsonInputError(where + ": key " + std::to_string(key) + " is given twice");
            readKeys.emplace_back(key, sample);
        }
        for (auto entry = readKeys.rbegin(); entry != readKeys.rend(); ++entry)
            added[i]->m_keys.Set(entry->first, entry->second);
    }
}
