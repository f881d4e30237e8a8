#include "qt_printer.h"

#include "cups_queue.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

namespace platform {

PrintServer cupsPrintServer()
{
    PrintServer server;
    server.checkReady = cups_queue::checkReady;
    server.margins = [](const QString &queue, const QPageSize &size, QPageLayout::Orientation orientation) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(queue);
        if (info.isNull())
            throw PrinterError(QStringLiteral("printer %1 is not available").arg(queue).toStdString());
        QPrinter probe(info, QPrinter::HighResolution);
        probe.setPageSize(size);
        probe.setPageOrientation(orientation);
        return probe.pageLayout().margins(QPageLayout::Millimeter);
    };
    server.submitPdf = cups_queue::submitPdf;
    return server;
}

QtPrinter::QtPrinter()
    : QtPrinter(QPrinterInfo::defaultPrinter().printerName(), cupsPrintServer())
{ }

QtPrinter::QtPrinter(const QString &queue, PrintServer server)
    : m_queue(queue)
    , m_server(std::move(server))
{ }

QtPrinter::~QtPrinter()
{
    abandonDocument();
}

QString QtPrinter::DeviceName() const
{
    return m_queue;
}

QPagedPaintDevice *QtPrinter::openDocument()
{
    if (m_queue.isEmpty() || !m_server.checkReady)
        failPrinting(QStringLiteral("no default printer"));
    m_server.checkReady(m_queue);
    // The printable area is the printer's own.
    const QMarginsF margins = m_server.margins(m_queue, QPageSize(pageSizeId()), orientation());

    auto spool =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/warmtegloed-XXXXXX.pdf"));
    if (!spool->open())
        failPrinting(QStringLiteral("cannot write %1: %2").arg(spool->fileTemplate(), spool->errorString()));
    spool->close();

    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(DeviceDpi);
    printer->setOutputFileName(spool->fileName());
    printer->setDocName(DocumentTitle);
    printer->setCreator(DocumentTitle);
    printer->setPageLayout(pageLayout(margins));
    printer->setFullPage(false);
    m_spool = std::move(spool);
    m_printer = std::move(printer);
    return m_printer.get();
}

void QtPrinter::deliverDocument()
{
    // The spool file goes when the queue has it, or has refused it.
    m_printer.reset();
    const auto spool = std::move(m_spool);
    // The queue may have stopped or gone while the user read where the page goes; a page
    // held there would come out whenever someone restarts it, so it is dropped.
    m_server.checkReady(m_queue);
    m_server.submitPdf(m_queue, spool->fileName(), DocumentTitle, copies(), QPageSize(pageSizeId()).key());
}

void QtPrinter::discardDocument()
{
    m_printer.reset();
    m_spool.reset(); // removes the spool file
}

std::unique_ptr<Printer> makeDefaultPrinter()
{
    return std::make_unique<QtPrinter>();
}

} // namespace platform
