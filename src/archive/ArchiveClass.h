#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

class CObjectArchive;
class CObject;

// A record class that archives know by name: the name and schema written in class records, and a
// factory that makes an empty object to load into.
struct ArchiveClass {
    std::string_view name;
    std::uint16_t schema;
    std::unique_ptr<CObject> (*factory)();
};

// Base of every record that can be stored by reference (a tagged entry).
class CObject {
public:
    virtual ~CObject();
    virtual const ArchiveClass& GetArchiveClass() const = 0;
    virtual void Serialize(CObjectArchive& ar) = 0;
};

template <class T> std::unique_ptr<CObject> MakeArchiveObject() {
    return std::make_unique<T>();
}

// The classes that a class record may name. Each record module registers its classes before it
// loads (registering the same class again is harmless).
namespace ClassRegistry {
void Register(const ArchiveClass& archiveClass);
const ArchiveClass* Find(std::string_view name);
} // namespace ClassRegistry
