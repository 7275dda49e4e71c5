#include "cli/JsonReader.h"

#include "platform/TextEncoding.h"

#include <algorithm>

long long JsonInteger(const OrderedJson& value, const std::string& where, long long min, long long max) {
    if (value.is_number_unsigned()) {
        auto number = value.get<unsigned long long>();
        if (max >= 0 && number <= static_cast<unsigned long long>(max) &&
            static_cast<long long>(number) >= min)
            return static_cast<long long>(number);
        throw JsonInputError(where + ": " + std::to_string(number) + " is outside " + std::to_string(min) +
                             ".." + std::to_string(max));
    }
    if (value.is_number_integer()) {
        auto number = value.get<long long>();
        if (number < min || number > max)
            throw JsonInputError(where + ": " + std::to_string(number) + " is outside " +
                                 std::to_string(min) + ".." + std::to_string(max));
        return number;
    }
    throw JsonInputError(where + ": expected a whole number, found " +
                         (value.is_number() ? value.dump() : std::string(value.type_name())));
}

std::string JsonName(const OrderedJson& value, const std::string& where) {
    if (!value.is_string())
        throw JsonInputError(where + ": expected a text, found " + std::string(value.type_name()));
    const auto& text = value.get_ref<const std::string&>();
    std::string name = Utf8ToCp1252(text);
    if (Cp1252ToUtf8(name) != text)
        throw JsonInputError(where + ": " + value.dump() + " has characters that Windows-1252 cannot hold");
    return name;
}

const OrderedJson::array_t& JsonArray(const OrderedJson& value, const std::string& where) {
    if (!value.is_array())
        throw JsonInputError(where + ": expected an array, found " + std::string(value.type_name()));
    return value.get_ref<const OrderedJson::array_t&>();
}

JsonObjectReader::JsonObjectReader(const OrderedJson& value, std::string where)
    : m_value(value), m_strWhere(std::move(where)) {
    if (!m_value.is_object())
        throw JsonInputError(m_strWhere + ": expected an object, found " + std::string(m_value.type_name()));
}

const OrderedJson* JsonObjectReader::Find(const char* key) {
    m_asked.emplace_back(key);
    auto found = m_value.find(key);
    return found == m_value.end() ? nullptr : &*found;
}

const OrderedJson& JsonObjectReader::Member(const char* key) {
    const OrderedJson* member = Find(key);
    if (!member)
        throw JsonInputError(Where(key) + ": missing");
    return *member;
}

long long JsonObjectReader::Integer(const char* key, long long min, long long max,
                                    std::optional<long long> fallback) {
    const OrderedJson* member = fallback ? Find(key) : &Member(key);
    return member ? JsonInteger(*member, Where(key), min, max) : *fallback;
}

std::string JsonObjectReader::Name(const char* key, std::optional<std::string> fallback) {
    const OrderedJson* member = fallback ? Find(key) : &Member(key);
    return member ? JsonName(*member, Where(key)) : *fallback;
}

const OrderedJson::array_t& JsonObjectReader::Array(const char* key) {
    static const OrderedJson::array_t kEmpty;
    const OrderedJson* member = Find(key);
    return member ? JsonArray(*member, Where(key)) : kEmpty;
}

void JsonObjectReader::Finish() const {
    for (const auto& [key, member] : m_value.items())
        if (std::find(m_asked.begin(), m_asked.end(), key) == m_asked.end())
            throw JsonInputError(m_strWhere + "." + key + ": not a field of this record");
}
