#include "vars/KvVtPkgVars.h"
#include "ui_KvVtPkgVars.h"
#include "ui_KvVtPkgVarsModify.h"

#include "strings/KvStringsList.h"
#include "vars/KvVtPkgVarsModify.h"

#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvPkgVars.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

QStringList Children(const TKvVarsTreeModel& Tree, const QModelIndex& Parent)
{
    QStringList Names;
    for (int Row = 0; Row < Tree.rowCount(Parent); ++Row)
        Names << Tree.index(Row, 0, Parent).data().toString();
    return Names;
}

// The view commits an edit and reports a refusal on later turns of the event loop.
void Commit(QLineEdit* Editing)
{
    QTest::keyClick(Editing, Qt::Key_Return);
    for (int I = 0; I < 3; ++I)
        QApplication::processEvents();
}

QString PlaceText(const TKvVarsTreeModel& Tree, const std::optional<TKvVarsPlace>& Place)
{
    if (!Place)
        return QStringLiteral("none");
    const TKvPkgVarsItem* Folder = Tree.Folder(Place->Folder);
    if (Place->Row < 0)
        return Folder->Path();
    TKvVarsListModel List;
    List.SetFolder(const_cast<TKvPkgVarsItem*>(Folder), u'.');
    return List.Item(Place->Row)->Path();
}

// A package whose folders are not in alphabetical order, holding every type of value.
class PkgVarsTest : public ::testing::Test
{
protected:
    TKvPkgVars Pkg;
    QList<TPersistent*> Told;

    void SetUp() override
    {
        Pkg.SetPkgName(QStringLiteral("Settings"));
        Pkg.Add(QStringLiteral("colors\\Dark\\Back"), vtString)->SetVString(QStringLiteral("Navy"));
        Pkg.Add(QStringLiteral("colors\\Dark\\Depth"), vtInteger)->SetVInteger(42);
        Pkg.Add(QStringLiteral("colors\\alpha"), vtFolder);
        Pkg.Add(QStringLiteral("Beta\\Ratio"), vtFloat)->SetVFloat(0.5);
        Pkg.Add(QStringLiteral("Beta\\Enabled"), vtBoolean)->SetVBoolean(true);
        Pkg.Add(QStringLiteral("Apple"), vtFolder);
        Pkg.Add(QStringLiteral("Title"), vtString)->SetVString(QStringLiteral("navy blue"));
        KvDsgnModified = [this](TPersistent* Object) { Told << Object; };
    }
    void TearDown() override { KvDsgnModified = nullptr; }
};

TEST_F(PkgVarsTest, TreeSortsFoldersWithoutRegardToCaseAndKeepsThemSortedOnRename)
{
    TKvVarsTreeModel Tree;
    Tree.SetPkg(&Pkg);
    const QModelIndex Root = Tree.RootIndex();
    EXPECT_EQ(Root.data().toString(), QStringLiteral("Settings"));
    EXPECT_EQ(Children(Tree, Root), (QStringList{"Apple", "Beta", "colors"}));
    const QModelIndex Colors = Tree.index(2, 0, Root);
    EXPECT_EQ(Children(Tree, Colors), (QStringList{"alpha", "Dark"}));
    EXPECT_EQ(Tree.FolderCount(), 5);

    // Renaming moves the folder among its siblings; a name a sibling has (in any case) is
    // refused and the old one stays.
    QSignalSpy Errors(&Tree, &TKvVarsTreeModel::Error);
    EXPECT_TRUE(Tree.setData(Tree.index(0, 0, Root), QStringLiteral("zebra"), Qt::EditRole));
    EXPECT_EQ(Children(Tree, Root), (QStringList{"Beta", "colors", "zebra"}));
    EXPECT_FALSE(Tree.setData(Tree.index(2, 0, Root), QStringLiteral("BETA"), Qt::EditRole));
    EXPECT_EQ(Errors.count(), 1);
    EXPECT_EQ(Children(Tree, Root), (QStringList{"Beta", "colors", "zebra"}));
    EXPECT_NE(Pkg.Find(QStringLiteral("zebra")), nullptr);

    // A package without a name reads "Unknown"; tree order runs depth first.
    Pkg.SetPkgName(QString());
    EXPECT_EQ(Tree.RootIndex().data().toString(), QStringLiteral("Unknown"));
    QStringList Order;
    for (QModelIndex I = Tree.NextInOrder(Tree.RootIndex()); I.isValid(); I = Tree.NextInOrder(I))
        Order << Tree.Folder(I)->Path();
    EXPECT_EQ(Order, (QStringList{"Beta", "colors", "colors\\alpha", "colors\\Dark", "zebra"}));
    QStringList Back;
    for (QModelIndex I = Tree.PrevInOrder(Tree.IndexOf(Pkg.Find(QStringLiteral("zebra")))); I.isValid();
         I = Tree.PrevInOrder(I))
        Back << Tree.data(I, Qt::DisplayRole).toString();
    EXPECT_EQ(Back, (QStringList{"Dark", "alpha", "colors", "Beta", "Unknown"}));
}

