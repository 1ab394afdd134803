// "Online-Bibliothek": browse, search and download the models shared on the library server;
// in administrator mode edit the index and upload it with pictures and model files.
#include "online/d_OnlineLibrary.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <fstream>
#include <functional>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "online/u_TWebRemote.h"
#include "online/u_ftpclient.h"
#include "online/webtask.h"

namespace kx {

namespace {
constexpr const char* kSection = "D_ONLINELIBRARY";
constexpr int kRecordRole = Qt::UserRole;
constexpr int kNewestCount = 20;

QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

QString ConnectionFailedText() {
    return QString::fromStdString(Language().GetText(
        "F_INTERNETBAUTEILE", 8, "Es konnte keine Verbindung zum Server hergestellt werden."));
}

QLineEdit* Edit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

/// The first node of the tree, depth first, with exactly this text and no record of its own.
QTreeWidgetItem* FindCategory(QTreeWidget* tree, const QString& text) {
    std::function<QTreeWidgetItem*(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
        if (!item->data(0, kRecordRole).isValid() && item->text(0) == text) {
            return item;
        }
        for (int i = 0; i < item->childCount(); ++i) {
            if (QTreeWidgetItem* found = walk(item->child(i))) {
                return found;
            }
        }
        return static_cast<QTreeWidgetItem*>(nullptr);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (QTreeWidgetItem* found = walk(tree->topLevelItem(i))) {
            return found;
        }
    }
    return nullptr;
}
}  // namespace

TdlgOnlineLibrary::TdlgOnlineLibrary(bool adminMode, QWidget* parent)
    : QDialog(parent), m_admin(adminMode) {
    setObjectName(QStringLiteral("dlgOnlineLibrary"));
    setWindowTitle(T(1, "Online-Bibliothek"));

    m_tabs = new QTabWidget(this);
    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("tvLibrary"));
    m_tree->setHeaderHidden(true);
    m_tabs->addTab(m_tree, T(2, "Bibliothek"));
    m_newest = new QTreeWidget;
    m_newest->setObjectName(QStringLiteral("lvNewest"));
    m_tabs->addTab(m_newest, T(3, "Neueste Modelle"));
    auto* searchPage = new QWidget;
    m_search = Edit(searchPage, "edtSearch");
    auto* searchButton = new QPushButton(T(19, "Suchen"), searchPage);
    searchButton->setObjectName(QStringLiteral("btnSearch"));
    m_found = new QTreeWidget(searchPage);
    m_found->setObjectName(QStringLiteral("lvSearch"));
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(searchButton);
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(m_found, 1);
    m_tabs->addTab(searchPage, T(4, "Suche"));
    for (QTreeWidget* list : {m_newest, m_found}) {
        list->setHeaderLabels({T(6, "Name"), T(9, "Kategorie")});
        list->setRootIsDecorated(false);
        connect(list, &QTreeWidget::currentItemChanged, this,
                [this](QTreeWidgetItem* item) { ItemSelected(item); });
    }
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ItemSelected(item); });
    connect(searchButton, &QPushButton::clicked, this, [this] { Search(m_search->text()); });
    connect(m_search, &QLineEdit::returnPressed, this, [this] { Search(m_search->text()); });

    m_imageFile = Edit(this, "edtImageFile");
    m_modelFile = Edit(this, "edtModelFile");
    if (m_admin) {
        auto* adminPage = new QWidget;
        auto* form = new QFormLayout(adminPage);
        auto* uploadImage = new QPushButton(T(14, "Upload"), adminPage);
        uploadImage->setObjectName(QStringLiteral("btnUploadImage"));
        auto* uploadModel = new QPushButton(T(14, "Upload"), adminPage);
        uploadModel->setObjectName(QStringLiteral("btnUploadModel"));
        auto row = [&](QLineEdit* edit, QPushButton* button) {
            auto* box = new QHBoxLayout;
            box->addWidget(edit, 1);
            box->addWidget(button);
            return box;
        };
        form->addRow(T(17, "Bild"), row(m_imageFile, uploadImage));
        form->addRow(T(18, "Modelldatei"), row(m_modelFile, uploadModel));
        connect(uploadImage, &QPushButton::clicked, this, [this] { UploadFile(true); });
        connect(uploadModel, &QPushButton::clicked, this, [this] { UploadFile(false); });
        m_tabs->addTab(adminPage, T(5, "Admin"));
    } else {
        m_imageFile->hide();
        m_modelFile->hide();
    }

    auto* right = new QWidget;
    m_info = new QLabel(right);
    m_info->setObjectName(QStringLiteral("lblInfo"));
    m_picture = new QLabel(right);
    m_picture->setObjectName(QStringLiteral("imgModel"));
    m_picture->setFixedSize(240, 180);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_name = Edit(right, "edtName");
    m_original = Edit(right, "edtOriginal");
    m_buildBy = Edit(right, "edtBuildBy");
    m_tags = Edit(right, "edtTags");
    m_description = new QPlainTextEdit(right);
    m_description->setObjectName(QStringLiteral("memDescription"));
    for (QLineEdit* edit : {m_name, m_original, m_buildBy, m_tags}) {
        edit->setReadOnly(!m_admin);
    }
    m_description->setReadOnly(!m_admin);
    auto* fields = new QFormLayout;
    fields->addRow(T(6, "Name"), m_name);
    fields->addRow(T(7, "Original"), m_original);
    fields->addRow(T(8, "Gebaut von"), m_buildBy);
    fields->addRow(T(9, "Kategorie"), m_tags);
    fields->addRow(T(11, "Beschreibung"), m_description);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->addWidget(m_info);
    rightLayout->addWidget(m_picture, 0, Qt::AlignHCenter);
    rightLayout->addLayout(fields, 1);

    auto* split = new QSplitter(this);
    split->addWidget(m_tabs);
    split->addWidget(right);
    split->setStretchFactor(0, 1);

    m_download = new QPushButton(T(12, "Download"), this);
    m_download->setObjectName(QStringLiteral("btnDownload"));
    m_download->hide();
    auto* cancel = new QPushButton(T(13, "Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_download, &QPushButton::clicked, this, &TdlgOnlineLibrary::DownloadSelected);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    m_save = new QPushButton(T(15, "Save"), this);
    m_save->setObjectName(QStringLiteral("btnSave"));
    m_save->hide();
    if (m_admin) {
        auto* uploadIndex = new QPushButton(T(14, "Upload"), this);
        uploadIndex->setObjectName(QStringLiteral("btnUploadIndex"));
        auto* add = new QPushButton(T(16, "Neu"), this);
        add->setObjectName(QStringLiteral("btnNew"));
        buttons->addWidget(uploadIndex);
        buttons->addWidget(m_save);
        buttons->addWidget(add);
        connect(uploadIndex, &QPushButton::clicked, this, &TdlgOnlineLibrary::UploadIndex);
        connect(m_save, &QPushButton::clicked, this, &TdlgOnlineLibrary::SaveFields);
        connect(add, &QPushButton::clicked, this, &TdlgOnlineLibrary::NewFromModel);
    }
    buttons->addStretch(1);
    buttons->addWidget(m_download);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(820, 520);
    ApplyFormStyle(this);
}

void TdlgOnlineLibrary::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_read) {
        m_read = true;
        QTimer::singleShot(0, this, &TdlgOnlineLibrary::ReadIndex);
    }
}

