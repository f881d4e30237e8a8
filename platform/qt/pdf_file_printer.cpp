#include "pdf_file_printer.h"

#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

QString replaceFile(const QString &finished, const QString &target)
{
    const QFileInfo existing(target);
    if ((existing.exists() || existing.isSymLink()) && (!existing.isFile() || existing.isSymLink()))
        return QStringLiteral("%1 is not a regular file").arg(target);
    const QByteArray from = QFile::encodeName(finished);
    const QByteArray to = QFile::encodeName(target);
    // The data on disk before the name points at it.
    const int fd = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        return QString::fromLocal8Bit(std::strerror(error));
    }
    ::close(fd);
    if (std::rename(from.constData(), to.constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

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
    const QFileInfo target(m_file);
    auto spool = std::make_unique<QTemporaryFile>(target.absolutePath() + '/' + target.fileName()
                                                  + QStringLiteral(".XXXXXX"));
    if (!spool->open())
        failPrinting(QStringLiteral("cannot write %1: %2").arg(m_file, spool->errorString()));

    auto writer = std::make_unique<QPdfWriter>(spool.get());
    writer->setResolution(DeviceDpi);
    writer->setTitle(DocumentTitle);
    writer->setCreator(DocumentTitle);
    const double margin = OfficeMarginMm;
    writer->setPageLayout(pageLayout(QMarginsF(margin, margin, margin, margin)));
    m_spool = std::move(spool);
    m_writer = std::move(writer);
    return m_writer.get();
}

void PdfFilePrinter::deliverDocument()
{
    m_writer.reset();
    const bool flushed = !m_spool->isOpen() || m_spool->flush();
    QString error = flushed ? QString() : m_spool->errorString();
    m_spool->close();
    if (flushed)
        error = replaceFile(m_spool->fileName(), m_file);
    if (error.isEmpty())
        m_spool->setAutoRemove(false); // it is the target now
    m_spool.reset();
    if (!error.isEmpty())
        failPrinting(QStringLiteral("cannot write %1: %2").arg(m_file, error));
}

void PdfFilePrinter::discardDocument()
{
    m_writer.reset();
    m_spool.reset(); // removes the temporary file
}

} // namespace platform