TEST_F(PkgVarsTest, ListShowsVariablesOfOneFolderWithQuotedValues)
{
    TKvVarsListModel List;
    List.SetFolder(Pkg.Find(QStringLiteral("Beta")), u',');
    ASSERT_EQ(List.rowCount(), 2);
    EXPECT_EQ(List.index(0, 0).data().toString(), QStringLiteral("Ratio"));
    EXPECT_EQ(List.index(0, 1).data().toString(), QStringLiteral("\"0,5\""));
    EXPECT_EQ(List.index(1, 1).data().toString(), QStringLiteral("\"True\""));
    // The top level lists its variables, not its folders.
    List.SetFolder(Pkg.Root(), u'.');
    ASSERT_EQ(List.rowCount(), 1);
    EXPECT_EQ(List.index(0, 1).data().toString(), QStringLiteral("\"navy blue\""));
    EXPECT_EQ(List.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Value"));
}

TEST_F(PkgVarsTest, NewNamesTakeTheSmallestFreeNumber)
{
    TKvPkgVarsItem* Folder = Pkg.Find(QStringLiteral("Apple"));
    const QString First = KvPkgVarsNewName(Folder, QStringLiteral("New Folder #"));
    EXPECT_EQ(First, QStringLiteral("New Folder #1"));
    TKvPkgVarsItem* Made = Pkg.Add(QStringLiteral("Apple\\") + First, vtFolder);
    EXPECT_EQ(KvPkgVarsNewName(Folder, QStringLiteral("New Folder #")), QStringLiteral("New Folder #2"));
    Pkg.Add(QStringLiteral("Apple\\New Folder #2"), vtFolder);
    Made->SetIdent(QStringLiteral("Kept"));
    EXPECT_EQ(KvPkgVarsNewName(Folder, QStringLiteral("New Folder #")), QStringLiteral("New Folder #1"));
    EXPECT_EQ(KvPkgVarsStatusLine(&Pkg, Made), QStringLiteral("Settings\\Apple\\Kept"));
    EXPECT_EQ(KvPkgVarsStatusLine(&Pkg, Pkg.Root()), QStringLiteral("Settings"));
    EXPECT_EQ(KvPkgVarsFileFilter(&Pkg), QStringLiteral("Package Vars (*.kvvar)|*.kvvar|All files (*.*)|*.*"));
}

TEST_F(PkgVarsTest, FindWalksTheTreeInItsSortedOrder)
{
    TKvVarsTreeModel Tree;
    Tree.SetPkg(&Pkg);
    auto Find = [&](const TKvVarsPlace& From, bool Restart, TKvVarsFindOptions Options) {
        return PlaceText(Tree, KvPkgVarsFind(Tree, From, Restart, Options, u'.'));
    };
    TKvVarsFindOptions Navy{QStringLiteral("NAVY")};
    // Value texts match without regard to case: the top level first, then the folders.
    EXPECT_EQ(Find({}, false, Navy), QStringLiteral("Title"));
    const QModelIndex Root = Tree.RootIndex();
    EXPECT_EQ(Find({Root, 0}, false, Navy), QStringLiteral("colors\\Dark\\Back"));
    Navy.MatchCase = true;
    EXPECT_EQ(Find({}, false, Navy), QStringLiteral("none"));
    Navy.MatchCase = false;
    Navy.WholeWord = true;
    EXPECT_EQ(Find({}, false, Navy), QStringLiteral("colors\\Dark\\Back"));

    // Folders match by name, "alpha" before "Dark" although added after it.
    TKvVarsFindOptions A{QStringLiteral("a")};
    const QModelIndex Colors = Tree.IndexOf(Pkg.Find(QStringLiteral("colors")));
    EXPECT_EQ(Find({Colors, -1}, false, A), QStringLiteral("colors\\alpha"));
    EXPECT_EQ(Find({Tree.IndexOf(Pkg.Find(QStringLiteral("colors\\alpha"))), -1}, false, A),
              QStringLiteral("colors\\Dark"));
    // Restarting ignores where the search stood; backwards starts at the very last value in
    // tree order, inside the last folder's last sub-folder.
    EXPECT_EQ(Find({Colors, -1}, true, A), QStringLiteral("Title"));
    A.Backward = true;
    EXPECT_EQ(Find({}, true, A), QStringLiteral("colors\\Dark\\Back"));
    EXPECT_EQ(Find({}, true, TKvVarsFindOptions{QStringLiteral("e"), false, false, true}),
              QStringLiteral("colors\\Dark\\Depth"));
    const QModelIndex Dark = Tree.IndexOf(Pkg.Find(QStringLiteral("colors\\Dark")));
    EXPECT_EQ(Find({Dark, 0}, false, A), QStringLiteral("colors\\Dark"));
    EXPECT_EQ(Find({Dark, -1}, false, A), QStringLiteral("colors\\alpha"));
    EXPECT_EQ(Find({Tree.IndexOf(Pkg.Find(QStringLiteral("Beta"))), 0}, false, A), QStringLiteral("Beta"));
    EXPECT_EQ(Find({Tree.IndexOf(Pkg.Find(QStringLiteral("Beta"))), -1}, false, A), QStringLiteral("Apple"));
}

TEST_F(PkgVarsTest, ModifyStoresByTypeAndStaysOpenOnBadText)
{
    TKvPkgVarsItem* Depth = Pkg.Find(QStringLiteral("colors\\Dark\\Depth"));
    TKvMessageRecorder Messages;
    TFrPkgVarsModify Dialog;
    Dialog.FItem = Depth;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(Dialog.ui()->LaValue->text(), QStringLiteral("&Value Information (Integer):"));
        EXPECT_EQ(Dialog.ui()->EdValue->text(), QStringLiteral("42"));
        for (const char* Bad : {"1.5", "$10", "12 "}) {
            Dialog.ui()->EdValue->setText(QString::fromLatin1(Bad));
            QTest::keyClick(Dialog.ui()->EdValue, Qt::Key_Return);
            EXPECT_TRUE(Dialog.isVisible()) << Bad;
        }
        Dialog.ui()->EdValue->setText(QStringLiteral("-7"));
        QTest::keyClick(Dialog.ui()->EdValue, Qt::Key_Return);
    });
    EXPECT_EQ(Dialog.Execute(), 1);
    EXPECT_EQ(Messages.Count(), 3);
    EXPECT_EQ(Messages.Last().Text, QStringLiteral("Incorrect Format"));
    EXPECT_EQ(Depth->GetVInteger(), -7);

    // Floats are typed with the separator given; Booleans in any case.
    TKvPkgVarsItem* Ratio = Pkg.Find(QStringLiteral("Beta\\Ratio"));
    TFrPkgVarsModify Float;
    Float.FItem = Ratio;
    Float.FSeparator = u',';
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(Float.ui()->EdValue->text(), QStringLiteral("0,5"));
        Float.ui()->EdValue->setText(QStringLiteral("2,25"));
        Float.accept();
    });
    EXPECT_EQ(Float.Execute(), 1);
    EXPECT_EQ(Ratio->GetVFloat(), 2.25);
    TKvPkgVarsItem* Enabled = Pkg.Find(QStringLiteral("Beta\\Enabled"));
    TFrPkgVarsModify Bool;
    Bool.FItem = Enabled;
    QTimer::singleShot(0, [&] {
        Bool.ui()->EdValue->setText(QStringLiteral("fAlSe"));
        Bool.accept();
    });
    EXPECT_EQ(Bool.Execute(), 1);
    EXPECT_FALSE(Enabled->GetVBoolean());
}

