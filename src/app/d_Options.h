// The options dialog "Systemeinstellungen": the user's settings on four pages, read when shown
// and written on OK; the model files' association, which acts at once.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/u_fileassoc.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace kx {

class TdlgOptions : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 3001;

    /// languageDir: where the "*.lng" files are looked for (the program's data folder).
    explicit TdlgOptions(QWidget* parent = nullptr, const QString& languageDir = {},
                         TAssociationFolders folders = AssociationFoldersFromEnvironment());

    /// Replaces the colour dialog (tests): the current colour in, the chosen one or none out.
    std::function<std::optional<uint32_t>(uint32_t)> ChooseColor;
    /// Replaces the information messages (tests).
    std::function<void(const QString&)> Inform;

    QTabWidget* Pages = nullptr;
    QCheckBox* cbUsePython = nullptr;
    QLineEdit* eCountFavourites = nullptr;
    QCheckBox* cbCombineLibrary = nullptr;
    QLabel* lblBackgroundColor3D = nullptr;
    QPushButton* btnBackgroundColor = nullptr;
    QComboBox* cbAntiAlias = nullptr;
    QCheckBox* cbPaintOldWhite = nullptr;
    QCheckBox* cbHideOtherStages = nullptr;
    QRadioButton* rGrid10mm = nullptr;
    QRadioButton* rGrid15mm = nullptr;
    QSlider* tbOutlineWidth = nullptr;
    QLabel* lblOutlineWidthPixel = nullptr;
    QCheckBox* cbOutlineModeAtStart = nullptr;
    QListWidget* lbSprachen = nullptr;
    QLabel* lblLinkDatei = nullptr;
    QCheckBox* cbLinkKxm = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnHelp = nullptr;

    uint32_t BackgroundColor() const { return m_background; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(const QString& languageDir);
    void FormShow();
    void btnOKClick();
    void btnBackgroundColorClick();
    void lbSprachenItemChanged(QListWidgetItem* item);
    void tbOutlineWidthChange();
    void cbLinkKxmClick(bool on);
    void ShowAssociation();
    void SetSwatch(uint32_t colour);
    void Tell(const QString& text);

    TAssociationFolders m_folders;
    uint32_t m_background = 0;
    bool m_lpeMode = false;
    std::array<bool, 4> m_lpeBoxes{};
    bool m_checking = false;  ///< while the language list changes its own check marks
};

}  // namespace kx
