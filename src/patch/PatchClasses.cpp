#include "patch/PatchClasses.h"

#include "patch/Patch.h"

void RegisterPatchClasses() {
    for (const ArchiveClass* archiveClass :
         {&CPatch::kClass, &CLayerParams::kClass, &CNoteOnRoutingItem::kClass,
          &CControllerRoutingItem::kClass, &CEnvelope::kClass, &CXfade::kClass, &CNoteOnRouting::kClass,
          &CControllerRouting::kClass})
        ClassRegistry::Register(*archiveClass);
}
