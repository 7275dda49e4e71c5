#pragma once

#include "sample/SampleDoc.h"
#include "ui/wave/SampleFrame.h"
#include "ui/wave/SampleView1.h"
#include "ui/wave/SampleView2.h"

#include <QApplication>
#include <QtTest>

#include <cmath>
#include <memory>

// A sample of `frames` frames at `rate`, a 441 Hz sine unless silent; start 0, stop at the end,
// no loop, the whole sample displayed.
inline std::unique_ptr<CSampleDoc> MakeSample(std::uint32_t frames, std::uint32_t rate = 44100,
                                              bool sine = false) {
    auto doc = std::make_unique<CSampleDoc>();
    auto data = std::make_unique<std::int16_t[]>(frames);
    if (sine)
        for (std::uint32_t i = 0; i < frames; ++i)
            data[i] = static_cast<std::int16_t>(12000 * std::sin(i * 2 * 3.14159265358979 * 441.0 / rate));
    doc->SetData(std::move(data), frames, rate);
    doc->m_nLength = frames;
    doc->m_dPitch = 440.0;
    doc->SetModifiedFlag(false);
    return doc;
}

// A shown wave editor window, big enough for a pixel to every column of up to 1200.
inline std::unique_ptr<CSampleFrame> ShowFrame(std::unique_ptr<CSampleDoc> doc) {
    auto frame = std::make_unique<CSampleFrame>(std::move(doc));
    frame->resize(1300, 700);
    frame->show();
    if (!QTest::qWaitForWindowExposed(frame.get()))
        qWarning("the window was not exposed");
    frame->SplitRows();
    QApplication::processEvents();
    return frame;
}

// The client pixel of a logical column under a stretched mapping.
inline int PixelOfColumn(const SurfaceMapping& mapping, int column) {
    // Rounded up, so that the pixel maps back to the column when pixels outnumber columns.
    return static_cast<int>(
        (static_cast<long long>(column) * mapping.viewportExt.x + mapping.windowExt.x - 1) /
        mapping.windowExt.x);
}

inline QPoint ViewPoint(const CSampleView1& view, int column) {
    return {PixelOfColumn(view.Model().Mapping(), column), view.height() / 2};
}

inline QPoint StripPoint(const CSampleView2& strip, int column) {
    return {PixelOfColumn(strip.Model().Mapping(), column), strip.height() / 2};
}
