// The main window: menus and toolbar from the command table, the library strip, the parts
// and groups trees, the 3D view in its scroll box, the motor panels, the animation bar.
#include "app/Main.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/u_commandtable.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
constexpr const char* kSection = "MAIN";
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}
}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
    Stack().Push("TMainForm.FormCreate");
    setObjectName(QStringLiteral("MainForm"));
    m_commands = std::make_unique<TCommandTable>(MainCommandRows(), this);
    m_commands->BuildMenus(menuBar(), Param().DeveloperMode);
    if (QMenu* scripts = m_commands->Menu("menScripts")) {
        scripts->menuAction()->setVisible(false);
    }
    BuildToolBar();
    BuildLayout();
    BindCommands();
    ApplyFormStyle(this);
    DoLanguage();

    m_multiSelection = false;
    SetStatusText(0, QStringLiteral("Version " KX_VERSION));
    SetActiveColor(255);
    m_suppressMouseMove = false;
    setWindowTitle(QStringLiteral("Korvex designer"));
    resize(1280, 860);
}

QToolButton* TMainForm::AddToolButton(const char* id, int hintKey, const char* hint,
                                      const QIcon& icon, bool checkable) {
    auto* button = new QToolButton(m_toolBar);
    button->setObjectName(QString::fromLatin1(id));
    button->setIcon(icon);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setProperty("hintKey", hintKey);
    button->setToolTip(QString::fromUtf8(hint));
    button->setEnabled(false);
    m_toolBar->addWidget(button);
    return button;
}

void TMainForm::BuildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Werkzeuge"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setMovable(false);
    QStyle* st = style();
    struct TButton {
        const char* Id;
        const char* Command;
        int Key;
        const char* Hint;
        QStyle::StandardPixmap Icon;
        bool Checkable;
    };
    const TButton buttons[] = {
        {"btnNew", "menNew", 61, "Neues Modell", QStyle::SP_FileIcon, false},
        {"btnOpen", "menLoad", 62, "Modell laden", QStyle::SP_DialogOpenButton, false},
        {"btnOpenLast", "", 153, "Zuletzt geöffnete Modelle", QStyle::SP_ArrowDown, false},
        {"btnSave", "menSave", 63, "Modell speichern", QStyle::SP_DialogSaveButton, false},
        {"btnOnline", "menOnlineLibrary", 154, "Online-Bibliothek", QStyle::SP_DriveNetIcon, false},
        {"btnUndo", "menUndo", 64, "Rückgängig", QStyle::SP_ArrowBack, false},
        {"btnDelete", "menDelete", 67, "Entfernen", QStyle::SP_TrashIcon, false},
        {"btnGrid", "", 68, "Gitter ein/aus", QStyle::SP_FileDialogListView, true},
        {"btnAchse", "", 70, "Achsen ein/aus", QStyle::SP_ToolBarHorizontalExtensionButton, true},
        {"btnCameras", "", 155, "Kamerapositionen", QStyle::SP_DesktopIcon, false},
        {"btnKugeln", "", 71, "Kollisionskörper ein/aus", QStyle::SP_DialogNoButton, true},
        {"btnStartKinematik", "", 72, "Kinematik ein/aus", QStyle::SP_MediaPlay, true},
    };
    for (const TButton& b : buttons) {
        QToolButton* button =
            AddToolButton(b.Id, b.Key, b.Hint, st->standardIcon(b.Icon), b.Checkable);
        if (*b.Command) {
            const std::string command = b.Command;
            connect(button, &QToolButton::clicked, this,
                    [this, command] { m_commands->Execute(command); });
            button->setProperty("command", QString::fromLatin1(b.Command));
        }
    }
}

