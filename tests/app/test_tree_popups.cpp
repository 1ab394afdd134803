// The parts tree and the groups tree of the main window: their context menus and moving a part
// node into another build phase, on the real window and model.
#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTreeWidget>
#include <QtTest>

#include "app/Main.h"
#include "app/u_paintedicons.h"
#include "app/u_partstreedelegate.h"
#include "app/u_partstreedrag.h"
#include "app/u_treepopups.h"
#include "foundation/u_language.h"
#include "kx_gui_main.h"
#include "model/MainObj.h"
#include "model/u_TBauteil.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

QTreeWidget& PartsTree(TMainForm& form) {
    return *form.findChild<QTreeWidget*>(QStringLiteral("tvBausteine"));
}

QTreeWidget& GroupsTree(TMainForm& form) {
    return *form.findChild<QTreeWidget*>(QStringLiteral("tvGroups"));
}

QAction* Entry(const QMenu& menu, const char* name) {
    return menu.findChild<QAction*>(QString::fromLatin1(name));
}

QStringList Children(const QTreeWidgetItem* phase) {
    QStringList texts;
    for (int i = 0; i < phase->childCount(); ++i) {
        texts << phase->child(i)->text(0);
    }
    return texts;
}

}  // namespace

class TestTreePopups : public QObject {
    Q_OBJECT
private slots:
    void aPhaseNodeHidesAndShowsItsPhaseThroughThePopup() {
        TMainForm form;
        TkxMain& model = form.Model();
        const QString first = QString::fromStdString(model.AddBaustein("40001"));
        model.NewBauphase();
        model.AddBaustein("40002");
        QTreeWidget& tree = PartsTree(form);
        auto* popups = form.findChild<TTreePopups*>();
        QVERIFY(popups);
        QCOMPARE(tree.topLevelItemCount(), 2);

        // Nothing to offer for a part node or without a node.
        tree.setCurrentItem(nullptr);
        QVERIFY(!popups->PreparePartsMenu());
        tree.setCurrentItem(tree.topLevelItem(0)->child(0));
        QVERIFY(!popups->PreparePartsMenu());

        QTreeWidgetItem* phase1 = tree.topLevelItem(0);
        tree.setCurrentItem(phase1);
        QVERIFY(popups->PreparePartsMenu());
        Entry(popups->PartsMenu(), "menPhaseInvisible")->trigger();
        QVERIFY(!model.PhaseVisible(1));
        QVERIFY(!model.PartObject(first.toStdString())->Visible());
        QVERIFY(tree.topLevelItem(0)->font(0).italic());
        Entry(popups->PartsMenu(), "menPhaseVisible")->trigger();
        QVERIFY(model.PhaseVisible(1));
        QVERIFY(model.PartObject(first.toStdString())->Visible());
        QVERIFY(!tree.topLevelItem(0)->font(0).italic());
    }

    void theGroupsPopupOffersWhatFitsTheNode() {
        TMainForm form;
        TkxMain& model = form.Model();
        const std::string a = model.AddBaustein("40001");
        const std::string b = model.AddBaustein("40002");
        const std::string c = model.AddBaustein("40003");
        model.SelectBaustein(a);
        model.CoSelectBaustein(b, true, true, true);
        QVERIFY(model.GroupBauteile());
        QTreeWidget& tree = GroupsTree(form);
        QCOMPARE(tree.topLevelItemCount(), 1);
        auto* popups = form.findChild<TTreePopups*>();
        QMenu& menu = popups->GroupsMenu();
        auto shown = [&](const char* name) { return Entry(menu, name)->isVisible(); };

        tree.setCurrentItem(nullptr);
        popups->PrepareGroupsMenu();
        QVERIFY(!shown("menShowOnlyGroup"));
        QVERIFY(!shown("menDuplicateGroup"));
        QVERIFY(shown("menCloseGroupPopup"));

        tree.setCurrentItem(tree.topLevelItem(0));
        model.SelectBaustein(c);
        popups->PrepareGroupsMenu();
        QVERIFY(shown("menShowOnlyGroup"));
        QVERIFY(!shown("menRemoveFromGroup"));
        QVERIFY(shown("menAddSelectionToGroup"));
        QVERIFY(shown("menDuplicateGroup"));

        // "Show only this group": the third part, not a member, disappears from the view.
        Entry(menu, "menShowOnlyGroup")->trigger();
        QVERIFY(model.PartObject(a)->Visible());
        QVERIFY(!model.PartObject(c)->Visible());

        // Removing a member through its node.
        tree.setCurrentItem(tree.topLevelItem(0)->child(1));
        popups->PrepareGroupsMenu();
        QVERIFY(shown("menRemoveFromGroup"));
        QVERIFY(!shown("menDuplicateGroup"));
        Entry(menu, "menRemoveFromGroup")->trigger();
        QCOMPARE(model.Groups().front()->Members, std::vector<std::string>{a});
    }

