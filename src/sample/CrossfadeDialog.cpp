#include "sample/CrossfadeDialog.h"

#include "platform/DialogValidation.h"

#include <tuple>
#include <variant>

std::optional<std::string> RangeMessage(const CrossfadeValues& v) {
    for (auto [value, low, high] :
         {std::tuple{v.radiusMs, CrossfadeValues::kRadiusLowest, CrossfadeValues::kRadiusHighest},
          std::tuple{v.contour, CrossfadeValues::kContourLowest, CrossfadeValues::kContourHighest}}) {
        auto checked = ValidateInteger(std::to_string(value), low, high);
        if (auto* message = std::get_if<std::string>(&checked))
            return *message;
    }
    return std::nullopt;
}
