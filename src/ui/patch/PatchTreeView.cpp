#include "ui/patch/PatchTreeView.h"

#include "ui/patch/PatchArtwork.h"

#include <QHeaderView>

#include <set>

namespace {
constexpr int kPathRole = Qt::UserRole;
// The patch or layer an item shows, to keep it open across a refill.
constexpr int kObjectRole = Qt::UserRole + 1;

QTreeWidgetItem* MakeItem(const PatchTreeItem& item, const TreePath& path) {
    auto* widgetItem = new QTreeWidgetItem({QString::fromStdString(item.text)});
    widgetItem->setIcon(0, QIcon(PatchTreeImage(item.image)));
    widgetItem->setData(0, kPathRole, QVariantList{path.patch, path.layer, path.sample});
    return widgetItem;
}
} // namespace

CPatchTreeView::CPatchTreeView(CPatchTreeModel& model, QWidget* parent)
    : QTreeWidget(parent), m_model(model) {
    setObjectName("PatchTree");
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setIconSize(QSize(15, 15));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (!m_bSyncing)
            m_model.Select(current ? PathOf(current) : TreePath{});
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        std::optional<std::string> path = m_model.SampleFileAt(PathOf(item));
        if (path && m_open)
            m_open(*path);
    });
    m_model.SetChangedHandler([this] { Resync(); });
    Resync();
}

CPatchTreeView::~CPatchTreeView() {
    m_model.SetChangedHandler({});
}

TreePath CPatchTreeView::PathOf(const QTreeWidgetItem* item) {
    QVariantList path = item->data(0, kPathRole).toList();
    if (path.size() != 3)
        return {};
    return {path[0].toInt(), path[1].toInt(), path[2].toInt()};
}

QTreeWidgetItem* CPatchTreeView::ItemAt(const TreePath& path) const {
    if (path.patch < 0 || path.patch >= topLevelItemCount())
        return nullptr;
    QTreeWidgetItem* item = topLevelItem(path.patch);
    for (int index : {path.layer, path.sample}) {
        if (index < 0)
            return item;
        if (index >= item->childCount())
            return nullptr;
        item = item->child(index);
    }
    return item;
}

void CPatchTreeView::Refill() {
    // The patches and layers open before stay open.
    std::set<const void*> expanded;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* patchItem = topLevelItem(i);
        if (patchItem->isExpanded())
            expanded.insert(patchItem->data(0, kObjectRole).value<const void*>());
        for (int j = 0; j < patchItem->childCount(); ++j)
            if (patchItem->child(j)->isExpanded())
                expanded.insert(patchItem->child(j)->data(0, kObjectRole).value<const void*>());
    }
    clear();
    const std::vector<PatchTreeItem>& items = m_model.Items();
    for (std::size_t p = 0; p < items.size(); ++p) {
        const int patchIndex = static_cast<int>(p);
        QTreeWidgetItem* patchItem = MakeItem(items[p], {patchIndex, -1, -1});
        patchItem->setData(0, kObjectRole, QVariant::fromValue<const void*>(items[p].patch));
        for (std::size_t l = 0; l < items[p].children.size(); ++l) {
            const PatchTreeItem& layer = items[p].children[l];
            const int layerIndex = static_cast<int>(l);
            QTreeWidgetItem* layerItem = MakeItem(layer, {patchIndex, layerIndex, -1});
            layerItem->setData(0, kObjectRole, QVariant::fromValue<const void*>(layer.layer));
            for (std::size_t s = 0; s < layer.children.size(); ++s)
                layerItem->addChild(
                    MakeItem(layer.children[s], {patchIndex, layerIndex, static_cast<int>(s)}));
            patchItem->addChild(layerItem);
        }
        addTopLevelItem(patchItem);
        patchItem->setExpanded(expanded.count(items[p].patch) > 0);
        for (int j = 0; j < patchItem->childCount(); ++j)
            patchItem->child(j)->setExpanded(
                expanded.count(items[p].children[static_cast<std::size_t>(j)].layer) > 0);
    }
}

void CPatchTreeView::Resync() {
    m_bSyncing = true;
    if (m_nRevision != m_model.Revision()) {
        m_nRevision = m_model.Revision();
        Refill();
    }
    QTreeWidgetItem* selected = ItemAt(m_model.Selection());
    if (selected) {
        for (QTreeWidgetItem* parent = selected->parent(); parent; parent = parent->parent())
            parent->setExpanded(true);
        setCurrentItem(selected);
        scrollToItem(selected);
    } else {
        setCurrentItem(nullptr);
        clearSelection();
    }
    m_bSyncing = false;
}
