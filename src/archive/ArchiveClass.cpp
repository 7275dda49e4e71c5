#include "archive/ArchiveClass.h"

#include <map>
#include <mutex>
#include <string>

CObject::~CObject() = default;

namespace {
struct Registry {
    std::mutex mutex;
    std::map<std::string, const ArchiveClass*, std::less<>> classes;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}
} // namespace

void ClassRegistry::Register(const ArchiveClass& archiveClass) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.classes[std::string(archiveClass.name)] = &archiveClass;
}

const ArchiveClass* ClassRegistry::Find(std::string_view name) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.classes.find(name);
    return found == registry.classes.end() ? nullptr : found->second;
}
