#include "case_mapping.h"

namespace explore {

ExplorationInput InputOf(const casefile::Calculation &calculation)
{
    ExplorationInput input;
    input.storage = calculation.input;
    input.limitKw = calculation.limit;
    input.envelope = calculation.envelope;
    return input;
}

casefile::Calculation CalculationOf(const ExplorationInput &input)
{
    casefile::Calculation calculation;
    calculation.input = input.storage;
    calculation.limit = input.limitKw;
    calculation.envelope = input.envelope;
    return calculation;
}

bool SameCalculation(const casefile::Calculation &a, const casefile::Calculation &b)
{
    const engine::CalculationInput &s = a.input;
    const engine::CalculationInput &t = b.input;
    return s.B == t.B && s.D == t.D && s.H == t.H && s.x == t.x && s.y == t.y && s.heights == t.heights
        && s.indoor == t.indoor && s.compact == t.compact && s.screen == t.screen && s.hs == t.hs
        && s.xs == t.xs && s.K == t.K && a.limit == b.limit && a.envelope == b.envelope;
}

bool SameMeta(const casefile::Meta &a, const casefile::Meta &b)
{
    return a.title == b.title && a.establishment == b.establishment && a.address == b.address
        && a.author == b.author && a.notes == b.notes && a.date == b.date;
}

CaseDetails DetailsOf(const casefile::Meta &meta)
{
    CaseDetails details;
    details.title = QString::fromStdString(meta.title);
    details.establishment = QString::fromStdString(meta.establishment);
    details.address = QString::fromStdString(meta.address);
    details.author = QString::fromStdString(meta.author);
    details.date = QDate::fromString(QString::fromStdString(meta.date), Qt::ISODate);
    return details;
}

casefile::Meta MetaOf(const casefile::Meta &before, const CaseDetails &details)
{
    casefile::Meta meta = before;
    meta.title = details.title.toStdString();
    meta.establishment = details.establishment.toStdString();
    meta.address = details.address.toStdString();
    meta.author = details.author.toStdString();
    if (details.date != DetailsOf(before).date)
        meta.date = details.date.isValid() ? details.date.toString(Qt::ISODate).toStdString() : std::string();
    return meta;
}

} // namespace explore
