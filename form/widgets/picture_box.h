#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QWidget>

class QSvgRenderer;

// A picture of the window (the sketch, the logos), drawn from a vector resource:
// stretched to the control, or at its own size from the top-left corner and cut off
// at the control's edge. On screen it shows a rendering the build made at that size
// when there is one (name-WIDTHxHEIGHT.pixels or .png beside the drawing, in device
// pixels), else it draws the vectors once; the drawing is only read when needed.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    enum class Fit { Stretch, TopLeft };

    PictureBox(const QString &resource, Fit fit, QSize naturalSize, QWidget *parent = nullptr);

    bool hasPicture() const;
    // The picture at its own size on a transparent ground, drawn `scale` times finer
    // (the device pixel ratio says so) for sharp printing; null when there is none.
    QImage image(int scale = 1) const;
    // Where the picture shown now comes from: the build's rendering for this size, or the
    // vectors drawn here (or nothing yet); for tests.
    bool shownFromRendering() const { return m_shownFromRendering; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer *renderer() const;
    QImage picture(QSize devicePixels) const;

    QString m_resource;
    Fit m_fit;
    QSize m_naturalSize;
    mutable QSvgRenderer *m_renderer = nullptr;
    mutable QImage m_shown; // the last picture shown, for repaints at the same size
    mutable bool m_shownFromRendering = false;
};

// A picture the build keeps as bare pixels (a .pixels file, written by render_icon): a
// 16-byte header of four 32-bit little-endian numbers (the tag "WGPX", the width, the
// height and QImage::Format_ARGB32_Premultiplied), then the rows without padding, each
// pixel a 32-bit number in the machine's byte order. A picture among the program's own
// resources is shown from there without a copy. Null when the file is missing, damaged or
// of another kind.
QImage readPixels(const QString &path);
