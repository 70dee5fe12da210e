#include "controls/KvMenuTreeModel.h"
#include "controls/KvVtMenus.h"

#include "KvFormDesigner.h"
#include "KvHostServices.h"
#include "KvMenus.h"
#include "KvMessages.h"
#include "registration/KvCompEditors.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>

#include <gtest/gtest.h>

void PrintTo(const QString& Text, std::ostream* Out)
{
    *Out << '"' << Text.toStdString() << '"';
}

namespace {

void WriteFile(const QString& Path, const QByteArray& Text)
{
    QFile F(Path);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Text);
}

// A project of two forms: a main menu with a sub-menu and an empty popup menu on the first,
// a main menu on the second.
class KvMenuEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteFile(Dir.filePath("Menus.dpr"), "program Menus;\r\n\r\nuses\r\n  Forms,\r\n"
                                             "  First in 'First.pas' {FormFirst},\r\n"
                                             "  Second in 'Second.pas' {FormSecond};\r\n\r\nbegin\r\nend.\r\n");
        WriteUnit("First", "FormFirst", {"MmMain: TKvMainMenu", "MiFile: TKvMenuItem", "MiOpen: TKvMenuItem",
                                         "MiExit: TKvMenuItem", "MiHelp: TKvMenuItem", "PmEdit: TKvPopupMenu"});
        WriteFile(Dir.filePath("First.dfm"), "object FormFirst: TFormFirst\r\n"
                                             "  object MmMain: TKvMainMenu\r\n"
                                             "    object MiFile: TKvMenuItem\r\n      Caption = 'File'\r\n"
                                             "      object MiOpen: TKvMenuItem\r\n        Caption = 'Open'\r\n      end\r\n"
                                             "      object MiExit: TKvMenuItem\r\n        Caption = 'Exit'\r\n      end\r\n"
                                             "    end\r\n"
                                             "    object MiHelp: TKvMenuItem\r\n      Caption = 'Help'\r\n    end\r\n"
                                             "  end\r\n"
                                             "  object PmEdit: TKvPopupMenu\r\n  end\r\n"
                                             "end\r\n");
        WriteUnit("Second", "FormSecond", {"MmOther: TKvMainMenu"});
        WriteFile(Dir.filePath("Second.dfm"), "object FormSecond: TFormSecond\r\n"
                                              "  object MmOther: TKvMainMenu\r\n  end\r\nend\r\n");
        Host.OpenProject(Dir.filePath("Menus.dpr"));
        D = Host.OpenForm(Dir.filePath("First.pas"))->Designer();
        Main.SetDesigner(D);
        Main.SetMenu(Find("MmMain"));
        Popup.SetDesigner(D);
        Popup.SetMenu(Find("PmEdit"));
    }

    void WriteUnit(const QString& Unit, const QString& Form, const QStringList& Fields)
    {
        QString Text = QStringLiteral("unit %1;\r\n\r\ninterface\r\n\r\nuses\r\n  Classes, Forms;\r\n\r\ntype\r\n"
                                      "  T%2 = class(TForm)\r\n")
                           .arg(Unit, Form);
        for (const QString& Field : Fields)
            Text += QStringLiteral("    %1;\r\n").arg(Field);
        Text += QStringLiteral("  end;\r\n\r\nvar\r\n  %1: T%1;\r\n\r\nimplementation\r\n\r\n{$R *.dfm}\r\n\r\nend.\r\n").arg(Form);
        WriteFile(Dir.filePath(Unit + ".pas"), Text.toUtf8());
    }

    TComponent* Find(const char* Name) const { return D->GetRoot()->FindComponent(QString::fromLatin1(Name)); }
    QString UnitText() const { return D->FormEditor()->UnitModule()->SourceEditor()->Text(); }

    // The tree as text: captions indented by level, placeholders as <Eof>.
    static QStringList Shape(const TKvMenuTreeModel& Model)
    {
        QStringList Lines;
        const std::function<void(const QModelIndex&, int)> Walk = [&](const QModelIndex& Index, int Level) {
            Lines << QString(Level * 2, u' ') + Index.data().toString();
            for (int I = 0; I < Model.rowCount(Index); ++I)
                Walk(Model.index(I, 0, Index), Level + 1);
        };
        if (Model.RootIndex().isValid())
            Walk(Model.RootIndex(), 0);
        return Lines;
    }

    QModelIndex Node(const TKvMenuTreeModel& Model, const char* Name) const { return Model.IndexOf(Find(Name)); }

    QTemporaryDir Dir;
    TKvHostServices Host;
    TKvFormDesigner* D = nullptr;
    TKvMenuTreeModel Main;
    TKvMenuTreeModel Popup;
};

