#include "ui/layer/LayerFormView.h"

#include "layer/LayerDoc.h"
#include "ui/layer/KeyboardView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
QStringList Listed(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names)
        list << QString::fromStdString(name);
    return list;
}

// The list's items and selection as the model has them.
void ShowList(QListWidget* list, const std::vector<std::string>& names, int selected) {
    const QSignalBlocker blocker(list);
    QStringList wanted = Listed(names);
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    if (shown != wanted) {
        list->clear();
        list->addItems(wanted);
    }
    list->setCurrentRow(selected);
    if (selected < 0)
        list->clearSelection();
}

void ShowText(QLineEdit* box, const std::string& text) {
    if (box->text() == QString::fromStdString(text))
        return;
    box->setText(QString::fromStdString(text));
    // A long comment shows its beginning.
    box->setCursorPosition(0);
}

QLabel* Field(const QString& name) {
    auto* field = new QLabel;
    field->setObjectName(name);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setMinimumWidth(120);
    return field;
}
} // namespace

CLayerFormView::CLayerFormView(CLayerDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_model(doc), m_pKeyboard(new CKeyboardView(m_model)) {
    auto* groups = new QHBoxLayout;
    groups->addWidget(BuildSamplesGroup(), 2);
    groups->addWidget(BuildLayersGroup(), 4);
    groups->addWidget(BuildCacheGroup(), 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pKeyboard);
    layout->addLayout(groups, 1);
    connect(m_pKeyboard, &CKeyboardView::Changed, this, &CLayerFormView::Show);

    m_doc.AddView(this);
    m_model.InitialUpdate();
    Show();
}

CLayerFormView::~CLayerFormView() {
    m_doc.RemoveView(this);
}

void CLayerFormView::OnUpdate(CView*, long hint) {
    if (hint == CLayerDoc::kHistoryHint)
        m_model.OnDocumentRestored();
    Show();
}

QPushButton* CLayerFormView::AddButton(QWidget* group, const QString& text,
                                       void (CLayerFormModel::*handler)()) {
    auto* button = new QPushButton(text, group);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, handler] {
        (m_model.*handler)();
        Show();
    });
    return button;
}

QWidget* CLayerFormView::BuildSamplesGroup() {
    auto* group = new QGroupBox("Samples");
    group->setObjectName("Samples");
    m_pSamples = new QListWidget;
    m_pSamples->setObjectName("samples");
    connect(m_pSamples, &QListWidget::currentRowChanged, this,
            [this](int row) { m_model.SelectSample(row); });
    connect(m_pSamples, &QListWidget::itemDoubleClicked, this, [this] {
        m_model.OnEditSample();
        Show();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddButton(group, "Edit", &CLayerFormModel::OnEditSample));
    buttons->addWidget(AddButton(group, "New", &CLayerFormModel::OnNewSample));
    buttons->addWidget(AddButton(group, "Delete", &CLayerFormModel::OnDeleteSample));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_pSamples, 1);
    layout->addLayout(buttons);
    return group;
}

QWidget* CLayerFormView::BuildLayersGroup() {
    auto* group = new QGroupBox("Layers");
    group->setObjectName("Layers");
    m_pNameField = Field("name");
    m_pLayers = new QListWidget;
    m_pLayers->setObjectName("layers");
    connect(m_pLayers, &QListWidget::currentRowChanged, this, [this](int row) {
        m_model.SelectLayer(row);
        Show();
    });
    m_pLevel = new QLineEdit;
    m_pLevel->setObjectName("level");
    m_pTranspose = new QLineEdit;
    m_pTranspose->setObjectName("transpose");
    m_pIgnoreKeyUp = new QCheckBox("Ignore Key-up");
    m_pComment = new QLineEdit;
    m_pComment->setObjectName("comment");
    for (QLineEdit* box : {m_pLevel, m_pTranspose, m_pComment})
        connect(box, &QLineEdit::textEdited, this, &CLayerFormView::BoxesEdited);
    connect(m_pIgnoreKeyUp, &QCheckBox::clicked, this, &CLayerFormView::BoxesEdited);
    for (QLineEdit* box : {m_pLevel, m_pTranspose})
        box->setMaximumWidth(60);

    auto* settings = new QGridLayout;
    settings->addWidget(m_pLevel, 0, 0);
    settings->addWidget(new QLabel("Level"), 0, 1);
    settings->addWidget(m_pTranspose, 1, 0);
    settings->addWidget(new QLabel("Transpose"), 1, 1);
    settings->addWidget(m_pIgnoreKeyUp, 2, 0, 1, 2);
    settings->addWidget(new QLabel("Comment"), 3, 0, 1, 2);
    settings->addWidget(m_pComment, 4, 0, 1, 2);
    settings->setRowStretch(5, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(AddButton(group, "Save", &CLayerFormModel::OnSave));
    m_pReset = AddButton(group, "Reset", &CLayerFormModel::OnReset);
    buttons->addWidget(m_pReset);
    buttons->addWidget(AddButton(group, "Save as", &CLayerFormModel::OnSaveAs));
    buttons->addWidget(AddButton(group, "Clear", &CLayerFormModel::OnClearLayer));
    buttons->addWidget(AddButton(group, "Delete", &CLayerFormModel::OnDeleteLayer));
    buttons->addStretch(1);

    m_pComment->setMinimumWidth(160);
    auto* columns = new QHBoxLayout;
    columns->addWidget(m_pLayers, 3);
    columns->addLayout(settings, 2);
    columns->addLayout(buttons);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_pNameField);
    layout->addLayout(columns, 1);
    return group;
}

QWidget* CLayerFormView::BuildCacheGroup() {
    auto* group = new QGroupBox("Cache");
    group->setObjectName("Cache");
    m_pCacheField = Field("cache");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddButton(group, "Trim", &CLayerFormModel::OnTrim));
    buttons->addWidget(AddButton(group, "Clear", &CLayerFormModel::OnClearCache));
    auto* note = new QLabel("Note: loops may sound rough or out of tune when played from this window");
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_pCacheField);
    layout->addLayout(buttons);
    layout->addWidget(note);
    layout->addStretch(1);
    return group;
}

QPushButton* CLayerFormView::Button(const QString& group, const QString& text) const {
    auto* box = findChild<QGroupBox*>(group);
    if (!box)
        return nullptr;
    for (QPushButton* button : box->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

void CLayerFormView::BoxesEdited() {
    m_model.EditBoxes({m_pLevel->text().toStdString(), m_pTranspose->text().toStdString(),
                       m_pIgnoreKeyUp->isChecked(), m_pComment->text().toStdString()});
    m_pReset->setEnabled(m_model.IsDirty());
}

void CLayerFormView::Show() {
    ShowList(m_pSamples, m_model.SampleNames(), m_model.SelectedSample());
    ShowList(m_pLayers, m_model.LayerNames(), m_model.SelectedLayer());
    const LayerBoxes& boxes = m_model.Boxes();
    ShowText(m_pLevel, boxes.level);
    ShowText(m_pTranspose, boxes.transpose);
    ShowText(m_pComment, boxes.comment);
    m_pIgnoreKeyUp->setChecked(boxes.ignoreKeyUp);
    m_pNameField->setText(QString::fromStdString(m_model.NameField()));
    m_pCacheField->setText(QString::fromStdString(m_model.CacheText()));
    m_pReset->setEnabled(m_model.IsDirty());
    m_pKeyboard->update();
}
