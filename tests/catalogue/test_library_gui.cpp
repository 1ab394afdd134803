// The library panel on screen: every page filled, set buttons, search, favourites, collections.
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDrag>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/d_Message.h"
#include "catalogue/d_AddCollection.h"
#include "catalogue/d_PartTools.h"
#include "catalogue/d_Search.h"
#include "catalogue/f_Library.h"
#include "catalogue/f_SnapView.h"
#include "catalogue/f_Splash.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_text.h"
#include "kx_gui_main.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

// Groups that reach every content page of both sets.
const int Groups[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  20, 19, 9,
                      10, 11, 12, 13, 14, 15, 16, 17, 18, 21, 22};

void WriteBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    WriteFileAtomic(file, bytes);
}

// A 64 x 64 icon: white ground (transparent), a coloured block with a hole.
void WriteIcon(const fs::path& file, int hue) {
    QImage img(64, 64, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(QColor::fromHsv(hue % 360, 200, 220));
    p.setPen(QColor(40, 40, 40));
    p.drawRoundedRect(8, 14, 48, 36, 4, 4);
    p.setBrush(Qt::white);
    p.drawEllipse(QPoint(32, 32), 6, 6);
    p.end();
    fs::create_directories(file.parent_path());
    img.save(QString::fromStdString(file.string()), "BMP");
}

std::string Def(const std::string& org, const std::string& name, int group, int sort) {
    return Utf8ToCp1252("[COLOR]\r\nRed=200\r\nGreen=10\r\nBlue=10\r\n[COMMON]\r\nName=" + name +
                        "\r\nGroup=" + IntToStr(group) + "\r\nOrgNumber=" + org +
                        "\r\nSortOrder=" + IntToStr(sort) + "\r\nVersion=1\r\n");
}

/// Runs f on the first modal window of type T to appear within half a minute (polling, so a
/// test can answer the dialog a command opens).
template <class T>
void Answer(std::function<void(T*)> f) {
    auto poll = std::make_shared<std::function<void()>>();
    auto tries = std::make_shared<int>(1500);
    *poll = [f, poll, tries] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (w && w->isVisible()) {
            // Answer once the dialog's own event loop runs, not while it is still being shown.
            QPointer<T> dialog(w);
            QTimer::singleShot(30, [f, dialog] {
                if (dialog) {
                    f(dialog.data());
                }
            });
            return;
        }
        if (--*tries > 0) {
            QTimer::singleShot(20, *poll);
        }
    };
    QTimer::singleShot(20, *poll);
}

/// The panel with its file dialog answered by the test.
class TTestPanel : public TLibraryPanel {
public:
    QString NextFile;
    std::vector<bool> Asked;  // true for a save dialog

protected:
    QString ChooseCollectionFile(bool save) override {
        Asked.push_back(save);
        return NextFile;
    }
};

/// A tile view whose drags are recorded instead of run.
class TDragView : public TSnapView {
public:
    using TSnapView::TSnapView;
    QStringList Dragged;

protected:
    void ExecDrag(QDrag* drag) override {
        Dragged << QString::fromUtf8(drag->mimeData()->data(QString::fromLatin1(PartMimeType)));
    }
};

/// Messages and questions of the maintainer dialogs, answered without windows.
struct TQuietView : TLibraryView {
    std::vector<std::string> Messages, Questions;
    bool Answer = false;
    void PageChanged(const TLibraryPage&) override {}
    void SelectionChanged(const TLibraryPage&) override {}
    void ShowPage(const TLibraryPage&) override {}
    void ScrollToTile(const TLibraryPage&, int) override {}
    void Message(TLibraryMessageKind, const std::string& text) override {
        Messages.push_back(text);
    }
    bool AskYesNo(const std::string& q) override {
        Questions.push_back(q);
        return Answer;
    }
    std::optional<int32_t> AskCollectionCount(int32_t) override { return std::nullopt; }
};

struct TModel : TLibraryModel {
    std::vector<std::string> Placed, Selected, Found;
    std::vector<std::string> PlacedPartNumbers() override { return Placed; }
    std::vector<std::string> SelectedPartNumbers() override { return Selected; }
    bool CollectionRefreshSuppressed() override { return false; }
    void FindPartsInModel(const std::string& n) override { Found.push_back(n); }
};

}  // namespace

