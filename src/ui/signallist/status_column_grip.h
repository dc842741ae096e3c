#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QMouseEvent;
class QWidget;

namespace kestra {

// Lets the user drag the border between a table's row header (the signal list's status
// column) and its first column, as the borders between columns are dragged: at the right edge
// of the row header and of the corner button, and at the left edge of the column header. A row
// header has no border of its own to drag; the grip watches those edges and asks for the new
// width, which `resize` applies (at least `minimum`).
class CStatusColumnGrip : public QObject {
    Q_OBJECT

public:
    enum class Edge { Right, Left };
    using ResizeFunction = std::function<void(int width)>;

    CStatusColumnGrip(QWidget& column, int minimum, ResizeFunction resize, QObject* parent = nullptr);

    // Watches the widget's edge for the drag; its mouse events in the edge are the grip's.
    void Watch(QWidget* widget, Edge edge);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Watched {
        QPointer<QWidget> widget;
        Edge edge;
    };

    bool IsOnEdge(const Watched& watched, const QMouseEvent& event) const;
    bool OnMouse(const Watched& watched, QEvent::Type type, const QMouseEvent& event);

    QWidget& m_column;
    int m_minimum;
    ResizeFunction m_resize;
    std::vector<Watched> m_watched;
    // While a drag runs: where it started and the width then.
    bool m_dragging = false;
    double m_startX = 0;
    int m_startWidth = 0;
};

} // namespace kestra
