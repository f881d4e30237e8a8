#include "report_pdf.h"

#include "calculation_report.h"
#include "qt_printer.h"
#include "safe_file.h"

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <cstring>

namespace cli {

namespace {

// The black logo the window's Picture1 holds (102 x 43 pixels), drawn four times as
// fine so that it stays sharp on paper.
QImage reportLogo()
{
    QImage logo(4 * 102, 4 * 43, QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/pictures/logo_black.svg"));
    QPainter painter(&logo);
    renderer.render(&painter);
    return logo;
}

} // namespace

bool wantsPdf(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            return false;
        for (const char *form : {"--pdf", "-pdf"}) {
            const std::size_t n = std::strlen(form);
            if (std::strncmp(arg, form, n) == 0 && (arg[n] == '\0' || arg[n] == '='))
                return true;
        }
    }
    return false;
}

bool writeReportPdf(const QString &file, const engine::CalculationInput &input,
                    const engine::CalculationState &state, const engine::CalculationResult &result,
                    QString *error)
{
    report::ReportInput page;
    page.state = &state;
    page.Check1 = input.screen;
    page.Check2 = input.compact;
    page.Check3 = input.indoor;
    page.enteredWidth = input.B;
    page.heights = input.heights;
    // As in the window, the indoor calculation writes its assessment height back.
    if (result.firstHeightWritten)
        page.heights[0] = result.firstHeight;
    for (std::size_t i = 0; i < result.texts.size() && i < page.levelTexts.size(); ++i)
        page.levelTexts[i] = QString::fromStdString(result.texts[i]);
    page.logo = reportLogo();
    page.decimalSeparator = '.';
    page.printedAt = QDateTime::currentDateTime();

    // The page is finished in a private folder first; only the whole document goes to
    // the user's file, and only through SafeFile.
    QTemporaryDir work;
    const QString drawn = work.filePath(QStringLiteral("rapport.pdf"));
    bool printed = false;
    if (work.isValid()) {
        platform::QtPrinter printer(drawn);
        printed = report::printCalculationReport(page, printer, nullptr);
    }
    QFile document(drawn);
    if (!printed || !document.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Het rapport voor '%1' kon niet worden opgemaakt.").arg(file);
        return false;
    }
    return platform::SafeFile::write(file, document.readAll(), error);
}

} // namespace cli
