#pragma once

#include "page_printer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>

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

// The printer object of "Print": the page on the printable area of the system's default
// printer, spooled as PDF and handed to that printer's CUPS queue at EndDoc.
class QtPrinter : public PagePrinter
{
public:
    QtPrinter();                                         // bound to the default printer of this moment
    QtPrinter(const QString &queue, PrintServer server); // a queue of that server
    ~QtPrinter() override;

    QString DeviceName() const override;

protected:
    QPagedPaintDevice *openDocument() override;
    void deliverDocument() override;
    void discardDocument() override;

private:
    // The page is drawn into a spool file first: Qt cannot abandon a page once begun
    // (QPrinter::abort does nothing for PDF and CUPS output), so KillDoc throws the
    // spool file away and EndDoc hands it to the queue.
    QString m_queue;
    PrintServer m_server;
    std::unique_ptr<QTemporaryFile> m_spool;
    std::unique_ptr<QPrinter> m_printer;
};

// The printer object of "Print": the system's default printer.
std::unique_ptr<Printer> makeDefaultPrinter();

} // namespace platform
