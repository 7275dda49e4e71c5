#include "sample/PitchEstimator.h"
#include "sample/SampleDoc.h"
#include "sample/SampleEdit.h"

#include "platform/Ui.h"

#include <cstdio>

bool CSampleDoc::GuessPitch(std::uint32_t markStart, std::uint32_t markLength) {
    PitchEstimate estimate;
    {
        BusyCursor busy;
        estimate = EstimatePitchDetailed(m_pData.get(), m_nFrames, m_bStereo, m_nRate, markStart, markLength);
    }
    switch (estimate.outcome) {
    case PitchEstimateOutcome::Found:
        break;
    case PitchEstimateOutcome::TooCloseToEnd:
        GetUi().Message(
            "The selection range is too close to the end of the sample (or the sample is too small "
            "to guess).",
            MessageIcon::Exclamation);
        return false;
    case PitchEstimateOutcome::RateTooLow:
    case PitchEstimateOutcome::MarkTooShort:
    case PitchEstimateOutcome::NoPeriod:
        // Silence, noise or too little audio: there is no period to report.
        GetUi().Message("No pitch could be found in the marked range.", MessageIcon::Exclamation);
        return false;
    }
    char question[160];
    std::snprintf(question, sizeof question, "The estimated pitch is %s (%.2f Hz).  Change to this value?",
                  PitchText(estimate.hz).c_str(), estimate.hz);
    if (GetUi().Ask(question, AskButtons::YesNo, MessageIcon::Question) == Answer::Yes) {
        CSampleEdit edit(*this, "Guess Pitch");
        m_dPitch = estimate.hz;
        SetModifiedFlag();
        UpdateAllViews(nullptr, 0);
    }
    return true;
}
