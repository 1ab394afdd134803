// "Online-Bibliothek für Sammlungen": the collections shared on the library server, one of
// which the user opens.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace kx {

/// A listed collection file split for the list: "1234 Meine Sammlung.kxc" is number "1234"
/// and title "Meine Sammlung". False for a name that is no plain collection file name.
bool SplitCollectionName(const std::string& fileName, std::string& number, std::string& title);

class TdlgCloudCollection : public QDialog {
    Q_OBJECT
public:
    explicit TdlgCloudCollection(QWidget* parent = nullptr);

    /// Lists the server's collections; runs by itself when the window is first shown.
    bool ReadList();
    /// Fetches the selected collection; closes with OK when that worked.
    void DownloadSelected();
    /// The lines of the fetched collection.
    const std::vector<std::string>& Lines() const { return m_lines; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_read = false;
    int m_sortColumn = -1;
    Qt::SortOrder m_order = Qt::AscendingOrder;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_download = nullptr;
    std::vector<std::string> m_lines;
};

}  // namespace kx
