#pragma once

#include "platform/ScriptedUi.h"

#include <memory>

// A scripted Ui installed afresh for each test function: a Qt Test class calls Install from its
// init slot and Remove from cleanup, so that no test sees another's answers or messages.
class PerTestUi {
public:
    void Install() {
        m_ui = std::make_unique<ScriptedUi>();
        m_scope = std::make_unique<ScopedUi>(*m_ui);
    }
    void Remove() {
        m_scope.reset();
        m_ui.reset();
    }
    ScriptedUi* operator->() const { return m_ui.get(); }

private:
    std::unique_ptr<ScriptedUi> m_ui;
    std::unique_ptr<ScopedUi> m_scope;
};
