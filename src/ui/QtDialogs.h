#pragma once

#include <QDialog>
#include <QWidget>

#include <any>
#include <functional>
#include <optional>
#include <typeindex>
#include <unordered_map>

// The Qt dialogs that answer the documents' typed dialog requests, one per request type. Each
// editor registers its own; the editor's Ui looks them up by the type of the request.
class QtDialogs {
public:
    template <class T> using Asker = std::function<std::optional<T>(QWidget* parent, const T& initial)>;

    template <class T> void Register(Asker<T> show) {
        m_shows.insert_or_assign(
            std::type_index(typeid(T)),
            [show = std::move(show)](QWidget* parent, const std::any& initial) -> std::optional<std::any> {
                std::optional<T> entered = show(parent, std::any_cast<const T&>(initial));
                if (!entered)
                    return std::nullopt;
                return std::any(std::move(*entered));
            });
    }

    // A modal dialog class made from (initial values, parent) that gives its values with Values().
    template <class Dialog, class T> void Register() {
        Register<T>([](QWidget* parent, const T& initial) -> std::optional<T> {
            Dialog dialog(initial, parent);
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.Values();
        });
    }

    bool Has(std::type_index type) const { return m_shows.count(type) != 0; }
    // Shows the dialog registered for initial's type; nothing on Cancel.
    std::optional<std::any> Show(QWidget* parent, const std::any& initial) const {
        return m_shows.at(initial.type())(parent, initial);
    }

private:
    std::unordered_map<std::type_index, std::function<std::optional<std::any>(QWidget*, const std::any&)>>
        m_shows;
};