void TdlgOnlineLibrary::Fail(const std::string& error) {
    QMessageBox box(QMessageBox::Information, windowTitle(), ConnectionFailedText(),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("msgNoConnection"));
    box.setDetailedText(QString::fromStdString(error));
    box.exec();
}

bool TdlgOnlineLibrary::ReadIndex() {
    Stack().Push("TdlgOnlineLibrary.ReadIndex");
    m_read = true;
    const TWebSettings settings = ReadWebSettings(Param());
    std::string body, error;
    const bool ok = RunWebTask(this, T(24, "Lade Bibliothek..."), [&](TWebProgress& p) {
        TWebRemote web(settings);
        web.SetProgress(&p);
        const bool done = web.GetUrl(kModelIndexPath, body);
        error = web.LastError();
        return done;
    });
    if (!ok) {
        Fail(error);
        return false;
    }
    // A broken document keeps the records before the fault.
    ParseModelIndex(QByteArray::fromStdString(body), m_models);
    m_info->setText(QString::number(m_models.size()) + QLatin1Char(' ') + T(10, "Modelle"));
    FillTree();
    std::vector<int> newest;
    if (m_models.size() >= kNewestCount) {
        for (int i = 0; i < kNewestCount; ++i) {
            newest.push_back(static_cast<int>(m_models.size()) - 1 - i);
        }
    }
    FillList(m_newest, newest);
    return true;
}

