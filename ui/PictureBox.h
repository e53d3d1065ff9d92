#pragma once
// A picture control: shows one pixmap at its top-left corner, nothing else.
//
// Unlike a QLabel it draws its picture the same way whether it is enabled or
// not, so disabling the board picture at the end of an attempt leaves its
// look unchanged. With auto-size on it takes the pixmap's size (in device
// independent pixels, so a 2x pixmap with device pixel ratio 2 keeps the 1x
// layout).
#include <QPixmap>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr, bool autoSize = true);

    void setPixmap(const QPixmap& pixmap);
    const QPixmap& pixmap() const { return m_pixmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pixmap;
    bool m_autoSize;
};
