#pragma once

#include "diagram/block_diagram.h"

#include <optional>

namespace kestra {

// The zoom of a view of the diagram: its factor, the steps of Zoom In and Zoom Out (about
// 1.25x each, from 10 % to 800 %), the factor that fits a drawing into the view, and the one
// conversion between the view's pixels and window points. A window point is in diagram units
// counted from the scroll position, as the gesture editor takes it, so the editor, the grid and
// the scroll position stay in diagram units at every zoom. The zoom is a view state only: the
// diagram and its record never see it.
class CDiagramZoom {
public:
    static constexpr double kMinimum = 0.1;
    static constexpr double kMaximum = 8.0;
    // Fit to Pane enlarges a small drawing up to this factor.
    static constexpr double kFitMaximum = 2.0;
    // The free space around a fitted drawing, in view pixels.
    static constexpr int kFitMargin = 10;

    double Factor() const { return m_factor; }
    // The factor in whole percent.
    int Percent() const;
    // Clamped to the limits; true when the factor changed.
    bool SetFactor(double factor);
    // The next step up or down from the current factor; false at the limit.
    bool ZoomIn();
    bool ZoomOut();

    // The window point under a view pixel (fractions of a unit belong to the unit below).
    CPixelPoint ToWindow(double viewX, double viewY) const;
    // The view pixel of a window coordinate.
    double ToView(double window) const { return window * m_factor; }
    // Whole diagram units that a view side of `pixels` shows.
    int Units(int pixels) const;
    // The scroll position (diagram units, before clamping) that puts the diagram point
    // (diagramX, diagramY) under the view pixel (viewX, viewY) at the current factor.
    CPixelPoint ScrollKeeping(double diagramX, double diagramY, double viewX, double viewY) const;

    // The factor that shows the drawing with the margin in a view of the size, within the
    // limits and at most kFitMaximum.
    static double FitFactor(const CPixelRect& drawing, int viewWidth, int viewHeight);

private:
    double m_factor = 1.0;
};

// The rectangle that holds every block and line of the diagram; none when it is empty.
std::optional<CPixelRect> DrawingBounds(const CBlockDiagram& diagram);

} // namespace kestra
