#include "pdf_file_printer.h"

#include "safe_file.h"

#include <QFileInfo>
#include <QPdfWriter>

namespace platform {

PdfFilePrinter::PdfFilePrinter(const QString &file)
    : m_file(file)
{ }

PdfFilePrinter::~PdfFilePrinter()
{
    abandonDocument();
}

QString PdfFilePrinter::DeviceName() const
{
    return QFileInfo(m_file).fileName();
}

QPagedPaintDevice *PdfFilePrinter::openDocument()
{
    m_fileError.clear();
    m_document.setData(QByteArray());
    if (!m_document.open(QIODevice::WriteOnly))
        failPrinting(QStringLiteral("cannot compose %1").arg(m_file));
    auto writer = std::make_unique<QPdfWriter>(&m_document);
    writer->setResolution(DeviceDpi);
    writer->setTitle(DocumentTitle);
    writer->setCreator(DocumentTitle);
    const double margin = OfficeMarginMm;
    writer->setPageLayout(pageLayout(QMarginsF(margin, margin, margin, margin)));
    m_writer = std::move(writer);
    return m_writer.get();
}

void PdfFilePrinter::deliverDocument()
{
    m_writer.reset(); // finishes the document
    m_document.close();
    const QByteArray pdf = m_document.data();
    m_document.setData(QByteArray());
    if (!SafeFile::write(m_file, pdf, &m_fileError))
        failPrinting(m_fileError);
}

void PdfFilePrinter::discardDocument()
{
    m_writer.reset();
    m_document.close();
    m_document.setData(QByteArray());
}

} // namespace platform
