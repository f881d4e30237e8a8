#pragma once

#include "site.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QLabel;

namespace explore {

// What the user typed for the two points clicked on a raster or PDF underlay: their
// distance (the scale alone), or their coordinates on the site (scale, rotation and
// position).
struct PlacementAnswer
{
    bool byDistance = true;
    double distance = 0; // m
    engine::SitePoint first;
    engine::SitePoint second;
};

// "Onderlegger plaatsen": asks the distance between the two points or their site
// coordinates; OK is refused with a Dutch line beside the fields while a number is wrong.
class UnderlayDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UnderlayDialog(QWidget *parent = nullptr);

    PlacementAnswer answer() const { return m_answer; }
    QLineEdit *distanceEdit() const { return m_distance; }
    QRadioButton *coordinatesChoice() const { return m_byCoordinates; }
    QLineEdit *coordinateEdit(int index) const { return m_coordinates[index]; }

    void accept() override;

private:
    void choiceChanged();

    QRadioButton *m_byDistance = nullptr;
    QRadioButton *m_byCoordinates = nullptr;
    QLineEdit *m_distance = nullptr;
    QLineEdit *m_coordinates[4] {};
    QLabel *m_error = nullptr;
    PlacementAnswer m_answer;
};

} // namespace explore
