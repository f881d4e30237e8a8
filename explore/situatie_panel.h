#pragma once

#include "situatie_compute.h"
#include "situatie_model.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTableWidget;

namespace explore {

// The numbers of the Situatie beside its map: the site's limit, envelope and heights; the
// selected storage, receiver or boundary polyline, each number in a field that edits it
// (Enter or leaving the field makes it one undo step); the underlay's file, state and
// opacity; and what the site engine answers: the verdict, the faces' table (required and
// available distance) and the receivers' table.
class SituatiePanel : public QWidget
{
    Q_OBJECT

public:
    explicit SituatiePanel(SituatieModel *model, QWidget *parent = nullptr);
    ~SituatiePanel() override;

    void setResult(std::shared_ptr<const SituatieResult> result);
    // What became of the underlay's file (empty: all is well).
    void setUnderlayStatus(const QString &status);
    QString underlayStatus() const;

    QTableWidget *facesTable() const { return m_faces; }
    QTableWidget *receiversTable() const { return m_receivers; }
    QTableWidget *pointsTable() const { return m_points; }
    // The field of a number by its caption ("Breedte"), for tests and mnemonics; null when none.
    QLineEdit *field(const QString &caption) const;
    QSlider *opacitySlider() const { return m_opacity; }

signals:
    void refused(const QString &reason);
    void openUnderlayRequested();
    void placeUnderlayRequested();
    void removeUnderlayRequested();

private:
    struct NumberField;
    struct TextField;

    QGroupBox *buildSiteGroup();
    QGroupBox *buildStorageGroup();
    QGroupBox *buildReceiverGroup();
    QGroupBox *buildBoundaryGroup();
    QGroupBox *buildUnderlayGroup();
    QGroupBox *buildAnswersGroup();
    QLineEdit *addNumber(QGroupBox *group, const QString &caption, const QString &unit, double minimum,
                         double maximum, std::function<double *(SituatieState &)> value, int row);
    QLineEdit *addText(QGroupBox *group, const QString &caption,
                       std::function<std::string *(SituatieState &)> value, int row);
    QCheckBox *addCheck(QGroupBox *group, const QString &caption,
                        std::function<bool *(SituatieState &)> value, int row);
    void commitNumber(const NumberField &field);
    void commitText(const TextField &field);
    void commitPoint(int row, int column);
    void editScreen();
    void refresh();
    void refreshAnswers();
    void tell(const QString &message);
    engine::SiteStorage *selectedStorage(SituatieState &state) const;
    engine::SiteReceiver *selectedReceiver(SituatieState &state) const;
    std::vector<engine::SitePoint> *selectedPolyline(SituatieState &state) const;
    engine::FaceScreen *selectedScreen(SituatieState &state) const;

    SituatieModel *m_model;
    std::shared_ptr<const SituatieResult> m_result;
    std::vector<std::unique_ptr<NumberField>> m_numbers;
    std::vector<std::unique_ptr<TextField>> m_texts;
    std::vector<std::pair<QCheckBox *, std::function<bool *(SituatieState &)>>> m_checks;
    QGroupBox *m_storageGroup = nullptr;
    QGroupBox *m_receiverGroup = nullptr;
    QGroupBox *m_boundaryGroup = nullptr;
    QGroupBox *m_underlayGroup = nullptr;
    QComboBox *m_screenFace = nullptr;
    QCheckBox *m_screen = nullptr;
    QTableWidget *m_points = nullptr;
    QLabel *m_boundaryLength = nullptr;
    QLabel *m_underlayName = nullptr;
    QLabel *m_underlayStatus = nullptr;
    QSlider *m_opacity = nullptr;
    QPushButton *m_place = nullptr;
    QLabel *m_message = nullptr;
    QLabel *m_verdict = nullptr;
    QTableWidget *m_faces = nullptr;
    QTableWidget *m_receivers = nullptr;
    bool m_refreshing = false;
};

} // namespace explore