    void popupCaptionsComeFromTheLanguageTable() {
        auto old = SetLanguage(std::make_unique<TkxLanguage>(TIniFileEx(
            std::vector<std::string>{"[MAIN]", "00197=Hide build phase", "00203=Close"})));
        {
            TMainForm form;
            auto* popups = form.findChild<TTreePopups*>();
            QCOMPARE(Entry(popups->PartsMenu(), "menPhaseInvisible")->text(),
                     QStringLiteral("Hide build phase"));
            QCOMPARE(Entry(popups->GroupsMenu(), "menCloseGroupPopup")->text(),
                     QStringLiteral("Close"));
            // A key the table lacks keeps the German caption.
            QCOMPARE(Entry(popups->PartsMenu(), "menPhaseVisible")->text(),
                     QStringLiteral("Bauphase sichtbar"));
        }
        SetLanguage(std::move(old));
    }

    void aPartNodeMovesIntoTheTargetNodesPhase() {
        TMainForm form;
        TkxMain& model = form.Model();
        const std::string a = model.AddBaustein("40001");
        const std::string b = model.AddBaustein("40002");
        model.NewBauphase();
        model.NewBauphase();
        const std::string c = model.AddBaustein("40003");
        QTreeWidget& tree = PartsTree(form);
        auto* drag = form.findChild<TPartsTreeDrag*>();
        QVERIFY(drag);
        QCOMPARE(tree.topLevelItemCount(), 3);

        // Only part nodes can be dragged; every node takes a drop.
        QVERIFY(!(tree.topLevelItem(0)->flags() & Qt::ItemIsDragEnabled));
        QVERIFY(tree.topLevelItem(0)->child(0)->flags() & Qt::ItemIsDragEnabled);
        QVERIFY(tree.topLevelItem(0)->flags() & Qt::ItemIsDropEnabled);

        // Onto a part node of phase 3: the part joins phase 3, after its parts.
        tree.setCurrentItem(tree.topLevelItem(0)->child(0));
        QVERIFY(drag->MoveCurrentPartTo(tree.topLevelItem(2)->child(0)));
        QCOMPARE(model.FindBauteil(a)->Phase(), 3);
        QCOMPARE(Children(tree.topLevelItem(0)), QStringList{QString::fromStdString(b)});
        QCOMPARE(Children(tree.topLevelItem(2)),
                 (QStringList{QString::fromStdString(c), QString::fromStdString(a)}));
        QCOMPARE(tree.currentItem()->text(0), QString::fromStdString(a));

        // Onto a phase node (the empty phase 2).
        QVERIFY(drag->MoveCurrentPartTo(tree.topLevelItem(1)));
        QCOMPARE(model.FindBauteil(a)->Phase(), 2);
        QCOMPARE(Children(tree.topLevelItem(1)), QStringList{QString::fromStdString(a)});

        // A phase node is not moved, and nothing happens without a target.
        tree.setCurrentItem(tree.topLevelItem(0));
        QVERIFY(!drag->MoveCurrentPartTo(tree.topLevelItem(2)));
        tree.setCurrentItem(tree.topLevelItem(0)->child(0));
        QVERIFY(!drag->MoveCurrentPartTo(nullptr));
        QCOMPARE(model.FindBauteil(b)->Phase(), 1);
    }

    void clickingTheCurrentNodeAgainChoosesItsPartAgain() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        const std::string a = model.AddBaustein("40001");
        model.DeSelectAllBausteine();
        QTreeWidget& tree = PartsTree(form);
        tree.expandAll();
        QTreeWidgetItem* node = tree.topLevelItem(0)->child(0);
        const QPoint at = tree.visualItemRect(node).center();
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
        QVERIFY(model.SelectedPart());
        QCOMPARE(model.SelectedPart()->Name(), a);
        const size_t steps = model.UndoList().Count();

