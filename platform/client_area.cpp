// The client area's backing store: what handlers draw stays in an image, shown on the
// screen at the screen's pace.
#include "client_area.h"

#include "frame_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kFrameIntervalMs = 16;
}

ClientArea::ClientArea(FrameWidget* frame) : QWidget(frame), m_frame(frame)
{
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel comes from the image
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setInterval(kFrameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, [this] {
        update(m_dirty);
        m_dirty = QRect();
    });
}

void ClientArea::MarkDirty(const QRect& rect)
{
    if (rect.isEmpty())
        return;
    m_dirty |= rect;
    if (!m_frameTimer.isActive())
        m_frameTimer.start();
}

// A repaint erases to the window colour, then the paint handler writes what it writes.
void ClientArea::PaintIfPending()
{
    if (!m_paintPending)
        return;
    m_paintPending = false;
    m_image.fill(Qt::white);
    m_frame->Deliver(MessageKind::Paint, {});
    update();
}

void ClientArea::paintEvent(QPaintEvent* event)
{
    PaintIfPending();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
}

void ClientArea::resizeEvent(QResizeEvent*)
{
    m_image = QImage(size(), QImage::Format_RGB32);
    m_image.fill(Qt::white);
    m_paintPending = true;
    update();
}

void ClientArea::mousePressEvent(QMouseEvent* event)
{
    MessageArgs args;
    args.point = {event->position().toPoint().x(), event->position().toPoint().y()};
    if (event->button() == Qt::LeftButton)
        m_frame->Deliver(MessageKind::LButtonDown, args);
    else if (event->button() == Qt::RightButton)
        m_frame->Deliver(MessageKind::RButtonDown, args);
}

// A second press reported as a double click is not a press.
void ClientArea::mouseDoubleClickEvent(QMouseEvent*) {}
