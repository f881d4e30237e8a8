#include "qt_printer.h"

#include "cups_queue.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

namespace platform {

QtPrinter::QtPrinter()
    : m_queue(QPrinterInfo::defaultPrinter().printerName())
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
    const QPrinterInfo info = QPrinterInfo::printerInfo(m_queue);
    if (m_queue.isEmpty() || info.isNull())
        failPrinting(QStringLiteral("no default printer"));
    cups_queue::checkReady(m_queue);
    // The printable area is the printer's own.
    QPrinter probe(info, QPrinter::HighResolution);
    probe.setPageSize(QPageSize(pageSizeId()));
    probe.setPageOrientation(orientation());
    const QMarginsF margins = probe.pageLayout().margins(QPageLayout::Millimeter);

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
    cups_queue::submitPdf(m_queue, spool->fileName(), DocumentTitle, copies(), QPageSize(pageSizeId()).key());
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
