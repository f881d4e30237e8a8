#pragma once

#include "case_details.h"

#include <QDialog>

class QDateEdit;
class QLineEdit;

namespace explore {

// "Zaakgegevens": the case's title, establishment, address, author and date that the
// report prints on its first page.
class CaseDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CaseDialog(const CaseDetails &details, QWidget *parent = nullptr);

    CaseDetails details() const;

private:
    QLineEdit *m_title = nullptr;
    QLineEdit *m_establishment = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_author = nullptr;
    QDateEdit *m_date = nullptr;
};

} // namespace explore
