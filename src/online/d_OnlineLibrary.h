// "Online-Bibliothek": browse, search and download the models shared on the library server;
// in administrator mode edit the index and upload it with pictures and model files.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "online/u_modelindex.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace kx {

class TdlgOnlineLibrary : public QDialog {
    Q_OBJECT
public:
    explicit TdlgOnlineLibrary(bool adminMode, QWidget* parent = nullptr);

    /// The open model's record, for "Neu".
    void SetCurrentModel(const TModelData& model) { m_current = model; }

    /// Fetches and shows the index; runs by itself when the window is first shown.
    bool ReadIndex();
    const std::vector<TModelData>& Models() const { return m_models; }
    /// The record shown on the right, or -1.
    int Selected() const { return m_selected; }
    void SelectModel(int index);
    /// Models whose name or description contains text, any case; empty text finds nothing.
    void Search(const QString& text);
    /// Fetches the selected model; closes with OK when that worked.
    void DownloadSelected();
    const std::string& ModelStream() const { return m_stream; }

    // Administrator mode.
    void NewFromModel();
    void SaveFields();
    bool UploadIndex();
    /// Stores a local file by FTP under the name in the picture or model file field.
    bool UploadFile(bool picture);
    /// Picks the local file of an upload; tests replace it.
    std::function<QString(bool picture)> FileChooser;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillTree();
    void FillList(QTreeWidget* list, const std::vector<int>& indices);
    void ItemSelected(QTreeWidgetItem* item);
    void ShowPicture(const TModelData& model);
    void Fail(const std::string& error);
    bool FtpStore(const std::string& localFile, const std::string& remoteName);

    bool m_admin;
    bool m_read = false;
    std::vector<TModelData> m_models;
    TModelData m_current;
    int m_selected = -1;
    std::string m_stream;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_tree = nullptr;
    QTreeWidget* m_newest = nullptr;
    QTreeWidget* m_found = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_info = nullptr;
    QLabel* m_picture = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_original = nullptr;
    QLineEdit* m_buildBy = nullptr;
    QLineEdit* m_tags = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QLineEdit* m_imageFile = nullptr;
    QLineEdit* m_modelFile = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_save = nullptr;
};

}  // namespace kx
