#pragma once

#include <QWidget>

// A captioned frame drawn as the window's frames look: an etched rectangle whose top
// edge runs through the middle of a plain (not bold) caption. Children are placed
// from the frame's top-left corner, caption included.
class FrameBox : public QWidget
{
    Q_OBJECT

public:
    explicit FrameBox(const QString &caption, QWidget *parent = nullptr);

    // Where the caption is drawn, on the window's ground over the frame's top edge.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};
