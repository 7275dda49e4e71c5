#include "patch/RoutingItem.h"

#include "archive/ArchiveContainers.h"
#include "archive/PackedPoint.h"

const ArchiveClass CNoteOnRoutingItem::kClass{"CNoteOnRoutingItem", 1,
                                              &MakeArchiveObject<CNoteOnRoutingItem>};
const ArchiveClass CControllerRoutingItem::kClass{"CControllerRoutingItem", 1,
                                                  &MakeArchiveObject<CControllerRoutingItem>};

namespace {
// The codes are archived as unsigned 16-bit words.
void ExchangeCode(CObjectArchive& ar, std::int32_t& code) {
    std::uint16_t word = static_cast<std::uint16_t>(code);
    ar.Exchange(word);
    code = word;
}
} // namespace

void CRoutingItem::Serialize(CObjectArchive& ar) {
    ExchangeCode(ar, m_nSource);
    ExchangeCode(ar, m_nDestination);
    ExchangeCode(ar, m_nController);
    ExchangeCode(ar, m_nStage);
    SerializeWordArray(ar, m_curve);
}

void CRoutingItem::CopyFrom(const CRoutingItem& other) {
    if (&other == this)
        return;
    m_nSource = other.m_nSource;
    m_nDestination = other.m_nDestination;
    m_nController = other.m_nController;
    m_nStage = other.m_nStage;
    m_curve = other.m_curve;
}

float CRoutingItem::Evaluate(std::int32_t x) const {
    if (m_curve.empty())
        return 0.0f;
    std::size_t last = m_curve.size() - 1;
    if (x >= PackedX(m_curve[last]))
        return PackedY(m_curve[last]);
    for (std::size_t k = last; k-- > 0;) {
        std::int32_t xk = PackedX(m_curve[k]);
        if (x < xk)
            continue;
        std::int32_t yk = PackedY(m_curve[k]);
        // Here xk <= x < x(k+1), so the divisor is positive. The product is taken wide: inputs
        // and curves from a file can overflow 32 bits.
        std::int64_t rise = std::int64_t{x - xk} * (PackedY(m_curve[k + 1]) - yk);
        std::int64_t run = PackedX(m_curve[k + 1]) - xk;
        return static_cast<float>(rise / run) + static_cast<float>(yk);
    }
    return 0.0f;
}
