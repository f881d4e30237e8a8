#pragma once

#include "printer.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QString>

class QPagedPaintDevice;

namespace platform {

// The printer object drawn with a QPainter: a scale in centimetres from the printable
// area's corner, fonts measured at a fixed resolution, tab stops and CR LF breaks. Where
// the page goes (a PDF file, a print queue) is the subclass's: it opens the paint
// device at the first output and delivers or discards the document at the end, so
// that every destination gets the same page with the same positions.
class PagePrinter : public Printer
{
public:
    ~PagePrinter() override;

    void setPaperSize(int code) override;
    void setOrientation(int code) override;
    void setCopies(int copies) override;
    void setScaleMode(int code) override;
    void setScaleLeft(float left) override;
    void setScaleTop(float top) override;

    void setFontName(const QString &name) override;
    float FontSize() const override;
    void setFontSize(float points) override;
    void setFontBold(bool bold) override;
    void setFontUnderline(bool underline) override;

    float CurrentX() const override { return m_currentX; }
    void setCurrentX(float x) override { m_currentX = x; }
    float CurrentY() const override { return m_currentY; }
    void setCurrentY(float y) override { m_currentY = y; }

    void Print(const QString &text, bool lineEnd) override;
    void Line(float x1, float y1, float x2, float y2) override;
    void setDrawStyle(int style) override;
    void setDrawWidth(int pixels) override;
    void PaintPicture(const QImage &picture, float x, float y, float width, float height) override;
    float TextWidth(const QString &text) override;
    void EndDoc() override;
    void KillDoc() override;

    // Distance between two tab stops, in centimetres from the scale's origin.
    static constexpr double TabSpacingCm = 1.25;
    // The page is drawn at this resolution, so that texts measure the same before and
    // after the document has begun.
    static constexpr int DeviceDpi = 1200;
    // The title and creator the document carries.
    static const QString DocumentTitle;
    // The printable area of a common office printer, for pages that go to a file.
    static constexpr double OfficeMarginMm = 25.4 * 10 / 72;

protected:
    PagePrinter();

    // The paint device for a new document with the chosen paper, orientation and the
    // destination's margins, at DeviceDpi. Throws PrinterError when there is none.
    virtual QPagedPaintDevice *openDocument() = 0;
    // Hands the finished document on; throws PrinterError when it cannot.
    virtual void deliverDocument() = 0;
    // Throws away what openDocument made.
    virtual void discardDocument() = 0;

    // For a subclass's destructor: a document left open was never finished and must
    // not come out (the base's destructor can no longer reach the subclass).
    void abandonDocument();

    QPageLayout pageLayout(const QMarginsF &marginsMm) const;
    QPageSize::PageSizeId pageSizeId() const { return m_pageSize; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    int copies() const { return m_copies; }

private:
    void beginDocument();
    void closeDocument(bool deliver);
    QPointF toDevice(double x, double y) const;
    double deviceUnitsPerUnit() const;
    double lineHeight() const;
    void lineBreak();
    void drawSegment(const QString &segment);

    QPainter m_painter;
    QPageSize::PageSizeId m_pageSize = QPageSize::A4;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    int m_copies = 1;
    QFont m_font;
    float m_fontSize = 0;
    double m_unitsPerInch = 1440; // twips until a scale mode is chosen
    float m_scaleLeft = 0;
    float m_scaleTop = 0;
    float m_currentX = 0;
    float m_currentY = 0;
    int m_drawStyle = 0;
    int m_drawWidth = 1;
};

// Raises PrinterError with the given reason.
[[noreturn]] void failPrinting(const QString &what);

} // namespace platform
