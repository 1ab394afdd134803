// Maintainer dialogs of the library: copy a part, import a part from elsewhere, edit the order.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <vector>

#include "catalogue/u_library.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace kx {

class TPartFiles;

/// "Bauteil kopieren": a new number, category and colour for a copy of the source part.
class TdlgCopyPart : public QDialog {
    Q_OBJECT
public:
    TdlgCopyPart(TPartFiles& files, const std::string& source, TLibraryView& view,
                 QWidget* parent = nullptr);

    QLineEdit* eTarget;
    QComboBox* cbGroup;
    QComboBox* cbColour;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    /// OK: copies, or says why not and stays open.
    void Execute();

private:
    TPartFiles& m_files;
    std::string m_source;
    TLibraryView& m_view;
};

/// "Bauteil aus externer Quelle importieren...": the files to copy, each with "ja" or "nein".
class TdlgImportPart : public QDialog {
    Q_OBJECT
public:
    TdlgImportPart(TPartFiles& files, const std::filesystem::path& defFile,
                   const std::string& newNumber, TLibraryView& view, QWidget* parent = nullptr);

    QTreeWidget* lvFiles;
    QPushButton* btnExecute;
    QPushButton* btnClose;
    const std::vector<TImportFile>& Plan() const { return m_plan; }

    /// "Ausführen": copies every file marked "ja" (asking before replacing a part).
    TImportResult Execute();

private:
    TPartFiles& m_files;
    TLibraryView& m_view;
    std::vector<TImportFile> m_plan;
};

/// "Sortierung bearbeiten": the tiles of a tab in display order, reordered by dragging.
class TdlgEditSort : public QDialog {
    Q_OBJECT
public:
    TdlgEditSort(TPartFiles& files, const TSnapViewData& tiles, const std::vector<QPixmap>& icons,
                 QWidget* parent = nullptr);

    QListWidget* lbParts;
    QPushButton* btnSave;
    QPushButton* btnClose;

    /// The numbers in the list's present order.
    std::vector<std::string> Numbers() const;
    /// "Speichern": writes the new sort keys.
    bool Save();

private:
    TPartFiles& m_files;
};

}  // namespace kx
