// "Kinematik-Manager": a tool window listing the model's links, driven motors and collision
// rules, from which each is edited or deleted.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "motion/u_colldata.h"
#include "motion/u_kinedata.h"

class QListWidget;
class QTabWidget;
class QToolButton;

namespace kx {

class TkxMain;

class TFormKineManager : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4141;
    static constexpr int kTabHelpContext = 501;

    explicit TFormKineManager(QWidget* parent = nullptr);

    /// ShowKinematikManager: the window works on the model from now on and is shown.
    void ShowFor(TkxMain* model);
    /// UpdateKineManager: the three lists again from the model.
    void Refill();
    void DoLanguage();

    /// Called after the window changed what the view shows (selection, poses).
    std::function<void()> Redraw;

    QTabWidget* Tabs() const { return PageControl1; }
    QListWidget* LinkList() const { return lbKine; }
    QListWidget* MotorList() const { return lbMotoren; }
    QListWidget* RuleList() const { return lbColls; }

    // The buttons' actions, on the current row of each list.
    void EditLink();
    void DeleteLink();
    void EditMotor();
    void RemoveMotor();
    void EditRule();
    void DeleteRule();

private:
    QWidget* Page(QListWidget*& list, const char* listName, std::vector<int> columns,
                  QToolButton*& edit, const char* editName, QToolButton*& remove,
                  const char* removeName);
    void RowChosen(QListWidget* list);
    void Changed();

    TkxMain* m_model = nullptr;
    QTabWidget* PageControl1;
    QListWidget* lbKine = nullptr;
    QListWidget* lbMotoren = nullptr;
    QListWidget* lbColls = nullptr;
    QToolButton* BitBtn1 = nullptr;
    QToolButton* btnDeleteBindung = nullptr;
    QToolButton* btnEditMot = nullptr;
    QToolButton* BitBtn2 = nullptr;
    QToolButton* btnEditKoll = nullptr;
    QToolButton* btnDeleteKoll = nullptr;
    /// The records the rows show, row by row: a row acts on its own record even when the
    /// model's list has changed since it was filled.
    std::vector<TKineData> m_shownLinks;
    std::vector<TCollData> m_shownRules;
};

}  // namespace kx
