#pragma once

#include "patch/AddRoutingValues.h"
#include "patch/RoutingItem.h"

#include <optional>
#include <string>

// "Add New Routing" without its window: which number boxes show, when OK may be pressed, and the
// checks OK makes.
class CAddRoutingDialogModel {
public:
    enum class Field { Controller, Stage };
    struct Refusal {
        std::string message;
        Field field; // the box that gets the focus back
    };
    static constexpr const char* kControllerLabel = "Controller #";
    static constexpr const char* kStageLabel = "Stage";

    explicit CAddRoutingDialogModel(AddRoutingValues values);

    const AddRoutingValues& Values() const { return m_values; }
    // The lists' choices by index, -1 for none. Each true when its number box should take the
    // focus (it has just been shown with its starting value).
    bool ChooseSource(int index);
    bool ChooseDestination(int index);
    bool ShowsController() const { return m_values.source == kSourceController; }
    bool ShowsStage() const;
    bool IsOkEnabled() const { return m_nSource >= 0 && m_nDestination >= 0; }

    // OK with the numbers in the boxes: the refusal to show, or none when the dialog may close
    // with Values().
    std::optional<Refusal> Accept(std::int32_t controller, std::int32_t stage);

private:
    AddRoutingValues m_values;
    int m_nSource = -1;
    int m_nDestination = -1;
};
