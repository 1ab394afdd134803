// The strip editor: a plastic strip made from work steps, shown live in 3D, stored in the model.
#pragma once

// The renderer's GL loader comes before any header of Qt's that may pull in the system's gl.h.
#include <epoxy/gl.h>

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "generated/u_HalbzeugFlachband.h"
#include "view/u_scene.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kx {

class TkxMain;
class TPartLibrary;
class TViewerWidget;

class THalbzeugEditor : public QDialog {
    Q_OBJECT
public:
    /// library may be nullptr (no tile is added then).
    THalbzeugEditor(TkxMain& model, TPartLibrary* library, QWidget* parent = nullptr);
    ~THalbzeugEditor() override;

    /// The step the input fields describe.
    THZModData EnteredStep() const;
    /// Fills the input fields from a step.
    void EnterStep(const THZModData& step);
    /// "Hinzufügen", "Ändern" (the chosen row), "Entfernen" (the chosen row).
    void AddStep();
    void ChangeStep();
    void RemoveStep();
    void SetDescription(const QString& text);

    const std::vector<THZModData>& Steps() const { return m_steps; }
    const THZFlachband& Strip() const { return m_strip; }
    /// The steps that could not be made, by index, after the latest replay.
    const std::vector<size_t>& FailedSteps() const { return m_failed; }
    /// The number the strip was stored under by OK (empty before, or when it failed).
    const std::string& StoredNumber() const { return m_stored; }
    QString StatusText() const;
    TViewerWidget* Preview() const { return m_preview; }
    QTableWidget* StepTable() const { return m_table; }

    /// The text of a work step for the list ("Bohren 4 mm bei 100 mm").
    static QString StepText(const THZModData& step);

    void accept() override;

private:
    void KindChanged();
    void Replay();
    void FillTable();
    void FrameCamera();

    TkxMain& m_model;
    TPartLibrary* m_library;
    std::vector<THZModData> m_steps;
    std::vector<size_t> m_failed;
    std::string m_stored;
    THZFlachband m_strip;
    TScene m_scene;
    TSceneObject* m_target = nullptr;

    TViewerWidget* m_preview = nullptr;
    QTableWidget* m_table = nullptr;
    QComboBox* m_kind = nullptr;
    QDoubleSpinBox* m_x1 = nullptr;
    QDoubleSpinBox* m_x2 = nullptr;
    QDoubleSpinBox* m_d = nullptr;
    QComboBox* m_mode = nullptr;
    QLabel* m_x2Label = nullptr;
    QLabel* m_dLabel = nullptr;
    QLabel* m_modeLabel = nullptr;
    QLabel* m_status = nullptr;
    QLineEdit* m_description = nullptr;
};

}  // namespace kx
