// A vertical scroll bar whose larger value sits at the top end, as the
// dialog's scroll bars were designed: `Min` is the top-end value, `Max` the
// bottom-end value, and the upper arrow raises `Value`.
#pragma once

#include <QScrollBar>

namespace dialog {

class VerticalScrollBar : public QScrollBar {
    Q_OBJECT
public:
    VerticalScrollBar(int top, int bottom, int value, QWidget* parent = nullptr);

    int Value() const { return -value(); }
    // Changing the value, from code or by the user, emits Change once; setting
    // the value it already has emits nothing.
    void setValue_(int v) { setValue(-v); }
    int Min() const { return -minimum(); }
    void setMin(int top) { setMinimum(-top); }
    int Max() const { return -maximum(); }
    // A value below the new bottom end is raised to it (and emits Change).
    void setMax(int bottom) { setMaximum(-bottom); }

signals:
    void Change();
};

}  // namespace dialog
