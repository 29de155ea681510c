// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "surface/drawing_surface.h"

#include <QWidget>

namespace lumetra::controls {

// A top-level window whose whole client area is a retained drawing surface;
// its controls lie on top. Repainting only copies the kept image, so it costs
// the same whatever has been drawn.
class SurfaceWindow : public QWidget {
public:
    explicit SurfaceWindow(QWidget* parent = nullptr);

    surface::DrawingSurface& surface() { return surface_; }
    const surface::DrawingSurface& surface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void followClientArea();

    surface::DrawingSurface surface_;
};

} // namespace lumetra::controls
