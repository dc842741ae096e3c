#include "diagram/diagram_zoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kestra {

namespace {

// The factors of Zoom In and Zoom Out in percent, each about 1.25 times the one before.
constexpr std::array<int, 20> kSteps = {10,  13,  16,  20,  25,  33,  40,  50,  64,  80,
                                        100, 125, 160, 200, 250, 320, 400, 500, 640, 800};

// Two factors closer than this count as one step.
constexpr double kSameStep = 1.01;

} // namespace

int CDiagramZoom::Percent() const {
    return static_cast<int>(std::lround(m_factor * 100.0));
}

bool CDiagramZoom::SetFactor(double factor) {
    const double clamped = std::clamp(factor, kMinimum, kMaximum);
    if (clamped == m_factor)
        return false;
    m_factor = clamped;
    return true;
}

bool CDiagramZoom::ZoomIn() {
    for (const int step : kSteps) {
        if (step / 100.0 > m_factor * kSameStep)
            return SetFactor(step / 100.0);
    }
    return false;
}

bool CDiagramZoom::ZoomOut() {
    // From the largest step down.
    for (std::size_t i = kSteps.size(); i-- > 0;) {
        if (kSteps[i] / 100.0 * kSameStep < m_factor)
            return SetFactor(kSteps[i] / 100.0);
    }
    return false;
}

CPixelPoint CDiagramZoom::ToWindow(double viewX, double viewY) const {
    return {static_cast<int>(std::floor(viewX / m_factor)), static_cast<int>(std::floor(viewY / m_factor))};
}

int CDiagramZoom::Units(int pixels) const {
    return static_cast<int>(std::floor(pixels / m_factor));
}

CPixelPoint CDiagramZoom::ScrollKeeping(double diagramX, double diagramY, double viewX, double viewY) const {
    return {static_cast<int>(std::lround(diagramX - viewX / m_factor)),
            static_cast<int>(std::lround(diagramY - viewY / m_factor))};
}

double CDiagramZoom::FitFactor(const CPixelRect& drawing, int viewWidth, int viewHeight) {
    const double width = std::max(viewWidth - 2 * kFitMargin, 1);
    const double height = std::max(viewHeight - 2 * kFitMargin, 1);
    const double fit = std::min(width / std::max(drawing.Width(), 1), height / std::max(drawing.Height(), 1));
    return std::clamp(fit, kMinimum, kFitMaximum);
}

std::optional<CPixelRect> DrawingBounds(const CBlockDiagram& diagram) {
    std::optional<CPixelRect> bounds;
    auto add = [&bounds](const CPixelRect& r) {
        if (r.IsEmpty())
            return;
        if (!bounds) {
            bounds = r;
            return;
        }
        bounds = CPixelRect{std::min(bounds->left, r.left), std::min(bounds->top, r.top),
                            std::max(bounds->right, r.right), std::max(bounds->bottom, r.bottom)};
    };
    for (const auto& entry : diagram.Blocks().Blocks())
        add(entry.second.rect);
    for (const CRegion::Piece& piece : diagram.Lines().LineRegion().Pieces())
        add(piece.outline.Bounds());
    return bounds;
}

} // namespace kestra