TEST_F(KvMenuEditorTest, TreeShowsItemsWithPlaceholdersAndPaths)
{
    EXPECT_EQ(Shape(Main), (QStringList{"MmMain", "  File", "    Open", "    Exit", "    <Eof>", "  Help", "  <Eof>"}));
    EXPECT_EQ(Shape(Popup), QStringList{"PmEdit"});
    EXPECT_EQ(Main.PathOf(Node(Main, "MiOpen")), "MmMain/File/Open");
    EXPECT_TRUE(Main.IsPlaceholder(Main.index(2, 0, Main.RootIndex())));
    EXPECT_EQ(Main.ItemAt(Main.RootIndex()), nullptr);
    EXPECT_EQ(Main.IndexOf(Find("MmMain")), Main.RootIndex());
    EXPECT_EQ(Main.IndexOf(Find("PmEdit")), QModelIndex()); // another menu's
}

TEST_F(KvMenuEditorTest, AddInsertAndSubItemCreateItemsWithFieldsAsOneStepEach)
{
    QUndoStack* Stack = D->UndoStack();
    const int Steps = Stack->count();

    // The first item of an empty menu brings the placeholder with it.
    QModelIndex Added = Popup.AddItem(Popup.RootIndex());
    EXPECT_EQ(Shape(Popup), (QStringList{"PmEdit", "  KvMenuItem1", "  <Eof>"}));
    EXPECT_EQ(Popup.ItemAt(Added)->GetName(), "KvMenuItem1");
    EXPECT_TRUE(UnitText().contains("KvMenuItem1: TKvMenuItem;"));

    // Insert goes before the selected node, Add after the last sibling whatever is selected.
    Main.InsertItem(Node(Main, "MiExit"));
    Main.AddItem(Node(Main, "MiOpen"));
    EXPECT_EQ(Shape(Main), (QStringList{"MmMain", "  File", "    Open", "    KvMenuItem2", "    Exit", "    KvMenuItem3",
                                        "    <Eof>", "  Help", "  <Eof>"}));

    // A sub-menu on an item without one; on an item with one only its first child is chosen.
    const QModelIndex Sub = Main.AddSubItem(Node(Main, "MiHelp"));
    EXPECT_EQ(Main.PathOf(Sub), "MmMain/Help/KvMenuItem4");
    EXPECT_EQ(Main.rowCount(Node(Main, "MiHelp")), 2);
    EXPECT_EQ(Main.AddSubItem(Node(Main, "MiFile")), Node(Main, "MiOpen"));
    EXPECT_EQ(Stack->count(), Steps + 4);
    EXPECT_EQ(Stack->undoText(), "New Sub Menu Item");

    Stack->undo();
    EXPECT_EQ(Find("KvMenuItem4"), nullptr);
    EXPECT_FALSE(UnitText().contains("KvMenuItem4"));
}

TEST_F(KvMenuEditorTest, DeleteSelectsNeighbourAndEmptiedSubMenuLosesPlaceholder)
{
    const auto Delete = [this](const char* Name) { return Main.PathOf(Main.DeleteItem(Node(Main, Name))); };
    // The next sibling takes the selection, past the last one the previous.
    EXPECT_EQ(Delete("MiOpen"), "MmMain/File/Exit");
    EXPECT_FALSE(UnitText().contains("MiOpen"));
    // The only item of a sub-menu: its placeholder goes too, the item above is selected.
    EXPECT_EQ(Delete("MiExit"), "MmMain/File");
    EXPECT_EQ(Shape(Main), (QStringList{"MmMain", "  File", "  Help", "  <Eof>"}));
    // A deleted item takes its sub-items and their fields with it.
    Main.AddSubItem(Node(Main, "MiHelp"));
    EXPECT_EQ(Delete("MiHelp"), "MmMain/File");
    EXPECT_FALSE(UnitText().contains("KvMenuItem1"));
    // Placeholders and the root are not deleted.
    EXPECT_FALSE(Main.DeleteItem(Main.RootIndex()).isValid());
    EXPECT_FALSE(Main.DeleteItem(Main.index(1, 0, Main.RootIndex())).isValid());
}

TEST_F(KvMenuEditorTest, ClearAskesFirstAndOnlyAcceptClears)
{
    TFrMenus* Window = KvEditMenu(Find("MmMain"), D);
    {
        const TKvMessageRecorder Recorder({KvBtnCancel});
        Window->ClearAll();
        EXPECT_EQ(Recorder.Count(), 1);
        EXPECT_EQ(Recorder.Last().MsgType, KvMsgQuestion);
        EXPECT_EQ(Recorder.Last().Default, KvBtnCancel);
    }
    EXPECT_EQ(KvMenuItemsOf(Find("MmMain"))->Count(), 2);
    {
        const TKvMessageRecorder Recorder({KvBtnAccept});
        Window->ClearAll();
    }
    EXPECT_EQ(Shape(*Window->Model()), QStringList{"MmMain"});
    EXPECT_EQ(Find("MiOpen"), nullptr);
    EXPECT_FALSE(UnitText().contains("TKvMenuItem"));
}

