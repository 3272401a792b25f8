// A picture box shown on a form: the widget paints the box's image.
#pragma once

#include <QWidget>

#include "runtime/picture_box.h"

namespace dialog {

class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    platform::PictureBox& box() { return box_; }
    const platform::PictureBox& box() const { return box_; }
    // Call after drawing into the box so the widget shows it.
    void refresh() { update(); }
    // Sizes the box to the widget's geometry (also before the widget is shown).
    void fitBox();
    // Keeps the box at `pixels` whatever the widget's size, drawn stretched
    // over the widget: the box's contents keep their place in a larger view.
    void setBoxSize(QSize pixels);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    platform::PictureBox box_{platform::ScaleMode::Twips};
    QSize fixedBox_;
};

}  // namespace dialog
