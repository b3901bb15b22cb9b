// The client area of a frame window and its backing image.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string_view>

class FrameWidget;

// The client area: keeps what was drawn on it in an image until the next repaint.
class ClientArea : public QWidget {
public:
    explicit ClientArea(FrameWidget* frame);

    QImage& Image() { return m_image; }
    // Shows the given part of the image on the screen at the next frame.
    void MarkDirty(const QRect& rect);
    void PaintIfPending();
    // Tells the watcher, if any, of a text written on the area.
    void TextWritten(int x, int y, std::string_view text) const
    {
        if (m_textHook)
            m_textHook(x, y, text);
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    FrameWidget* m_frame;
    QImage m_image;
    bool m_paintPending = false;
    QRect m_dirty;
    QTimer m_frameTimer; // paces screen updates, so drawing never waits for the screen
    std::function<void(int, int, std::string_view)> m_textHook;

    friend class PlatformTestAccess;
};