void TdlgOnlineLibrary::FillTree() {
    m_tree->clear();
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon model = style()->standardIcon(QStyle::SP_FileIcon);
    for (size_t i = 0; i < m_models.size(); ++i) {
        QTreeWidgetItem* parent = nullptr;
        for (const QString& tag : ModelTags(m_models[i])) {
            QTreeWidgetItem* node = FindCategory(m_tree, tag);
            if (!node) {
                node = parent ? new QTreeWidgetItem(parent, {tag})
                              : new QTreeWidgetItem(m_tree, {tag});
                node->setIcon(0, folder);
            }
            parent = node;
        }
        auto* item = parent ? new QTreeWidgetItem(parent, {m_models[i].Name})
                            : new QTreeWidgetItem(m_tree, {m_models[i].Name});
        item->setIcon(0, model);
        item->setData(0, kRecordRole, static_cast<int>(i));
    }
    m_tree->sortItems(0, Qt::AscendingOrder);
}

void TdlgOnlineLibrary::FillList(QTreeWidget* list, const std::vector<int>& indices) {
    list->clear();
    for (int i : indices) {
        const TModelData& m = m_models[static_cast<size_t>(i)];
        auto* item = new QTreeWidgetItem(list, {m.Name, m.Tags});
        item->setData(0, kRecordRole, i);
    }
}

void TdlgOnlineLibrary::ItemSelected(QTreeWidgetItem* item) {
    const QVariant record = item ? item->data(0, kRecordRole) : QVariant();
    SelectModel(record.isValid() ? record.toInt() : -1);
}

void TdlgOnlineLibrary::SelectModel(int index) {
    m_selected = index >= 0 && index < static_cast<int>(m_models.size()) ? index : -1;
    if (m_selected < 0) {
        for (QLineEdit* edit : {m_name, m_original, m_buildBy, m_tags, m_imageFile, m_modelFile}) {
            edit->clear();
        }
        m_description->clear();
        m_picture->clear();
        m_download->hide();
        m_save->hide();
        return;
    }
    const TModelData& m = m_models[static_cast<size_t>(m_selected)];
    m_name->setText(m.Name);
    m_original->setText(m.Original);
    m_buildBy->setText(m.BuildBy);
    m_tags->setText(m.Tags);
    m_description->setPlainText(m.Description);
    m_imageFile->setText(m.ImageFile);
    m_modelFile->setText(m.ModelFile);
    m_download->show();
    m_save->setVisible(m_admin);
    ShowPicture(m);
}

