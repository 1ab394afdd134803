// The measurement manager: the list of dimensions, "Löschen", and the current one's settings.
#pragma once

#include <QDialog>
#include <array>

#include "placement/u_measuremanager.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kx {

class TValuePanel;
class TkxMain;

class TdlgMeasureManager : public QDialog {
    Q_OBJECT
public:
    TdlgMeasureManager(TkxMain& model, QWidget* parent = nullptr);

    /// One item per measurement; the last one current.
    void FillList();
    void DoLanguage();
    TMeasureManager& Manager() { return m_manager; }

    // Controls, for the program's tests.
    QListWidget* List() const { return m_list; }
    QPushButton* DeleteButton() const { return m_delete; }
    QCheckBox* VisibleBox() const { return m_visible; }
    QWidget* Panel() const { return m_panel; }
    TValuePanel* Slider(TMeasureField f) const { return m_sliders[static_cast<size_t>(f)]; }

signals:
    /// A measurement changed or went: the view redraws.
    void Changed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ItemClicked(int row);
    void LoadControls();
    QString ItemName() const;

    TkxMain& m_model;
    TMeasureManager m_manager;
    QListWidget* m_list = nullptr;
    QPushButton* m_delete = nullptr;
    QWidget* m_panel = nullptr;
    QCheckBox* m_visible = nullptr;
    std::array<QLabel*, 3> m_labels{};
    std::array<QGroupBox*, 2> m_sides{};
    std::array<QLabel*, 6> m_sideLabels{};
    std::array<TValuePanel*, kMeasureFieldCount> m_sliders{};
    bool m_loading = false;
};

}  // namespace kx
