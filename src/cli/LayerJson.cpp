#include "cli/LayerJson.h"

#include "platform/TextEncoding.h"

#include <limits>
#include <set>
#include <stdexcept>

using nlohmann::json;
using nlohmann::ordered_json;

ordered_json LayerDocToJson(const CLayerDoc& doc) {
    ordered_json samples = ordered_json::array();
    doc.Samples().ForEachInOrderAdded([&](const std::string& name, const std::unique_ptr<CSample>& sample) {
        samples.push_back({{"name", Cp1252ToUtf8(name)},
                           {"path", Cp1252ToUtf8(sample->m_strPath)},
                           {"tracks_pitch", sample->m_bTracksPitch},
                           {"ignore_key_up", sample->m_bIgnoreKeyUp},
                           {"level", sample->m_nLevel}});
    });
    ordered_json layers = ordered_json::array();
    doc.Layers().ForEachInOrderAdded([&](const std::string& name, const std::unique_ptr<CLayer>& layer) {
        ordered_json keys = ordered_json::array();
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
    return ordered_json{{"samples", std::move(samples)}, {"layers", std::move(layers)}};
}

namespace {
// What is wrong with the JSON, with where it is.
class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

const json& Member(const json& object, const char* key, const std::string& where) {
    auto found = object.find(key);
    if (found == object.end())
        throw JsonError(where + ": \"" + key + "\" is missing");
    return *found;
}

void CheckMembers(const json& object, const std::set<std::string>& allowed, const std::string& where) {
    if (!object.is_object())
        throw JsonError(where + ": not an object");
    for (const auto& [key, value] : object.items())
        if (!allowed.count(key))
            throw JsonError(where + ": unknown field \"" + key + "\"");
}

// Text that becomes a name, path or comment: it must be representable in Windows-1252.
std::string FromUtf8(const std::string& utf8, const std::string& what) {
    std::string text = Utf8ToCp1252(utf8);
    if (Cp1252ToUtf8(text) != utf8)
        throw JsonError(what + " cannot be written in Windows-1252: " + utf8);
    return text;
}

std::string Text(const json& object, const char* key, const std::string& where, bool required) {
    if (!required && !object.contains(key))
        return {};
    const json& value = Member(object, key, where);
    if (!value.is_string())
        throw JsonError(where + ": \"" + key + "\" must be a string");
    return FromUtf8(value.get<std::string>(), where + ": \"" + key + "\"");
}

bool Flag(const json& object, const char* key, bool fallback, const std::string& where) {
    if (!object.contains(key))
        return fallback;
    const json& value = object[key];
    if (!value.is_boolean())
        throw JsonError(where + ": \"" + key + "\" must be true or false");
    return value.get<bool>();
}

long long Integer(const json& value, long long low, long long high, const std::string& what) {
    if (!value.is_number_integer())
        throw JsonError(what + " must be an integer");
    if (value.is_number_unsigned() ? value.get<unsigned long long>() > static_cast<unsigned long long>(high)
                                   : value.get<long long>() < low || value.get<long long>() > high)
        throw JsonError(what + " must lie in " + std::to_string(low) + ".." + std::to_string(high));
    return value.get<long long>();
}

// Levels and transposes are archived as 16-bit words.
std::int32_t Word(const json& object, const char* key, const std::string& where) {
    if (!object.contains(key))
        return 0;
    return static_cast<std::int32_t>(Integer(object[key], std::numeric_limits<std::int16_t>::min(),
                                             std::numeric_limits<std::int16_t>::max(),
                                             where + ": \"" + key + "\""));
}

const json& List(const json& source, const char* key) {
    static const json empty = json::array();
    if (!source.contains(key))
        return empty;
    const json& list = source[key];
    if (!list.is_array())
        throw JsonError(std::string("\"") + key + "\" must be a list");
    return list;
}

void Fill(const json& source, CLayerDoc& doc) {
    CheckMembers(source, {"samples", "layers"}, "the library");
    const json& samples = List(source, "samples");
    const json& layers = List(source, "layers");

    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::string where = "samples[" + std::to_string(i) + "]";
        const json& item = samples[i];
        CheckMembers(item, {"name", "path", "tracks_pitch", "ignore_key_up", "level"}, where);
        std::string name = Text(item, "name", where, true);
        if (doc.FindSample(name))
            throw JsonError(where + ": the name " + Cp1252ToUtf8(name) + " is used twice");
        auto sample = std::make_unique<CSample>();
        sample->m_strPath = Text(item, "path", where, false);
        sample->m_bTracksPitch = Flag(item, "tracks_pitch", true, where);
        sample->m_bIgnoreKeyUp = Flag(item, "ignore_key_up", false, where);
        sample->m_nLevel = Word(item, "level", where);
        doc.AddSample(name, std::move(sample));
    }

    std::vector<CLayer*> added;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        std::string where = "layers[" + std::to_string(i) + "]";
        const json& item = layers[i];
        CheckMembers(item, {"name", "level", "transpose", "ignore_key_up", "comment", "keys"}, where);
        std::string name = Text(item, "name", where, true);
        if (doc.FindLayer(name))
            throw JsonError(where + ": the name " + Cp1252ToUtf8(name) + " is used twice");
        auto layer = std::make_unique<CLayer>();
        layer->m_nLevel = Word(item, "level", where);
        layer->m_nTranspose = Word(item, "transpose", where);
        layer->m_bIgnoreKeyUp = Flag(item, "ignore_key_up", false, where);
        layer->m_strComment = Text(item, "comment", where, false);
        added.push_back(layer.get());
        doc.SetLayer(name, std::move(layer));
    }

    for (std::size_t i = 0; i < layers.size(); ++i) {
        std::string where = "layers[" + std::to_string(i) + "]";
        const json& keys = List(layers[i], "keys");
        for (std::size_t k = 0; k < keys.size(); ++k) {
            std::string pair = where + ".keys[" + std::to_string(k) + "]";
            const json& item = keys[k];
            if (!item.is_array() || item.size() != 2)
                throw JsonError(pair + ": not a [key, name] pair");
            auto key = static_cast<std::uint16_t>(Integer(item[0], 0, kHighestKey, pair + ": the key"));
            if (!item[1].is_string())
                throw JsonError(pair + ": the name must be a string");
            CSample* sample = doc.FindSample(FromUtf8(item[1].get<std::string>(), pair + ": the name"));
            if (!sample)
                throw JsonError(pair + ": no sample entry is named " + item[1].get<std::string>());
            if (added[i]->m_keys.Contains(key))
                throw JsonError(pair + ": key " + std::to_string(key) + " is given twice");
            added[i]->m_keys.Set(key, sample);
        }
    }
}
} // namespace

std::string LayerDocFromJson(const json& source, CLayerDoc& doc) {
    try {
        Fill(source, doc);
    } catch (const JsonError& error) {
        doc.DeleteContents();
        return error.what();
    }
    return {};
}
