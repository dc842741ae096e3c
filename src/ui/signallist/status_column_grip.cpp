#include "signallist/status_column_grip.h"

#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kestra {

namespace {

// How near the border a press grabs it, in pixels on either side.
constexpr int kGripWidth = 4;

} // namespace

CStatusColumnGrip::CStatusColumnGrip(QWidget& column, int minimum, ResizeFunction resize, QObject* parent)
    : QObject(parent), m_column(column), m_minimum(minimum), m_resize(std::move(resize)) {}

void CStatusColumnGrip::Watch(QWidget* widget, Edge edge) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    m_watched.push_back({widget, edge});
}

bool CStatusColumnGrip::IsOnEdge(const Watched& watched, const QMouseEvent& event) const {
    const double x = event.position().x();
    return watched.edge == Edge::Left ? x < kGripWidth : x >= watched.widget->width() - kGripWidth;
}

bool CStatusColumnGrip::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    const auto found = std::find_if(m_watched.begin(), m_watched.end(),
                                    [watched](const Watched& entry) { return entry.widget == watched; });
    return found != m_watched.end() && OnMouse(*found, type, *static_cast<QMouseEvent*>(event));
}

bool CStatusColumnGrip::OnMouse(const Watched& watched, QEvent::Type type, const QMouseEvent& event) {
    if (m_dragging) {
        const int width = m_startWidth + static_cast<int>(std::lround(event.globalPosition().x() - m_startX));
        m_resize(std::max(width, m_minimum));
        if (type == QEvent::MouseButtonRelease)
            m_dragging = false;
        return true;
    }
    const bool onEdge = IsOnEdge(watched, event);
    if (type == QEvent::MouseMove && event.buttons() == Qt::NoButton) {
        // The widget's own cursor elsewhere: a column header shows it over its borders.
        if (onEdge)
            watched.widget->setCursor(Qt::SplitHCursor);
        else
            watched.widget->unsetCursor();
        return onEdge;
    }
    if (!onEdge || event.button() != Qt::LeftButton)
        return false;
    if (type == QEvent::MouseButtonPress) {
        m_dragging = true;
        m_startX = event.globalPosition().x();
        m_startWidth = m_column.width();
    }
    return true;
}

} // namespace kestra