        // The view took the selection away, and the tree no longer marks the part; a click on
        // the node chooses it again.
        model.DeSelectAllBausteine();
        QVERIFY(!tree.currentItem());
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
        QVERIFY(model.SelectedPart());
        QCOMPARE(model.SelectedPart()->Name(), a);
        // Clicking it once more changes nothing, and leaves no second undo step.
        const size_t after = model.UndoList().Count();
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(model.UndoList().Count(), after);
        QVERIFY(after >= steps);
    }

    void aPartHiddenInTheViewIsMarkedInTheTree() {
        TMainForm form;
        TkxMain& model = form.Model();
        const std::string a = model.AddBaustein("40001");
        const QString name = QString::fromStdString(a);
        QCOMPARE(TPartsTreeDelegate::StatusLetters(model, name), QStringLiteral("JV"));
        model.PartObject(a)->SetVisible(false);
        QCOMPARE(TPartsTreeDelegate::StatusLetters(model, name), QStringLiteral("J-"));
        QCOMPARE(TPartsTreeDelegate::StatusLetters(model, QStringLiteral("F99999_1")),
                 QStringLiteral("N-"));

        // The hidden part's node is drawn grey and slanted.
        QTreeWidget& tree = PartsTree(form);
        auto* delegate = qobject_cast<TPartsTreeDelegate*>(tree.itemDelegate());
        QVERIFY(delegate);
        const QModelIndex index = tree.model()->index(0, 0, tree.model()->index(0, 0));
        QCOMPARE(index.data().toString(), name);
        // Painted, its darkest ink is grey; shown again, it is the normal dark text.
        auto darkest = [&] {
            QStyleOptionViewItem option;
            option.initFrom(&tree);
            option.rect = QRect(0, 0, 200, 20);
            QImage picture(200, 20, QImage::Format_ARGB32);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            delegate->paint(&painter, option, index);
            painter.end();
            int least = 255;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    least = qMin(least, qGray(picture.pixel(x, y)));
                }
            }
            return least;
        };
        QVERIFY(darkest() > 90);
        model.PartObject(a)->SetVisible(true);
        QVERIFY(darkest() < 60);
    }

    void nodesShowTheirImages() {
        TMainForm form;
        TkxMain& model = form.Model();
        const std::string a = model.AddBaustein("40001");
        model.AddBaustein("40002");
        model.NewBauphase();
        model.SelectBaustein(a);
        QVERIFY(model.GroupBauteile());
        QTreeWidget& tree = PartsTree(form);
        auto key = [](const QTreeWidgetItem* item) { return item->icon(0).cacheKey(); };
        QVERIFY(!tree.topLevelItem(0)->icon(0).isNull());
        QVERIFY(!tree.topLevelItem(0)->child(0)->icon(0).isNull());
        // The current phase, another phase and a part each look different.
        QCOMPARE(key(tree.topLevelItem(1)), TreeNodeIcon(0).cacheKey());
        QCOMPARE(key(tree.topLevelItem(0)), TreeNodeIcon(2).cacheKey());
        QCOMPARE(key(tree.topLevelItem(0)->child(0)), TreeNodeIcon(1).cacheKey());
        QVERIFY(TreeNodeIcon(0).cacheKey() != TreeNodeIcon(2).cacheKey());
        QVERIFY(TreeNodeIcon(5).isNull());
        // Hiding a phase changes its node's image.
        tree.setCurrentItem(tree.topLevelItem(0));
        auto* popups = form.findChild<TTreePopups*>();
        popups->PartsMenu().findChild<QAction*>(QStringLiteral("menPhaseInvisible"))->trigger();
        QCOMPARE(key(tree.topLevelItem(0)), TreeNodeIcon(3).cacheKey());

        QTreeWidget& groups = GroupsTree(form);
        QCOMPARE(key(groups.topLevelItem(0)), TreeNodeIcon(12).cacheKey());
        QCOMPARE(key(groups.topLevelItem(0)->child(0)), TreeNodeIcon(48).cacheKey());
    }

    void dropsFromOutsideTheTreeAreRefused() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        const std::string a = model.AddBaustein("40001");
        model.NewBauphase();
        QTreeWidget& tree = PartsTree(form);
        tree.setCurrentItem(tree.topLevelItem(0)->child(0));
        const QPoint at = tree.visualItemRect(tree.topLevelItem(1)).center();
        QMimeData mime;
        mime.setText(QStringLiteral("40002"));
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(tree.viewport(), &drop);
        QCoreApplication::processEvents();
        QVERIFY(!drop.isAccepted());
        QCOMPARE(model.FindBauteil(a)->Phase(), 1);
        QCOMPARE(tree.topLevelItem(0)->childCount(), 1);
    }
};

KX_GUI_TEST_MAIN(TestTreePopups)

#include "test_tree_popups.moc"
