#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A JSON document that does not describe a valid record: the message says where and why.
class JsonInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using OrderedJson = nlohmann::ordered_json;

// An integer in min..max; anything else is an error naming `where`.
long long JsonInteger(const OrderedJson& value, const std::string& where, long long min, long long max);

// A text as Windows-1252 bytes; a character that Windows-1252 cannot hold is an error.
std::string JsonName(const OrderedJson& value, const std::string& where);

// The elements of an array.
const OrderedJson::array_t& JsonArray(const OrderedJson& value, const std::string& where);

// Reads the members of one JSON object. A member that is absent takes the fallback given, or is an
// error without one; a member that nobody asked for is refused by Finish, so misspellings show.
class JsonObjectReader {
public:
    JsonObjectReader(const OrderedJson& value, std::string where);

    long long Integer(const char* key, long long min, long long max, std::optional<long long> fallback);
    std::string Name(const char* key, std::optional<std::string> fallback);
    // The array's elements; an absent array is empty.
    const OrderedJson::array_t& Array(const char* key);
    // A member that must be there, and where it stands.
    const OrderedJson& Member(const char* key);
    // The member, or none.
    const OrderedJson* Find(const char* key);
    std::string Where(const char* key) const { return m_strWhere + "." + key; }

    void Finish() const;

private:
    const OrderedJson& m_value;
    std::string m_strWhere;
    std::vector<std::string> m_asked;
};
