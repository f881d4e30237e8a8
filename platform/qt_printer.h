#pragma once

#include "printer.h"

#include <QFont>
#include <QPainter>
#include <QString>

#include <QPageLayout>
#include <QPageSize>

#include <functional>
#include <memory>

class QMarginsF;
class QPrinter;
class QTemporaryFile;

namespace platform {

// What the printer asks of the print server about a queue. Each call throws
// PrinterError when the server says no.
struct PrintServer
{
    // Whether the queue would print a page now: it exists, is enabled and accepts jobs.
    std::function<void(const QString &queue)> checkReady;
    // The queue's printable area on a page of that size and orientation, in millimetres.
    std::function<QMarginsF(const QString &queue, const QPageSize &size, QPageLayout::Orientation)> margins;
    std::function<void(const QString &queue, const QString &pdfFile, const QString &title, int copies,
                       const QString &media)>
        submitPdf;
};

// The print server of the machine: CUPS.
PrintServer cupsPrintServer();

// The printer object on Qt: a QPrinter for the system's default printer or for a PDF
// file, drawn with a QPainter in centimetres from the printable area's corner. The
// document is begun at the first output and released at EndDoc.
class QtPrinter : public Printer
{
public:
    QtPrinter();                                         // the system's default printer
    explicit QtPrinter(const QString &pdfFile);          // a PDF file instead of paper
    QtPrinter(const QString &queue, PrintServer server); // a queue of that server
    ~QtPrinter() override;

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
    QString DeviceName() const override;
    void EndDoc() override;
    void KillDoc() override;

    // Distance between two tab stops, in centimetres from the scale's origin.
    static constexpr double TabSpacingCm = 1.25;

private:
    void beginDocument();
    void closeDocument(bool deliver);
    QPointF toDevice(double x, double y) const;
    double deviceUnitsPerUnit() const;
    double lineHeight() const;
    void lineBreak();
    void drawSegment(const QString &segment);

    // The page is drawn into a spool file first: Qt cannot abandon a page once
    // begun (QPrinter::abort does nothing for PDF and CUPS output), so KillDoc
    // throws the spool file away and EndDoc hands it on.
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QTemporaryFile> m_spool;
    QPainter m_painter;
    QString m_queue; // the default printer's queue; empty when writing a PDF file
    PrintServer m_server;
    QString m_pdfFile; // the PDF file written instead of paper
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

// The printer object of "Print": the system's default printer.
std::unique_ptr<Printer> makeDefaultPrinter();

} // namespace platform