class TestLibraryGui : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_tmp;
    fs::path m_dir;
    std::unique_ptr<TkxParam> m_oldParam;
    std::unique_ptr<TPartFiles> m_files;
    std::unique_ptr<TTestPanel> m_panel;
    TModel m_model;

    TSnapView* View(TLibrarySet set, int tab) { return m_panel->View({set, tab}); }
    void Click(TSnapView* view, int index, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(view->viewport(), button, {}, view->TileRect(index).center());
    }

private slots:
    void initTestCase() {
        m_dir = fs::path(m_tmp.path().toStdString());
        m_oldParam = SetParam(std::make_unique<TkxParam>(std::vector<std::string>{},
                                                         m_dir / "config", m_dir / "sys"));
        // Three parts per group, with names of varying length; a hidden one; one without icon.
        int n = 0;
        for (int g : Groups) {
            for (int k = 0; k < 3; ++k, ++n) {
                const std::string number = IntToStr(31000 + n);
                const std::string name =
                    k == 1 ? "Winkelträger 60 mit Bohrung" : "Baustein " + number;
                WriteBytes(m_dir / "prog" / "def" / (number + ".def"),
                           Def(number, name, g, 1000 - n));
                if (n != 5) {
                    WriteIcon(m_dir / "prog" / "icon" / (number + ".bmp"), n * 37);
                }
            }
        }
        WriteBytes(m_dir / "prog" / "def" / "39999.def",
                   Utf8ToCp1252("[COMMON]\r\nName=Versteckt\r\nHide=1\r\n"));
        m_files = std::make_unique<TPartFiles>(m_dir / "prog", m_dir / "user");
        m_panel = std::make_unique<TTestPanel>();
        m_panel->SetModel(&m_model);
        m_panel->resize(900, 200);
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }

    void cleanupTestCase() {
        m_panel.reset();
        SetParam(std::move(m_oldParam));
    }

    void fillShowsEveryPageBehindTheSplash() {
        TFormSplash splash;
        splash.show();
        const TLibraryFillResult r =
            m_panel->Fill(*m_files, TLibraryFillOptions::Current(), &splash);
        QCOMPARE(r.Found, 70);
        QCOMPARE(r.Shown, 69);
        QCOMPARE(splash.Maximum(), 70);
        QCOMPARE(splash.Position(), 70);
        QCOMPARE(splash.Status(), QStringLiteral("Lade Bauteile..."));
        splash.hide();

        for (int s = 0; s < 2; ++s) {
            for (int t = 0; t < LibraryTabCount; ++t) {
                const TLibraryPage page{static_cast<TLibrarySet>(s), t};
                const bool content = !(s == 0 && t == CollectionTab) && t != FavouritesTab;
                QCOMPARE(m_panel->Library().Page(page).Items.size(), content ? 3u : 0u);
            }
        }
        QCOMPARE(m_panel->NewPages()->count(), 13);
        QCOMPARE(m_panel->NewPages()->tabText(11), QStringLiteral("Sammlung"));
        QCOMPARE(m_panel->OldPages()->tabText(12), QStringLiteral("Favoriten"));
        QCOMPARE(m_panel->OldPages()->tabText(11), QStringLiteral("Quendrix"));

        // Icons: 64 x 64, the top-left colour transparent, the block opaque.
        QVERIFY(!m_panel->Icons().empty());
        const QImage icon = m_panel->Icons().front().toImage();
        QCOMPARE(icon.size(), QSize(64, 64));
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(20, 20)), 255);

        // Tiles sorted by key, 5 pixels apart, relaid when the view gets narrow.
        TSnapView* view = View(TLibrarySet::New, 0);
        QCOMPARE(QString::fromStdString(view->Data().Items[0].Number()), QStringLiteral("31002"));
        const auto& items = view->Data().Items;
        QCOMPARE(items[0].X, 5);
        QCOMPARE(items[0].Y, 5);
        QCOMPARE(items[1].X, items[0].X + items[0].Width + 5);
        QCOMPARE(items[1].Y, 5);
        m_panel->resize(170, 300);
        QTRY_VERIFY(view->Data().Items[1].Y > 5);
        QCOMPARE(view->Data().Items[1].X, 5);
        m_panel->resize(900, 200);
        QTRY_COMPARE(view->Data().Items[1].Y, 5);

        // The screenshot of the panel with the first page.
        m_panel->ChangeLibrary(0);
        QTest::qWait(50);
        const QString shot = QStringLiteral(KX_RUNTIME_DIR "/../screenshots/library_panel.png");
        QDir().mkpath(QFileInfo(shot).path());
        QVERIFY(m_panel->grab().save(shot));
    }

    void unreadableDefinitionIsReportedAfterTheSplash() {
        const fs::path prog = m_dir / "prog2";
        WriteBytes(prog / "def" / "10001.def", Def("10001", "Eins", 0, 0));
        WriteBytes(prog / "def" / "10002.def", Def("10002", "Zwei", 0, 0));
        TPartFiles files(prog, m_dir / "user2");
        files.DefinitionNumbers();
        fs::remove(prog / "def" / "10001.def");  // vanishes between listing and reading
        TLibraryPanel panel;
        TFormSplash splash;
        splash.show();
        const TLibraryFillResult r = panel.Fill(files, TLibraryFillOptions::Current(), &splash);
        QCOMPARE(r.Shown, 1);
        QVERIFY(QApplication::activeModalWidget() == nullptr);  // nothing hidden by the splash
        splash.hide();
        QString text;
        Answer<QMessageBox>([&text](QMessageBox* box) {
            text = box->text();
            box->accept();
        });
        QTRY_VERIFY(!text.isEmpty());
        QVERIFY(text.endsWith(QStringLiteral("10001")));
    }

    void setButtonsAndLastGroup() {
        m_panel->ChangeLibrary(3);
        QCOMPARE(m_panel->NewPages()->currentIndex(), 3);
        m_panel->btnOldBauteile->click();
        QVERIFY(m_panel->OldPages()->isVisible());
        QVERIFY(!m_panel->NewPages()->isVisible());
        QCOMPARE(m_panel->OldPages()->currentIndex(), 3);
        QCOMPARE(m_panel->LastGroup(), 12);
        m_panel->OldPages()->setCurrentIndex(10);
        QCOMPARE(m_panel->LastGroup(), 20);
        m_panel->btnNewBauteile->click();
        QVERIFY(m_panel->NewPages()->isVisible());
        QCOMPARE(m_panel->NewPages()->currentIndex(), 10);
        m_panel->ChangeLibrary(21);
        QVERIFY(m_panel->btnOldBauteile->isChecked());
        QCOMPARE(m_panel->OldPages()->currentIndex(), 11);
        m_panel->ChangeLibrary(0);
    }

    void clickSelectsTheActualPart() {
        TSnapView* view = View(TLibrarySet::New, 0);
        Click(view, 1);
        QCOMPARE(m_panel->GetActualPartNumber(), std::string("31001"));
        QCOMPARE(view->Hint(), QStringLiteral("Winkelträger 60 mit Bohrung"));
        QVERIFY(view->Data().Items[1].Selected);
        Click(view, -1);  // empty space: no tile selected
        QCOMPARE(m_panel->GetActualPartNumber(), std::string());
    }

    void searchFindsAPart() {
        TdlgSearch search(m_panel->Library());
        search.ShowSearch();
        QVERIFY(QTest::qWaitForWindowExposed(&search));
        QCOMPARE(search.windowTitle(), QStringLiteral("Suchen"));
        QVERIFY(search.windowFlags() & Qt::WindowStaysOnTopHint);
        QTest::keyClicks(search.eNr, "31045");
        QTest::keyClick(search.eNr, Qt::Key_Return);
        const TBibData* e = m_panel->Library().FindEntry("31045");
        QVERIFY(e);
        QCOMPARE(m_panel->Library().ActivePage(), e->Page);
        QCOMPARE(m_panel->GetActualPartNumber(), std::string("31045"));
        QVERIFY(m_panel->OldPages()->isVisible());

        // By name: typing clears the number field; the second search reports nothing more.
        QTest::keyClicks(search.eName, "winkeltr");
        QVERIFY(search.eNr->text().isEmpty());
        int hits = 0;
        QString message;
        Answer<QMessageBox>([&](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        for (int i = 0; i < 40 && message.isEmpty(); ++i) {
            search.btnSearch->click();
            if (message.isEmpty()) {
                ++hits;
                QVERIFY(m_panel->GetActualPartNumber() != std::string());
            }
        }
        QCOMPARE(hits, 23);  // one per group
        QCOMPARE(message, QStringLiteral("Es konnten keine (weiteren) Bauteile gefunden werden."));
    }

    void favouritesKeepTheNewest() {
        Param().SetCountFavourites(8);
        std::vector<std::string> dropped;
        for (int i = 0; i < 9; ++i) {
            const TLibraryPage page{TLibrarySet::New, i};
            TSnapView* view = View(page.Set, page.Tab);
            m_panel->ChangeLibrary(i);
            QVERIFY(m_panel->Library().StartDrag(page, 0));
            dropped.push_back(view->Data().Items[0].Number());
            m_panel->Library().PartDropped();
        }
        for (TLibrarySet set : {TLibrarySet::New, TLibrarySet::Old}) {
            const auto& fav = View(set, FavouritesTab)->Data().Items;
            QCOMPARE(fav.size(), 8u);
            QCOMPARE(fav.front().Number(), dropped[1]);
            QCOMPARE(fav.back().Number(), dropped[8]);
        }
        // The tile menu's own item removes the selected favourite of the visible set only.
        m_panel->ChangeLibrary(0);
        m_panel->NewPages()->setCurrentIndex(FavouritesTab);
        TSnapView* fav = View(TLibrarySet::New, FavouritesTab);
        QTRY_VERIFY(fav->TileRect(0).height() > 0);
        Click(fav, 0);
        QCOMPARE(m_panel->GetActualPartNumber(), dropped[1]);
        QAction* remove = nullptr;
        for (QAction* a : m_panel->TileMenu()->actions()) {
            if (a->text() == QStringLiteral("Bauteil aus Favoriten entfernen")) {
                remove = a;
            }
        }
        QVERIFY(remove);
        remove->trigger();
        QCOMPARE(fav->Data().Items.size(), 7u);
        QCOMPARE(View(TLibrarySet::Old, FavouritesTab)->Data().Items.size(), 8u);
    }

    void dragCarriesTheNumberUnlessNothingIsLeft() {
        TLibraryPage page{TLibrarySet::New, 6};
        TDragView view(m_panel->Library(), page, m_panel->Icons());
        view.resize(500, 150);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.Relayout();
        const QPoint start = view.TileRect(1).center();
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(view.viewport(), start + QPoint(2, 1));  // not yet a drag
        QVERIFY(view.Dragged.isEmpty());
        QTest::mouseMove(view.viewport(), start + QPoint(30, 20));
        QCOMPARE(view.Dragged, QStringList{QString::fromStdString(view.Data().Items[1].Number())});
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, start + QPoint(30, 20));

        // A collection tile with nothing left does not start a drag.
        const std::string number = view.Data().Items[0].Number();
        m_panel->Library().AddToCollection(number, 1);
        m_model.Placed = {number};
        m_panel->Library().RefreshCollection();
        TDragView coll(m_panel->Library(), {TLibrarySet::New, CollectionTab}, m_panel->Icons());
        coll.resize(500, 150);
        coll.show();
        QVERIFY(QTest::qWaitForWindowExposed(&coll));
        coll.Relayout();
        const int index = coll.Data().IndexOf(number);
        const QPoint at = coll.TileRect(index).center();
        QTest::mousePress(coll.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseMove(coll.viewport(), at + QPoint(30, 20));
        QVERIFY(coll.Dragged.isEmpty());
        QTest::mouseRelease(coll.viewport(), Qt::LeftButton, {}, at + QPoint(30, 20));
        m_panel->Library().Collection().Remove(index);
        m_model.Placed.clear();
    }

    void countDialogRules() {
        TdlgAddCollection dlg(1);
        QVERIFY(dlg.rbLimited->isChecked());
        QVERIFY(dlg.eCount->isEnabled());
        dlg.btnMinus->click();
        QCOMPARE(dlg.Count(), 1);
        dlg.btnPlus->click();
        dlg.btnPlus->click();
        QCOMPARE(dlg.Count(), 3);
        dlg.eCount->clear();
        QTest::keyClicks(dlg.eCount, "4x2");  // only digits get in
        QCOMPARE(dlg.eCount->text(), QStringLiteral("42"));
        dlg.eCount->setText(QString());
        QCOMPARE(dlg.Count(), 1);
        dlg.rbUnlimited->setChecked(true);
        QVERIFY(!dlg.eCount->isEnabled());
        QCOMPARE(dlg.Count(), UnlimitedCount);
        TdlgAddCollection unlimited(UnlimitedCount);
        QVERIFY(unlimited.rbUnlimited->isChecked());
    }

    void collectionSavesAndReloads() {
        // Add two parts through the tile menu, the count asked in the dialog.
        for (int tab : {0, 2}) {
            m_panel->ChangeLibrary(tab);
            Click(View(TLibrarySet::New, tab), 0);
            Answer<TdlgAddCollection>([tab](TdlgAddCollection* d) {
                d->eCount->setText(tab == 0 ? QStringLiteral("2") : QStringLiteral("5"));
                d->btnOK->click();
            });
            m_panel->TileMenu()->actions().at(0)->trigger();
        }
        const std::string first = View(TLibrarySet::New, 0)->Data().Items[0].Number();
        const std::string second = View(TLibrarySet::New, 2)->Data().Items[0].Number();
        m_model.Placed = {first, first, first};
        m_panel->Library().RefreshCollection();
        const auto& coll = View(TLibrarySet::New, CollectionTab)->Data().Items;
        QCOMPARE(coll.size(), 2u);
        QCOMPARE(coll[0].Remaining(), 0);  // 0/2: exhausted
        QVERIFY(!m_panel->Library().StartDrag({TLibrarySet::New, CollectionTab}, 0));
        QCOMPARE(coll[1].Remaining(), 5);

        const QString file = QString::fromStdString((m_dir / "sammlung").string());
        m_panel->NextFile = file;
        m_panel->SaveCollectionCommand();
        QCOMPARE(m_panel->Asked, std::vector<bool>{true});
        const fs::path saved = m_dir / "sammlung.kxc";
        QVERIFY(fs::exists(saved));
        QCOMPARE(Param().GetLastCollectionFile(), saved.string());

        // The program's own question, in the language of the settings.
        QString caption;
        Answer<TdlgMessage>([&caption](TdlgMessage* dlg) {
            caption = dlg->windowTitle();
            dlg->YesButton()->click();
        });
        m_panel->NewCollectionCommand();
        QCOMPARE(caption, QStringLiteral("Frage"));
        QCOMPARE(coll.size(), 0u);

        m_panel->NextFile = QString::fromStdString(saved.string());
        m_panel->OpenCollectionCommand();
        QCOMPARE(coll.size(), 2u);
        QCOMPARE(coll[0].Number(), first);
        QCOMPARE(coll[0].Total(), 2);
        QCOMPARE(coll[0].Remaining(), 0);
        QCOMPARE(coll[1].Number(), second);
        QCOMPARE(coll[1].Total(), 5);
        QVERIFY(m_panel->NewPages()->isVisible());
        QCOMPARE(m_panel->NewPages()->currentIndex(), CollectionTab);
        QTest::qWait(50);
        QVERIFY(m_panel->grab().save(
            QStringLiteral(KX_RUNTIME_DIR "/../screenshots/library_collection.png")));

        // A file that is no collection: a warning, and the collection and setting stay.
        WriteBytes(m_dir / "modell.kxm", "[MODEL]\r\nCount=0\r\n");
        QString warning;
        Answer<QMessageBox>([&warning](QMessageBox* box) {
            warning = box->text();
            box->accept();
        });
        QVERIFY(!m_panel->Library().OpenCollection(m_dir / "modell.kxm"));
        QCOMPARE(warning, QStringLiteral("Beim Laden der Sammlung ist ein Fehler aufgetreten."));
        QCOMPARE(coll.size(), 2u);
        QCOMPARE(Param().GetLastCollectionFile(), saved.string());

        // Start-up reopens the stored file.
        TLibraryPanel fresh;
        fresh.Fill(*m_files, TLibraryFillOptions::Current());
        QVERIFY(fresh.OpenLastCollection());
        QCOMPARE(fresh.Library().CollectionLines(), m_panel->Library().CollectionLines());
    }

    void tileMenuShowsTheItemsOfItsView() {
        auto visibleItems = [this](TSnapView* view, int index) {
            const QPoint at = view->TileRect(index).center();
            QContextMenuEvent e(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
            QApplication::sendEvent(view->viewport(), &e);
            QStringList texts;
            for (QAction* a : m_panel->TileMenu()->actions()) {
                if (a->isVisible() && !a->isSeparator()) {
                    texts << a->text();
                }
            }
            m_panel->TileMenu()->hide();
            return texts;
        };
        m_panel->ChangeLibrary(1);
        TSnapView* plain = View(TLibrarySet::New, 1);
        QCOMPARE(visibleItems(plain, 2),
                 (QStringList{"Bauteil zur Sammlung hinzufügen", "Bauteil(e) im Modell selektieren",
                              "Bauteil exportieren (.part)"}));
        QCOMPARE(m_panel->GetActualPartNumber(), plain->Data().Items[2].Number());
        m_panel->ChangeLibrary(0);
        m_panel->NewPages()->setCurrentIndex(CollectionTab);
        TSnapView* coll = View(TLibrarySet::New, CollectionTab);
        QTRY_VERIFY(coll->TileRect(0).height() > 0);
        QCOMPARE(visibleItems(coll, 0),
                 (QStringList{"Bauteil in Sammlung bearbeiten", "Bauteil aus Sammlung entfernen",
                              "Bauteil(e) im Modell selektieren", "Bauteil exportieren (.part)"}));
        m_panel->NewPages()->setCurrentIndex(FavouritesTab);
        TSnapView* fav = View(TLibrarySet::New, FavouritesTab);
        QTRY_VERIFY(fav->TileRect(0).height() > 0);
        QCOMPARE(visibleItems(fav, 0),
                 (QStringList{"Bauteil zur Sammlung hinzufügen", "Bauteil aus Favoriten entfernen",
                              "Bauteil(e) im Modell selektieren", "Bauteil exportieren (.part)"}));
    }

    void tileMenuSelectsInModel() {
        m_panel->ChangeLibrary(4);
        Click(View(TLibrarySet::New, 4), 2);
        const std::string number = m_panel->GetActualPartNumber();
        m_panel->TileMenu()->findChild<QAction*>(QStringLiteral("menFindInModel"))->trigger();
        QCOMPARE(m_model.Found.back(), number);
    }

    void maintainerDialogs() {
        TQuietView view;
        // Copy: a taken number keeps the dialog open, a new one is written to the user folder.
        TdlgCopyPart copy(*m_files, "31000", view);
        copy.show();
        QTest::keyClicks(copy.eTarget, "31001");
        copy.btnOK->click();
        QCOMPARE(view.Messages.back(), std::string("Die Bauteilnummer ist bereits vergeben"));
        QVERIFY(copy.isVisible());
        copy.eTarget->clear();
        QTest::keyClicks(copy.eTarget, "k0001");
        QCOMPARE(copy.eTarget->text(), QStringLiteral("K0001"));
        copy.cbGroup->setCurrentIndex(19);
        copy.cbColour->setCurrentIndex(3);
        copy.btnOK->click();
        QVERIFY(!copy.isVisible());
        const TDefObj made = ReadDefObj(*m_files, "K0001");
        QCOMPARE(made.Group, 19);
        QCOMPARE(int(made.Red), 224);
        QVERIFY(fs::exists(m_dir / "user" / "icon" / "K0001.bmp"));

        // Import over an existing number: asked first, No leaves everything as it was.
        WriteBytes(m_dir / "ext" / "def" / "55555.def", Def("55555", "Fremdteil", 2, 0));
        WriteIcon(m_dir / "ext" / "icon" / "55555.bmp", 100);
        TdlgImportPart import(*m_files, m_dir / "ext" / "def" / "55555.def", "31003", view);
        QCOMPARE(import.lvFiles->topLevelItemCount(), 6);
        QCOMPARE(import.lvFiles->topLevelItem(0)->text(2), QStringLiteral("ja"));
        QCOMPARE(import.lvFiles->topLevelItem(1)->text(2), QStringLiteral("nein"));
        view.Answer = false;
        QCOMPARE(import.Execute(), TImportResult::Cancelled);
        QCOMPARE(view.Questions.size(), 1u);
        QVERIFY(!fs::exists(m_dir / "user" / "def" / "31003.def"));
        view.Answer = true;
        QCOMPARE(import.Execute(), TImportResult::Done);
        QCOMPARE(ReadDefObj(*m_files, "31003").NameDe, std::string("Fremdteil"));

        // Sort order: the list reordered by the user, saved as keys 10, 110, 210.
        const TSnapViewData& tab = m_panel->Library().Page({TLibrarySet::New, 4});
        TdlgEditSort sort(*m_files, tab, m_panel->Icons());
        QCOMPARE(sort.lbParts->count(), 3);
        sort.lbParts->insertItem(0, sort.lbParts->takeItem(2));
        const std::vector<std::string> order = sort.Numbers();
        QCOMPARE(order.front(), tab.Items[2].Number());
        QVERIFY(sort.Save());
        for (size_t i = 0; i < order.size(); ++i) {
            QCOMPARE(ReadDefObj(*m_files, order[i]).SortOrder, int32_t(10 + 100 * i));
        }
    }

    void bundledKitFillsEveryPage() {
        const fs::path runtime(KX_RUNTIME_DIR);
        if (!fs::is_directory(runtime / "def")) {
            QSKIP("no bundled kit in this build");
        }
        TPartFiles kit(runtime, m_dir / "kituser");
        TLibraryPanel panel;
        panel.resize(1000, 180);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const TLibraryFillResult r = panel.Fill(kit, TLibraryFillOptions::Current());
        QVERIFY(r.Shown > 0);
        QVERIFY(r.Unreadable.empty());
        QStringList empty;
        for (int s = 0; s < 2; ++s) {
            for (int t = 0; t < LibraryTabCount; ++t) {
                const TLibraryPage page{static_cast<TLibrarySet>(s), t};
                const bool content = !(s == 0 && t == CollectionTab) && t != FavouritesTab;
                if (content && panel.Library().Page(page).Items.empty()) {
                    empty << QString::fromStdString(PageCaption(page));
                }
            }
        }
        QVERIFY2(empty.isEmpty(), qPrintable(empty.join(QStringLiteral(", "))));
        int withIcon = 0;
        for (const TBibData& e : panel.Library().Entries()) {
            withIcon += e.ImageIndex >= 0 ? 1 : 0;
        }
        QCOMPARE(withIcon, r.Shown);
        panel.ChangeLibrary(0);
        QTest::qWait(50);
        QVERIFY(
            panel.grab().save(QStringLiteral(KX_RUNTIME_DIR "/../screenshots/library_kit.png")));
        panel.ChangeLibrary(7);
        QTest::qWait(50);
        QVERIFY(panel.grab().save(
            QStringLiteral(KX_RUNTIME_DIR "/../screenshots/library_kit_motor.png")));
    }

    void englishCaptionsFromTheLanguageTable() {
        auto old = kx::SetLanguage(
            std::make_unique<TkxLanguage>(fs::path(KX_RUNTIME_DIR) / "ENGLISH.lng"));
        m_panel->DoLanguage();
        QCOMPARE(m_panel->NewPages()->tabText(2), QStringLiteral("Wheels"));
        QCOMPARE(m_panel->NewPages()->tabText(CollectionTab), QStringLiteral("Collection"));
        QCOMPARE(m_panel->TileMenu()->actions().at(0)->text(),
                 QStringLiteral("Add part to collection"));
        QCOMPARE(m_panel->TileMenu()->findChild<QAction*>(QStringLiteral("menCopyPart"))->text(),
                 QStringLiteral("Copy part"));
        TdlgSearch search(m_panel->Library());
        QCOMPARE(search.btnSearch->text(), QStringLiteral("Search"));
        kx::SetLanguage(std::move(old));
        m_panel->DoLanguage();
        QCOMPARE(m_panel->NewPages()->tabText(2), QStringLiteral("Räder"));
    }
};

KX_GUI_TEST_MAIN(TestLibraryGui)
#include "test_library_gui.moc"
