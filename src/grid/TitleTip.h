#pragma once

#include "grid/core/GridTypes.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <string>

namespace orvalis {

// A small bordered popup that shows a cell's whole text over the cell when it does not
// fit. It never takes the keyboard, and a click on it is handed to the window beneath,
// so it swallows no input. Lives as long as the grid that made it.
class CTitleTip : public QWidget {
    Q_OBJECT

public:
    // parentWnd: the window whose client coordinates callers use (the grid's cell area).
    explicit CTitleTip(QWidget* parentWnd);

    // Shows text over titleRect (parent coordinates) when it does not fit there; xOffset
    // is the text's inset in titleRect. hoverRect (titleRect when null) is where the
    // pointer may move without hiding the tip; font null means the parent's font. A tip
    // already shown only takes the new hoverRect.
    void Show(const QRect& titleRect, const std::string& text, int xOffset = 0,
              const QRect* hoverRect = nullptr, const LogFont* font = nullptr);
    void Hide();
    // The area that keeps the tip, in the parent's coordinates.
    QRect HoverRect() const { return m_hoverRect; }
    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Hides the tip and posts the event, in the coordinates of the window under its
    // screen point, to that window (the parent when there is none).
    void PassOn(QMouseEvent* event);

    QPointer<QWidget> m_parentWnd;
    QRect m_hoverRect;
    QString m_text;  // displayed text: a space, the cell text, a space
    QFont m_font;
};

} // namespace orvalis
