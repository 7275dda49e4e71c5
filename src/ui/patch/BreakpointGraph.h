#pragma once

#include "ui/patch/BreakpointGraphModel.h"

#include <QWidget>

#include <cstdint>
#include <vector>

// The graph on which envelopes and curves are drawn: a click adds a point, a drag moves it, a
// right-button drag moves it one unit per pixel, a double click removes it. The owner sets the
// ranges and points, hears about every change through its callback, and reads the points back.
class CBreakpointGraph : public QWidget {
    Q_OBJECT
public:
    using NotifyFunction = CBreakpointGraphModel::NotifyFunction;

    explicit CBreakpointGraph(QWidget* parent = nullptr);

    // Shows and edits `model` instead of a model of its own: an owner that keeps its curve in a
    // model (a page without its window) hands it over. The model must outlive the graph's use.
    void ShareModel(CBreakpointGraphModel& model);

    // Takes the place, size and name of the placeholder widget (which is destroyed) and makes
    // `notify` the receiver of the notifications.
    void Attach(QWidget* placeholder, NotifyFunction notify);
    // The same for the owner's child called `itemName`; false when the owner has no such child.
    bool Attach(QWidget* owner, const QString& itemName, NotifyFunction notify);

    void SetXRange(std::int32_t low, std::int32_t high, std::int32_t step);
    void SetYRange(std::int32_t low, std::int32_t high, std::int32_t step);

    void SetPointCount(int count);
    int GetPointCount() const { return m_pModel->GetPointCount(); }
    void SetPoint(int index, std::int32_t x, std::int32_t y);
    // Packed as the model packs them: unpack with CBreakpointGraphModel::PointX / PointY.
    const std::vector<std::uint32_t>& GetPoints() const { return m_pModel->GetPoints(); }
    std::int32_t GetPointX(int index) const { return PackedX(m_pModel->GetPoint(index)); }
    std::int32_t GetPointY(int index) const { return PackedY(m_pModel->GetPoint(index)); }
    void SetMaxPoints(int maxPoints) { m_pModel->SetMaxPoints(maxPoints); }

    const CBreakpointGraphModel& Model() const { return *m_pModel; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    SurfacePoint PixelOf(const QMouseEvent* event);
    void RepaintIf(bool needed);

    CBreakpointGraphModel m_model;
    CBreakpointGraphModel* m_pModel = &m_model;
};
