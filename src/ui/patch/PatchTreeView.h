#pragma once

#include "ui/patch/PatchTreeModel.h"

#include <QTreeWidget>

#include <functional>

// The patch tree's window: patches, their layers and the samples each layer plays, with the
// model's images. A double click on a sample hands its path to the open handler.
class CPatchTreeView : public QTreeWidget {
    Q_OBJECT
public:
    using OpenFunction = std::function<void(const std::string& path)>;

    explicit CPatchTreeView(CPatchTreeModel& model, QWidget* parent = nullptr);
    ~CPatchTreeView() override;

    void SetOpenHandler(OpenFunction open) { m_open = std::move(open); }
    // The item that stands for a path of the model, or none.
    QTreeWidgetItem* ItemAt(const TreePath& path) const;
    static TreePath PathOf(const QTreeWidgetItem* item);

    // Follows the model: the items again when they changed, then the selection.
    void Resync();

private:
    void Refill();

    CPatchTreeModel& m_model;
    OpenFunction m_open;
    int m_nRevision = -1;
    bool m_bSyncing = false;
};