void TdlgOnlineLibrary::ShowPicture(const TModelData& model) {
    m_picture->clear();
    const std::string file = model.ImageFile.toStdString();
    if (!IsSafeRemoteName(file)) {
        return;
    }
    const TWebSettings settings = ReadWebSettings(Param());
    std::string body;
    if (!RunWebTask(this, T(25, "Lade Bild..."), [&](TWebProgress& p) {
            TWebRemote web(settings);
            web.SetProgress(&p);
            return web.GetUrl(std::string(kModelFolderPath) + file, body);
        })) {
        return;
    }
    QPixmap picture;
    if (picture.loadFromData(reinterpret_cast<const uchar*>(body.data()),
                             static_cast<uint>(body.size()))) {
        m_picture->setPixmap(
            picture.scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

void TdlgOnlineLibrary::Search(const QString& text) {
    std::vector<int> found;
    if (!text.isEmpty()) {
        for (size_t i = 0; i < m_models.size(); ++i) {
            if (m_models[i].Name.contains(text, Qt::CaseInsensitive) ||
                m_models[i].Description.contains(text, Qt::CaseInsensitive)) {
                found.push_back(static_cast<int>(i));
            }
        }
    }
    FillList(m_found, found);
}

void TdlgOnlineLibrary::DownloadSelected() {
    Stack().Push("TdlgOnlineLibrary.DownloadSelected");
    if (m_selected < 0) {
        return;
    }
    const std::string file = m_models[static_cast<size_t>(m_selected)].ModelFile.toStdString();
    const TWebSettings settings = ReadWebSettings(Param());
    std::string body, error;
    const bool ok =
        IsSafeRemoteName(file) && RunWebTask(this, T(23, "Lade Modell..."), [&](TWebProgress& p) {
            TWebRemote web(settings);
            web.SetProgress(&p);
            const bool done = web.GetUrl(std::string(kModelFolderPath) + file, body);
            error = web.LastError();
            return done;
        });
    if (!ok) {
        Fail(error.empty() ? file : error);
        return;
    }
    m_stream = std::move(body);
    accept();
}

void TdlgOnlineLibrary::NewFromModel() {
    TModelData record = m_current;
    const QString base = record.Name.toLower();
    record.ImageFile = base + QStringLiteral(".png");
    record.ModelFile = base + QStringLiteral(".kxm");
    m_models.push_back(record);
    auto* item = new QTreeWidgetItem(m_tree, {T(16, "Neu")});
    item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    item->setData(0, kRecordRole, static_cast<int>(m_models.size()) - 1);
    m_tabs->setCurrentWidget(m_tree);
    m_tree->setCurrentItem(item);
}

void TdlgOnlineLibrary::SaveFields() {
    if (m_selected < 0) {
        return;
    }
    TModelData& m = m_models[static_cast<size_t>(m_selected)];
    m.Name = m_name->text();
    m.Original = m_original->text();
    m.BuildBy = m_buildBy->text();
    m.Tags = m_tags->text();
    m.Description = m_description->toPlainText();
    m.ImageFile = m_imageFile->text().trimmed();
    m.ModelFile = m_modelFile->text().trimmed();
    m_save->hide();
}

bool TdlgOnlineLibrary::FtpStore(const std::string& localFile, const std::string& remoteName) {
    const TWebSettings settings = ReadWebSettings(Param());
    std::string error;
    const bool ok =
        IsSafeRemoteName(remoteName) && RunWebTask(this, T(14, "Upload"), [&](TWebProgress&) {
            TFtpClient ftp(settings.FtpServer, settings.LibraryFtp, settings.ConnectTimeout,
                           settings.TotalTimeout);
            const bool done = FtpUploadFile(ftp, localFile, remoteName);
            error = ftp.LastError();
            return done;
        });
    if (!ok) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        T(22, "Das Hochladen ist fehlgeschlagen: %1")
                            .arg(QString::fromStdString(error.empty() ? remoteName : error)),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("msgUploadFailed"));
        box.exec();
    }
    return ok;
}

bool TdlgOnlineLibrary::UploadIndex() {
    Stack().Push("TdlgOnlineLibrary.UploadIndex");
    QTemporaryDir dir;
    const QString file = dir.filePath(QString::fromLatin1(kModelIndexFile));
    {
        const QByteArray xml = WriteModelIndex(m_models);
        std::ofstream out(file.toStdString(), std::ios::binary);
        out.write(xml.constData(), xml.size());
        if (!out.flush()) {
            return false;
        }
    }
    if (!FtpStore(file.toStdString(), kModelIndexFile)) {
        return false;
    }
    QMessageBox box(QMessageBox::Information, windowTitle(), T(20, "Verbindung beendet"),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("msgUploaded"));
    box.exec();
    return true;
}

bool TdlgOnlineLibrary::UploadFile(bool picture) {
    Stack().Push("TdlgOnlineLibrary.UploadFile", picture);
    const QString remote = (picture ? m_imageFile : m_modelFile)->text().trimmed();
    QString local;
    if (FileChooser) {
        local = FileChooser(picture);
    } else {
        local = QFileDialog::getOpenFileName(
            this, windowTitle(), {},
            picture ? T(26, "PNG-Dateien (*.png);;Alle Dateien (*)")
                    : T(27, "Korvex Modell (*.kxm);;Alle Dateien (*)"));
    }
    if (local.isEmpty() || !FtpStore(local.toStdString(), remote.toStdString())) {
        return false;
    }
    QMessageBox box(QMessageBox::Information, windowTitle(), T(21, "Upload beendet"),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("msgUploaded"));
    box.exec();
    return true;
}

}  // namespace kx

#include "moc_d_OnlineLibrary.cpp"