// The editor driven as a developer does: clicks on the tree and list, keys for the menus.
TEST_F(PkgVarsTest, EditorWithMouseAndKeys)
{
    TKvMessageRecorder Messages;
    TFrPkgVars Editor;
    Editor.PkgVars = &Pkg;
    Ui::TFrPkgVars* C = Editor.ui();
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(Editor.windowTitle(), QStringLiteral("PkgVars : Settings"));
        EXPECT_EQ(C->LaInitMode->text(), QStringLiteral("DFM"));
        EXPECT_EQ(C->LaFileName->text(), QStringLiteral("(Memory)"));
        EXPECT_EQ(C->LaStatus->text(), QStringLiteral("Settings"));
        QTreeView* T = C->TView;
        QApplication::processEvents();
        const QModelIndex Beta = Editor.Tree()->index(1, 0, Editor.Tree()->RootIndex());
        QTest::mouseClick(T->viewport(), Qt::LeftButton, {}, T->visualRect(Beta).center());
        EXPECT_EQ(C->LaStatus->text(), QStringLiteral("Settings\\Beta"));
        ASSERT_EQ(Editor.List()->rowCount(), 2);
        EXPECT_TRUE(C->BtClearAll->isEnabled());

        // Ctrl+Del on the last row asks, deletes and selects the row before.
        QTableView* L = C->LView;
        QApplication::processEvents();
        // Rows as compact as those of the strings editor's lists in the same font.
        TKvStringsListView Strings;
        Strings.setFont(L->font());
        Strings.CheckItemHeight();
        EXPECT_EQ(L->rowHeight(0), Strings.Delegate()->RowHeight());
        EXPECT_EQ(L->rowViewportPosition(1) - L->rowViewportPosition(0), L->rowHeight(0));
        QTest::mouseClick(L->viewport(), Qt::LeftButton, {}, L->visualRect(Editor.List()->index(1, 0)).center());
        Messages.Answer(KvBtnYes);
        QTest::keyClick(L, Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(Messages.Last().Buttons, (TKvMsgButtons{KvBtnYes, KvBtnNo}));
        EXPECT_EQ(Pkg.Find(QStringLiteral("Beta\\Enabled")), nullptr);
        ASSERT_EQ(Editor.List()->rowCount(), 1);
        EXPECT_EQ(L->selectionModel()->selectedRows().value(0).row(), 0);

        // Insert on the tree adds a folder beside the selected one and opens it for renaming.
        T->setFocus();
        QTest::keyClick(T, Qt::Key_Insert);
        TKvPkgVarsItem* Made = Pkg.Find(QStringLiteral("New Folder #1"));
        ASSERT_NE(Made, nullptr);
        auto* Editing = T->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(Editing, nullptr);
        Editing->selectAll();
        QTest::keyClicks(Editing, QStringLiteral("apple"));
        Commit(Editing);
        // A name a sibling has in another case: the error is shown and the caption stays.
        EXPECT_EQ(Made->Ident(), QStringLiteral("New Folder #1"));
        EXPECT_EQ(Messages.Last().MsgType, KvMsgError);
        EXPECT_EQ(T->currentIndex().data().toString(), QStringLiteral("New Folder #1"));
        QTest::keyClick(T, Qt::Key_F2);
        Editing = T->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(Editing, nullptr);
        Editing->selectAll();
        QTest::keyClicks(Editing, QStringLiteral("Cherry"));
        Commit(Editing);
        EXPECT_EQ(Made->Ident(), QStringLiteral("Cherry"));
        EXPECT_EQ(Children(*Editor.Tree(), Editor.Tree()->RootIndex()),
                  (QStringList{"Apple", "Beta", "Cherry", "colors"}));

        // A search that finds nothing says so; the next one starts from the root again.
        Editor.FindNext({QStringLiteral("nothing like it")});
        EXPECT_TRUE(Editor.EndFind());
        EXPECT_EQ(Messages.Last().MsgType, KvMsgNotice);
        Editor.FindNext({QStringLiteral("NAVY")});
        EXPECT_FALSE(Editor.EndFind());
        EXPECT_EQ(C->LaStatus->text(), QStringLiteral("Settings"));
        EXPECT_EQ(L->selectionModel()->selectedRows().value(0).row(), 0);
        QTest::keyClick(&Editor, Qt::Key_Escape);
    });
    Editor.Execute();
    EXPECT_TRUE(Pkg.EditorBounds().IsStored());
    EXPECT_FALSE(Told.isEmpty());
    EXPECT_TRUE(std::all_of(Told.begin(), Told.end(), [this](TPersistent* P) { return P == &Pkg; }));
}

