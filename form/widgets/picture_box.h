#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>

class QSvgRenderer;

// A picture of the window (the sketch, the logos), drawn from a vector resource:
// stretched to the control, or at its own size from the top-left corner and cut off
// at the control's edge.
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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Fit m_fit;
    QSize m_naturalSize;
    QSvgRenderer *m_renderer;
};
