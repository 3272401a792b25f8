#include "dialog/vertical_scroll_bar.h"

namespace dialog {

// Qt counts down the bar from its minimum; holding the negated value puts
// the largest value at the top while the arrows, the keys and the wheel
// keep their usual meaning on screen.
VerticalScrollBar::VerticalScrollBar(int top, int bottom, int value, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent) {
    setRange(-top, -bottom);
    setSingleStep(1);
    setPageStep(1);
    setValue(-value);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QScrollBar::valueChanged, this, [this] { emit Change(); });
}

}  // namespace dialog