TEST_F(KvMenuEditorTest, CopyAndPasteBetweenMenusGivesFreshNames)
{
    Popup.AddItem(Popup.RootIndex());  // KvMenuItem1
    Popup.AddItem(Popup.RootIndex());  // KvMenuItem2
    Main.CopyItem(Node(Main, "MiFile"));
    const QModelIndex Pasted = Popup.Paste(Node(Popup, "KvMenuItem2"));
    // The copy and its sub-items take the first free names; the original keeps its own.
    EXPECT_EQ(Popup.PathOf(Pasted), "PmEdit/File");
    EXPECT_EQ(Popup.ItemAt(Pasted)->GetName(), "KvMenuItem3");
    EXPECT_EQ(Shape(Popup), (QStringList{"PmEdit", "  KvMenuItem1", "  File", "    Open", "    Exit", "    <Eof>",
                                         "  KvMenuItem2", "  <Eof>"}));
    EXPECT_EQ(Popup.ItemAt(Popup.index(0, 0, Pasted))->GetName(), "KvMenuItem4");
    EXPECT_TRUE(UnitText().contains("KvMenuItem5: TKvMenuItem;"));
    EXPECT_NE(Find("MiFile"), nullptr);
    EXPECT_EQ(D->UndoStack()->undoText(), "Paste");

    // Cut moves an item to the clipboard; pasting into another form's menu brings it there.
    Main.CutItem(Node(Main, "MiHelp"));
    EXPECT_EQ(Find("MiHelp"), nullptr);
    TKvFormDesigner* Other = Host.OpenForm(Dir.filePath("Second.pas"))->Designer();
    TKvMenuTreeModel OtherMenu;
    OtherMenu.SetDesigner(Other);
    OtherMenu.SetMenu(Other->GetRoot()->FindComponent("MmOther"));
    OtherMenu.Paste({});
    EXPECT_EQ(Shape(OtherMenu), (QStringList{"MmOther", "  Help", "  <Eof>"}));
    EXPECT_EQ(KvMenuItemsOf(Other->GetRoot()->FindComponent("MmOther"))->Items(0)->GetName(), "KvMenuItem1");
}

TEST_F(KvMenuEditorTest, DragMovesWithinAMenuAndCopiesAcrossMenus)
{
    // Within one menu: MiOpen before MiHelp, leaving File with Exit only.
    std::unique_ptr<QMimeData> Data(Main.mimeData({Node(Main, "MiOpen")}));
    ASSERT_TRUE(Data);
    EXPECT_TRUE(Main.canDropMimeData(Data.get(), Qt::MoveAction, -1, -1, Node(Main, "MiHelp")));
    Main.dropMimeData(Data.get(), Qt::MoveAction, -1, -1, Node(Main, "MiHelp"));
    EXPECT_EQ(Shape(Main), (QStringList{"MmMain", "  File", "    Exit", "    <Eof>", "  Open", "  Help", "  <Eof>"}));
    // Dragging the last sub-item out empties the sub-menu.
    Data.reset(Main.mimeData({Node(Main, "MiExit")}));
    Main.dropMimeData(Data.get(), Qt::MoveAction, -1, -1, Main.RootIndex());
    EXPECT_EQ(Shape(Main), (QStringList{"MmMain", "  Exit", "  File", "  Open", "  Help", "  <Eof>"}));
    // An item cannot go inside itself.
    Main.AddSubItem(Node(Main, "MiFile"));
    Data.reset(Main.mimeData({Node(Main, "MiFile")}));
    EXPECT_FALSE(Main.MoveItem(qobject_cast<TKvMenuItem*>(Find("MiFile")), Node(Main, "KvMenuItem1")).isValid());

    // To another editor: a copy, names kept only where the form has none such.
    Data.reset(Main.mimeData({Node(Main, "MiFile")}));
    Popup.dropMimeData(Data.get(), Qt::MoveAction, -1, -1, Popup.RootIndex());
    EXPECT_EQ(Shape(Popup), (QStringList{"PmEdit", "  File", "    KvMenuItem1", "    <Eof>", "  <Eof>"}));
    EXPECT_EQ(Popup.ItemAt(Popup.index(0, 0, Popup.RootIndex()))->GetName(), "KvMenuItem2");
    EXPECT_NE(Find("MiFile"), nullptr);

    // A menu bar of 31 top-level nodes (placeholder counted) takes no more at the top level.
    while (Main.rowCount(Main.RootIndex()) < TKvMenuTreeModel::MaxTopLevel)
        Main.AddItem(Main.RootIndex());
    Data.reset(Popup.mimeData({Popup.index(0, 0, Popup.RootIndex())}));
    EXPECT_FALSE(Main.canDropMimeData(Data.get(), Qt::CopyAction, -1, -1, Node(Main, "MiOpen")));
    EXPECT_TRUE(Main.canDropMimeData(Data.get(), Qt::CopyAction, -1, -1, Node(Main, "KvMenuItem1")));
}

