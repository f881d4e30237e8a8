#pragma once

#include <QDate>
#include <QString>

namespace explore {

// What a report says about the case it belongs to, as the user enters it in the window
// ("Zaakgegevens"); a case file fills the same fields.
struct CaseDetails
{
    QString title;         // the case's title
    QString establishment; // "inrichting": the establishment the storage belongs to
    QString address;
    QString author; // who drew up the report
    QDate date;     // the report's date; today when not set
};

} // namespace explore
