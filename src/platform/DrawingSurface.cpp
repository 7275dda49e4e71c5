#include "platform/DrawingSurface.h"

DrawingSurface::~DrawingSurface() = default;

namespace {
std::int32_t Scale(std::int64_t value, std::int32_t numerator, std::int32_t denominator) {
    return denominator == 0 ? 0 : static_cast<std::int32_t>(value * numerator / denominator);
}
} // namespace

SurfacePoint DeviceToLogical(const SurfaceMapping& m, SurfacePoint device) {
    return {Scale(std::int64_t{device.x} - m.viewportOrg.x, m.windowExt.x, m.viewportExt.x) + m.windowOrg.x,
            Scale(std::int64_t{device.y} - m.viewportOrg.y, m.windowExt.y, m.viewportExt.y) + m.windowOrg.y};
}

SurfacePoint LogicalToDevice(const SurfaceMapping& m, SurfacePoint logical) {
    return {Scale(std::int64_t{logical.x} - m.windowOrg.x, m.viewportExt.x, m.windowExt.x) + m.viewportOrg.x,
            Scale(std::int64_t{logical.y} - m.windowOrg.y, m.viewportExt.y, m.windowExt.y) + m.viewportOrg.y};
}
