#include "patch/Routing.h"

#include "patch/Envelope.h"
#include "platform/Ui.h"

#include <cmath>
#include <limits>

const ArchiveClass CNoteOnRouting::kClass{"CNoteOnRouting", 1, &MakeArchiveObject<CNoteOnRouting>};
const ArchiveClass CControllerRouting::kClass{"CControllerRouting", 1,
                                              &MakeArchiveObject<CControllerRouting>};

namespace {
// Truncation toward zero, held to the 32-bit range (values from a file can go far past it).
std::int32_t TruncToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (value >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

// A duration scaled by a percentage, rounded half up.
std::int32_t ScaleDuration(std::int32_t duration, float percent) {
    return TruncToInt(static_cast<float>(duration) * percent * 0.01f + 0.5);
}
} // namespace

void CNoteOnRouting::ApplyKeyRoutings(float& gain, CEnvelope& envelope, std::uint16_t key,
                                      std::uint16_t velocity, const ControllerState& controllers) const {
    for (const auto& item : m_items) {
        std::int32_t x = 0;
        switch (item->m_nSource) {
        case kSourceKeyNumber:
            x = key;
            break;
        case kSourceVelocity:
            x = velocity;
            break;
        case kSourceController:
            // A controller number past the table has no value.
            x = item->m_nController >= 0 &&
                        item->m_nController < static_cast<std::int32_t>(controllers.size())
                    ? controllers[static_cast<std::size_t>(item->m_nController)]
                    : 0;
            break;
        default:
            GetUi().Message("Internal error: unexpected key source", MessageIcon::Exclamation);
            return;
        }

        float amount = item->Evaluate(x);
        int n = envelope.GetPointCount();
        std::int32_t stage = item->m_nStage;
        switch (item->m_nDestination) {
        case kDestinationVolume:
            gain *= DbToGain(amount);
            break;
        case kDestinationEnvLevel:
            // The last point is never changed this way.
            if (stage >= 0 && stage <= n - 2)
                envelope.SetPoint(stage, envelope.GetPointTime(stage),
                                  envelope.GetPointLevel(stage) + TruncToInt(amount));
            break;
        case kDestinationEnvDuration:
            if (stage >= 0 && stage + 1 < n) {
                // Durations read times as signed, as the editor writes them.
                auto time = [&](int k) { return static_cast<std::int16_t>(envelope.GetPointTime(k)); };
                std::int32_t duration = time(stage + 1) - time(stage);
                std::int32_t delta = ScaleDuration(duration, amount) - duration;
                for (int k = stage + 1; k < n; ++k)
                    envelope.SetPoint(k, time(k) + delta, envelope.GetPointLevel(k));
            }
            break;
        case kDestinationEnvHoldLevel:
            if (n >= 1)
                envelope.SetPoint(n - 1, envelope.GetPointTime(n - 1),
                                  envelope.GetPointLevel(n - 1) + TruncToInt(amount));
            break;
        case kDestinationEnvReleaseDuration:
            envelope.SetRelease(ScaleDuration(envelope.GetRelease(), amount));
            break;
        default:
            GetUi().Message("Internal error: unexpected key destination", MessageIcon::Exclamation);
            break;
        }
    }
}
