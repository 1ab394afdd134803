// The window "Internet-Update (Bauteile)": lists the parts the library server has that this
// installation lacks or holds in an older version, and fetches them all.
#pragma once

#include <QDialog>
#include <atomic>
#include <functional>

#include "online/u_partupdate.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace kx {

class TPartFiles;

class TFormInternetBauteile : public QDialog {
    Q_OBJECT
public:
    TFormInternetBauteile(TPartFiles& files, TLocalPartVersions local, QWidget* parent = nullptr);

    /// Called after files were saved, so the library, caches and icons take them up.
    std::function<void()> OnPartsDownloaded;

    /// The search; runs by itself when the window is first shown.
    void Search();
    /// "Download": fetches everything found.
    void Download();

    QString StatusText() const;
    const TPartUpdateLists& Lists() const { return m_lists; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetStatus(const QString& text);
    void ConnectionFailed(const std::string& error);

    TPartFiles& m_files;
    TLocalPartVersions m_local;
    TPartUpdateLists m_lists;
    bool m_searched = false;
    std::atomic<int> m_position{0};
    std::atomic<int> m_maximum{0};
    QTreeWidget* m_list = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_back = nullptr;
};

/// The command: asks for a server first, then shows the window modally.
void ShowPartUpdate(QWidget* parent, TPartFiles& files, const TLocalPartVersions& local,
                    const std::function<void()>& onPartsDownloaded);

}  // namespace kx
