// "Online-Bibliothek für Sammlungen": the collections shared on the library server, one of
// which the user opens.
#include "online/d_CloudCollection.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "online/historybox.h"
#include "online/u_TWebRemote.h"
#include "online/webtask.h"

namespace kx {

namespace {
constexpr const char* kSection = "D_CLOUDCOLLECTION";

QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

/// Case-insensitive text order for both columns.
class TCollectionItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
    }
};
}  // namespace

bool SplitCollectionName(const std::string& fileName, std::string& number, std::string& title) {
    const size_t blank = fileName.find(' ');
    if (!IsSafeRemoteName(fileName) || blank == std::string::npos || fileName.size() < 5 ||
        !QString::fromStdString(fileName).endsWith(QStringLiteral(".kxc"), Qt::CaseInsensitive)) {
        return false;
    }
    number = fileName.substr(0, blank);
    title = fileName.substr(blank + 1, fileName.size() - 4 - blank - 1);
    return !number.empty();
}

TdlgCloudCollection::TdlgCloudCollection(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgCloudCollection"));
    setWindowTitle(T(1, "Online-Bibliothek für Sammlungen"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lvCollections"));
    m_list->setHeaderLabels({T(4, "Nr"), T(5, "Bezeichnung")});
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionsClickable(true);
    m_download = new QPushButton(T(2, "Download"), this);
    m_download->setObjectName(QStringLiteral("btnDownload"));
    m_download->hide();
    auto* cancel = new QPushButton(T(3, "Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { m_download->setVisible(item != nullptr); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TdlgCloudCollection::DownloadSelected);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        // The same column again reverses the order.
        m_order = column == m_sortColumn && m_order == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                          : Qt::AscendingOrder;
        m_sortColumn = column;
        m_list->sortItems(column, m_order);
    });
    connect(m_download, &QPushButton::clicked, this, &TdlgCloudCollection::DownloadSelected);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_download);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(460, 380);
    ApplyFormStyle(this);
}

void TdlgCloudCollection::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_read) {
        m_read = true;
        QTimer::singleShot(0, this, &TdlgCloudCollection::ReadList);
    }
}

namespace {
void ConnectionFailed(QWidget* parent, const std::string& error) {
    QMessageBox box(
        QMessageBox::Information, parent->windowTitle(),
        QString::fromStdString(Language().GetText(
            "F_INTERNETBAUTEILE", 8, "Es konnte keine Verbindung zum Server hergestellt werden.")),
        QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("msgNoConnection"));
    box.setDetailedText(QString::fromStdString(error));
    box.exec();
}
}  // namespace

bool TdlgCloudCollection::ReadList() {
    Stack().Push("TdlgCloudCollection.ReadList");
    m_read = true;
    const TWebSettings settings = ReadWebSettings(Param());
    std::vector<TWebDirData> entries;
    std::string error;
    const bool ok = RunWebTask(this, windowTitle(), [&](TWebProgress& p) {
        TWebRemote web(settings);
        web.SetProgress(&p);
        const bool done = web.ReadDirectory("collection");
        entries = web.Directory();
        error = web.LastError();
        return done;
    });
    m_list->clear();
    if (!ok) {
        ConnectionFailed(this, error);
        return false;
    }
    for (const TWebDirData& entry : entries) {
        std::string number, title;
        if (SplitCollectionName(entry.Name, number, title)) {
            auto* item = new TCollectionItem(m_list, {ServerText(number), ServerText(title)});
            item->setData(0, Qt::UserRole, QString::fromStdString(entry.Name));
        }
    }
    return true;
}

void TdlgCloudCollection::DownloadSelected() {
    Stack().Push("TdlgCloudCollection.DownloadSelected");
    const QTreeWidgetItem* item = m_list->currentItem();
    if (!item) {
        return;
    }
    const std::string name = item->data(0, Qt::UserRole).toString().toStdString();
    const TWebSettings settings = ReadWebSettings(Param());
    std::string body, error;
    const bool ok = RunWebTask(this, windowTitle(), [&](TWebProgress& p) {
        TWebRemote web(settings);
        web.SetProgress(&p);
        // Blanks travel as %20; the client keeps escapes already in a path.
        const bool done = web.GetUrl("/downloads/collection/" + UrlEncode(name), body);
        error = web.LastError();
        return done;
    });
    if (!ok) {
        ConnectionFailed(this, error);
        return;
    }
    m_lines = ReplyLines(body);
    accept();
}

}  // namespace kx

#include "moc_d_CloudCollection.cpp"