// The window as the user meets it: opened by the menu's double click, driven by mouse and keys.
TEST_F(KvMenuEditorTest, WindowFollowsDesignerAndSurvivesUndo)
{
    TKvMainMenuComponentEditor Editor(Find("MmMain"), D);
    Editor.Edit();
    auto* Window = qobject_cast<TFrMenus*>(qobject_cast<TKvMainMenu*>(Find("MmMain"))->EditorWindow());
    ASSERT_NE(Window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window));
    Editor.Edit();
    EXPECT_EQ(qobject_cast<TKvMainMenu*>(Find("MmMain"))->EditorWindow(), Window); // one per menu
    auto* Tree = Window->findChild<QTreeView*>("Tree");
    Tree->expandAll();

    // A click on a node selects its item in the designer and shows its path.
    QTest::mouseClick(Tree->viewport(), Qt::LeftButton, {}, Tree->visualRect(Node(*Window->Model(), "MiExit")).center());
    EXPECT_EQ(D->GetSelections(), TDesignerSelectionList{Find("MiExit")});
    EXPECT_EQ(Window->findChild<QStatusBar*>("StatusBar")->currentMessage(), "MmMain/File/Exit");
    // The designer's selection moves the tree, without coming back.
    D->SelectComponent(Find("MiHelp"));
    EXPECT_EQ(Window->Selected(), Node(*Window->Model(), "MiHelp"));
    D->SelectComponent(Find("PmEdit"));
    EXPECT_EQ(Window->Selected(), Node(*Window->Model(), "MiHelp"));

    // Insert key: a new item before Help, its caption edited in place.
    Tree->setFocus();
    QTest::keyClick(Tree, Qt::Key_Insert);
    auto* Edit = Tree->findChild<QLineEdit*>();
    ASSERT_NE(Edit, nullptr);
    Edit->selectAll();
    QTest::keyClicks(Edit, "Edit");
    QTest::keyClick(Edit, Qt::Key_Return);
    QCoreApplication::processEvents(); // the view commits the text queued
    TComponent* Added = Find("KvMenuItem1");
    ASSERT_NE(Added, nullptr);
    EXPECT_EQ(Added->property("Caption").toString(), "Edit");
    EXPECT_EQ(D->UndoStack()->undoText(), "Set KvMenuItem1.Caption");
    // Ctrl+Right makes a sub-menu of it; the tool button deletes what is selected.
    QTest::keyClick(Tree, Qt::Key_Right, Qt::ControlModifier);
    if (QLineEdit* Open = Tree->findChild<QLineEdit*>(); Open && Open->isVisible())
        QTest::keyClick(Open, Qt::Key_Escape);
    EXPECT_EQ(Window->Model()->PathOf(Window->Selected()), "MmMain/Edit/KvMenuItem2");
    QTest::mouseClick(Window->findChild<QToolButton*>("SBDelete"), Qt::LeftButton);
    EXPECT_EQ(Find("KvMenuItem2"), nullptr);
    EXPECT_EQ(Window->Model()->PathOf(Window->Selected()), "MmMain/Edit");

    // Undo in the designer makes every component anew: the window stays, on the new menu.
    D->UndoStack()->undo(); // the deletion
    EXPECT_EQ(qobject_cast<TKvMainMenu*>(Find("MmMain"))->EditorWindow(), Window);
    EXPECT_EQ(Window->Menu, Find("MmMain"));
    EXPECT_TRUE(Window->Model()->IndexOf(Find("KvMenuItem2")).isValid());
    EXPECT_TRUE(Tree->isExpanded(Node(*Window->Model(), "MiFile")));
    D->UndoStack()->undo(); // the sub-menu
    D->UndoStack()->undo(); // the caption
    D->UndoStack()->undo(); // the insertion
    EXPECT_EQ(Shape(*Window->Model()),
              (QStringList{"MmMain", "  File", "    Open", "    Exit", "    <Eof>", "  Help", "  <Eof>"}));

    // Deleting the menu in the designer closes its editor.
    const QPointer<TFrMenus> Watch(Window);
    D->DeleteComponents({Find("MmMain")});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Watch.isNull());
}

} // namespace