TEST_F(PkgVarsTest, ClearAllAndClearFolderAskAndFollowTheContent)
{
    TKvMessageRecorder Messages;
    TFrPkgVars Editor;
    Editor.PkgVars = &Pkg;
    Ui::TFrPkgVars* C = Editor.ui();
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(C->BtClearAll->isEnabled());
        EXPECT_TRUE(C->BtClearFolder->isEnabled()); // "Title" at the top level
        Messages.Answer(KvBtnCancel);
        C->BtClearFolder->click();
        EXPECT_EQ(Messages.Last().Default, KvBtnCancel);
        EXPECT_NE(Pkg.Find(QStringLiteral("Title")), nullptr);
        Messages.Answer(KvBtnAccept);
        C->BtClearFolder->click();
        EXPECT_EQ(Pkg.Find(QStringLiteral("Title")), nullptr);
        EXPECT_NE(Pkg.Find(QStringLiteral("Beta\\Ratio")), nullptr);
        EXPECT_FALSE(C->BtClearFolder->isEnabled());
        Messages.Answer(KvBtnAccept);
        C->BtClearAll->click();
        EXPECT_EQ(Pkg.FirstItem(), nullptr);
        EXPECT_EQ(Editor.Tree()->FolderCount(), 0);
        EXPECT_FALSE(C->BtClearAll->isEnabled());
        Editor.accept();
    });
    Editor.Execute();
}

} // namespace