void TMainForm::BuildLayout() {
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(2, 2, 2, 2);

    m_libSplitter = new QSplitter(Qt::Vertical, central);
    m_libSplitter->setObjectName(QStringLiteral("Splitter2"));
    m_libraryArea = new QWidget(m_libSplitter);
    m_libraryArea->setObjectName(QStringLiteral("pnlLibrary"));
    m_libraryArea->setMinimumHeight(90);
    new QVBoxLayout(m_libraryArea);
    m_libraryArea->layout()->setContentsMargins(0, 0, 0, 0);

    auto* work = new QSplitter(Qt::Horizontal, m_libSplitter);
    auto* left = new QSplitter(Qt::Vertical, work);
    left->setObjectName(QStringLiteral("pnlLeft"));
    m_partsBox = new QGroupBox(Text(130, "Bauteile"), left);
    tvBausteine = new QTreeWidget(m_partsBox);
    tvBausteine->setObjectName(QStringLiteral("tvBausteine"));
    tvBausteine->setHeaderHidden(true);
    (new QVBoxLayout(m_partsBox))->addWidget(tvBausteine);
    m_groupsBox = new QGroupBox(Text(131, "Gruppen"), left);
    tvGroups = new QTreeWidget(m_groupsBox);
    tvGroups->setObjectName(QStringLiteral("tvGroups"));
    tvGroups->setHeaderHidden(true);
    (new QVBoxLayout(m_groupsBox))->addWidget(tvGroups);

    auto* right = new QWidget(work);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    m_motorArea = new QWidget(right);
    m_motorArea->setObjectName(QStringLiteral("pnlMotors"));
    m_motorArea->hide();
    sb = new QScrollArea(right);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setWidgetResizable(true);
    rightLayout->addWidget(m_motorArea);
    rightLayout->addWidget(sb, 1);
    m_animationBar = new QWidget(right);
    m_animationBar->setObjectName(QStringLiteral("pnlAnimation"));
    auto* aniLayout = new QHBoxLayout(m_animationBar);
    aniLayout->setContentsMargins(0, 0, 0, 0);
    Track = new QSlider(Qt::Horizontal, m_animationBar);
    Track->setObjectName(QStringLiteral("Track"));
    Track->setRange(0, 100);
    aniLayout->addWidget(Track);
    rightLayout->addWidget(m_animationBar);

    work->setStretchFactor(0, 0);
    work->setStretchFactor(1, 1);
    work->setSizes({240, 1000});
    m_libSplitter->setStretchFactor(0, 0);
    m_libSplitter->setStretchFactor(1, 1);
    m_libSplitter->setSizes({Param().GetLibraryHeight(), 700});
    outer->addWidget(m_libSplitter);
    setCentralWidget(central);

    for (size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_panels[i]->setMinimumWidth(i == 0 ? 260 : 120);
        statusBar()->addWidget(m_panels[i], i == 3 ? 1 : 0);
    }
}

void TMainForm::BindCommands() {
    m_commands->Bind("menExit", [this] { close(); });
}

void TMainForm::SetStatusText(int panel, const QString& text) {
    if (panel >= 0 && panel < static_cast<int>(m_panels.size())) {
        m_panels[static_cast<size_t>(panel)]->setText(text);
    }
}

QString TMainForm::StatusText(int panel) const {
    if (panel >= 0 && panel < static_cast<int>(m_panels.size())) {
        return m_panels[static_cast<size_t>(panel)]->text();
    }
    return {};
}

void TMainForm::DoLanguage() {
    m_commands->DoLanguage();
    const TkxLanguage& lng = Language();
    for (QToolButton* button : m_toolBar->findChildren<QToolButton*>()) {
        const int key = button->property("hintKey").toInt();
        if (key > 0) {
            button->setToolTip(QString::fromStdString(
                lng.GetText(kSection, key, button->toolTip().toStdString())));
        }
        const QString command = button->property("command").toString();
        if (!command.isEmpty()) {
            if (QAction* action = m_commands->Action(command.toStdString())) {
                button->setEnabled(action->isEnabled());
            }
        }
    }
    m_partsBox->setTitle(
        QString::fromStdString(lng.GetText(kSection, 130, m_partsBox->title().toStdString())));
    m_groupsBox->setTitle(
        QString::fromStdString(lng.GetText(kSection, 131, m_groupsBox->title().toStdString())));
}

void TMainForm::SetActiveColor(int colour) {
    Stack().Push("TMainForm.SetActiveColor", colour);
    m_activeColor = colour;
}

}  // namespace kx

#include "moc_Main.cpp"
