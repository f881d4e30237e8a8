#include "case_dialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace explore {

CaseDialog::CaseDialog(const CaseDetails &details, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Zaakgegevens"));
    auto *form = new QFormLayout(this);
    auto addLine = [&](const QString &caption, const QString &text, const QString &tip) {
        auto *line = new QLineEdit(text, this);
        line->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
        line->setToolTip(tip);
        line->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        form->addRow(caption, line);
        return line;
    };
    m_title = addLine(QStringLiteral("&Zaak"), details.title,
                      QStringLiteral("De titel van de zaak, bijvoorbeeld het kenmerk van de aanvraag."));
    m_establishment = addLine(QStringLiteral("&Inrichting"), details.establishment,
                              QStringLiteral("Het bedrijf of de inrichting waar het hout ligt opgeslagen."));
    m_address =
        addLine(QStringLiteral("&Adres"), details.address, QStringLiteral("Het adres van de opslag."));
    m_author = addLine(QStringLiteral("&Opgesteld door"), details.author,
                       QStringLiteral("Wie het rapport opstelt."));
    m_date = new QDateEdit(details.date.isValid() ? details.date : QDate::currentDate(), this);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("d MMMM yyyy"));
    m_date->setAccessibleName(QStringLiteral("Datum"));
    form->addRow(QStringLiteral("&Datum"), m_date);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuleren"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

CaseDetails CaseDialog::details() const
{
    return {m_title->text().trimmed(), m_establishment->text().trimmed(), m_address->text().trimmed(),
            m_author->text().trimmed(), m_date->date()};
}

} // namespace explore
