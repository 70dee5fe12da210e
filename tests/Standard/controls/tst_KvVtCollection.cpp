#include "controls/KvCollectionEdit.h"
#include "controls/KvVtCollPageControl.h"
#include "controls/KvVtCollection.h"
#include "controls/KvVtFindDialog.h"

#include "KvFormDesigner.h"
#include "KvHostServices.h"
#include "KvMessages.h"
#include "KvStdCtrls.h"
#include "registration/KvCompEditors.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

void PrintTo(const QString& Text, std::ostream* Out);

namespace {

void WriteFile(const QString& Path, const QByteArray& Text)
{
    QFile F(Path);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Text);
}

// A form with a radio group of three items and a page control of two tabs and two sheets.
class KvCollectionEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteFile(Dir.filePath("Coll.dpr"), "program Coll;\r\n\r\nuses\r\n  Forms,\r\n"
                                            "  Lists in 'Lists.pas' {FormLists};\r\n\r\nbegin\r\nend.\r\n");
        WriteFile(Dir.filePath("Lists.pas"), "unit Lists;\r\n\r\ninterface\r\n\r\nuses\r\n  Classes, Forms;\r\n\r\n"
                                             "type\r\n  TFormLists = class(TForm)\r\n    RgKind: TKvRadioGroup;\r\n"
                                             "    PcMain: TKvPageControl;\r\n    TsOne: TKvTabSheet;\r\n"
                                             "    TsTwo: TKvTabSheet;\r\n  end;\r\n\r\nvar\r\n  FormLists: TFormLists;\r\n\r\n"
                                             "implementation\r\n\r\n{$R *.dfm}\r\n\r\nend.\r\n");
        WriteFile(Dir.filePath("Lists.dfm"),
                  "object FormLists: TFormLists\r\n"
                  "  object RgKind: TKvRadioGroup\r\n    Items = <\r\n"
                  "      item\r\n        Caption = 'Alpha'\r\n      end\r\n"
                  "      item\r\n        Caption = 'Beta'\r\n      end\r\n"
                  "      item\r\n        Caption = 'Alphabet'\r\n      end>\r\n  end\r\n"
                  "  object PcMain: TKvPageControl\r\n    Tabs = <\r\n"
                  "      item\r\n        Caption = 'One'\r\n        PageId = 1\r\n      end\r\n"
                  "      item\r\n        Caption = 'Two'\r\n        PageId = 2\r\n      end>\r\n"
                  "    object TsOne: TKvTabSheet\r\n      PageId = 1\r\n    end\r\n"
                  "    object TsTwo: TKvTabSheet\r\n      PageId = 2\r\n    end\r\n  end\r\n"
                  "end\r\n");
        Host.OpenProject(Dir.filePath("Coll.dpr"));
        D = Host.OpenForm(Dir.filePath("Lists.pas"))->Designer();
    }

    TComponent* Find(const char* Name) const { return D->GetRoot()->FindComponent(QString::fromLatin1(Name)); }
    TKvCollection* Items() const { return qobject_cast<TKvCustomRadioGroup*>(Find("RgKind"))->Items(); }
    TKvCustomPageControl* Pages() const { return qobject_cast<TKvCustomPageControl*>(Find("PcMain")); }
    static QStringList Texts(const QListWidget* List)
    {
        QStringList Lines;
        for (int I = 0; I < List->count(); ++I)
            Lines << List->item(I)->text();
        return Lines;
    }
    static void Click(QWidget* Window, const char* Button)
    {
        QTest::mouseClick(Window->findChild<QPushButton*>(QString::fromLatin1(Button)), Qt::LeftButton);
    }

    QTemporaryDir Dir;
    TKvHostServices Host;
    TKvFormDesigner* D = nullptr;
};

TEST_F(KvCollectionEditorTest, CommandsChangeTheCollectionAsOneStepEach)
{
    using namespace KvCollectionEdit;
    TKvCollection* C = Items();
    QUndoStack* Stack = D->UndoStack();
    EXPECT_EQ(Lines(C), (QStringList{"0 - Alpha", "1 - Beta", "2 - Alphabet"}));

    EXPECT_EQ(Insert(D, C, 1), 1);
    EXPECT_EQ(C->Count(), 4);
    EXPECT_EQ(Lines(C).at(2), "2 - Beta");
    EXPECT_EQ(Add(D, C), 4);
    // Moving the first up or the last down changes nothing and makes no step.
    const int Steps = Stack->count();
    EXPECT_EQ(Move(D, C, 0, -1), 0);
    EXPECT_EQ(Move(D, C, 4, 5), 4);
    EXPECT_EQ(Stack->count(), Steps);
    EXPECT_EQ(Move(D, C, 2, 0), 0);
    EXPECT_EQ(C->Items(0)->GetDisplayName(), "Beta");

    // Deleting the last selects the new last; deleting the only one leaves none.
    EXPECT_EQ(Delete(D, C, 4), 3);
    Clear(D, C);
    EXPECT_EQ(C->Count(), 0);
    Add(D, C);
    EXPECT_EQ(Delete(D, C, 0), -1);

    // Each was one step: undoing them all brings the three items back.
    while (Stack->canUndo())
        Stack->undo();
    EXPECT_EQ(Lines(Items()), (QStringList{"0 - Alpha", "1 - Beta", "2 - Alphabet"}));
}

TEST_F(KvCollectionEditorTest, FindSearchesFromTheSelectionInEitherDirection)
{
    using KvCollectionEdit::Find;
    const QStringList Lines{"0 - Alpha", "1 - Beta", "2 - Alphabet", "alpha"};
    EXPECT_EQ(Find(Lines, -1, "alpha", true, false, false), 0);
    EXPECT_EQ(Find(Lines, 0, "alpha", true, false, false), 2);
    EXPECT_EQ(Find(Lines, 0, "alpha", true, true, false), 3);
    EXPECT_EQ(Find(Lines, -1, "ALPHA", false, false, false), 3);
    EXPECT_EQ(Find(Lines, 2, "alpha", false, false, false), 0);
    // The whole-word option wants the whole line.
    EXPECT_EQ(Find(Lines, -1, "Alpha", true, false, true), 3);
    EXPECT_EQ(Find(Lines, -1, "Alph", true, false, true), -1);
    EXPECT_EQ(Find(Lines, 3, "Beta", true, false, false), -1);
}

// The general editor as the user meets it: opened by the collection's row, mouse and keys.
TEST_F(KvCollectionEditorTest, WindowKeepsDesignerInStepAndSurvivesUndo)
{
    D->SelectComponent(Find("RgKind"));
    auto* Window = qobject_cast<TFrCollection*>(KvEditCollection(Items(), D, false));
    ASSERT_NE(Window, nullptr);
    EXPECT_EQ(Window->windowTitle(), "Editing FormLists.RgKind.Items");
    EXPECT_EQ(KvEditCollection(Items(), D, false), Window); // one per collection
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window));
    auto* List = Window->findChild<QListWidget*>("lb");

    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->visualItemRect(List->item(1)).center());
    EXPECT_EQ(D->GetSelections(), TDesignerSelectionList{Items()->Items(1)});
    QTest::keyClick(List, Qt::Key_Down);
    EXPECT_EQ(D->GetSelections(), TDesignerSelectionList{Items()->Items(2)});

    Click(Window, "BtUp");
    EXPECT_EQ(Texts(List), (QStringList{"0 - Alpha", "1 - Alphabet", "2 - Beta"}));
    EXPECT_EQ(List->currentRow(), 1);
    Click(Window, "BtAdd");
    EXPECT_EQ(List->count(), 4);
    EXPECT_EQ(List->currentRow(), 3);
    EXPECT_EQ(D->GetSelections(), TDesignerSelectionList{Items()->Items(3)});
    Click(Window, "BtDelete");
    EXPECT_EQ(List->currentRow(), 2);

    // Ctrl+F finds lines; the designer's choice of an item moves the list.
    QTest::keyClick(List, Qt::Key_F, Qt::ControlModifier);
    auto* FindBox = Window->findChild<TFrFindDialog*>();
    ASSERT_NE(FindBox, nullptr);
    ASSERT_TRUE(FindBox->isVisible());
    QTest::keyClicks(FindBox->findChild<QLineEdit*>("EdFind"), "alpha");
    QTest::mouseClick(FindBox->findChild<QRadioButton*>("RbBackward"), Qt::LeftButton);
    Click(FindBox, "BtFindNext");
    EXPECT_EQ(List->currentRow(), 1);
    D->SelectComponent(Items()->Items(0));
    EXPECT_EQ(List->currentRow(), 0);

    // Undo makes the radio group anew: the window stays, on the new collection.
    D->UndoStack()->undo(); // the deletion
    EXPECT_EQ(Window->Collection(), Items());
    EXPECT_EQ(Items()->EditorWindow(), Window);
    EXPECT_EQ(List->count(), 4);
    Click(Window, "BtOwner");
    EXPECT_EQ(D->GetSelections(), TDesignerSelectionList{Find("RgKind")});

    // A line dragged below the last one takes its item to the end.
    ASSERT_TRUE(List->model()->moveRow({}, 0, {}, List->count()));
    QCoreApplication::processEvents();
    EXPECT_EQ(KvCollectionEdit::Lines(Items()).last(), "3 - Alpha");
    EXPECT_EQ(Texts(List).last(), "3 - Alpha");
    EXPECT_EQ(List->currentRow(), 3);

    // Closing gives the designer back what was selected when it opened, made anew by undo.
    D->SelectComponent(Items()->Items(0));
    Window->close();
    EXPECT_EQ(D->GetSelections(), TDesignerSelectionList{Find("RgKind")});
}

TEST_F(KvCollectionEditorTest, PageControlEditorLinksTabsAndSheets)
{
    TKvPageControlComponentEditor Editor(Find("PcMain"), D);
    Editor.Edit();
    auto* Window = qobject_cast<TFrCollPageControl*>(Pages()->Tabs()->EditorWindow());
    ASSERT_NE(Window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window));
    auto* Tabs = Window->findChild<QListWidget*>("lb");
    auto* Sheets = Window->findChild<QListWidget*>("lbts");
    auto* CBTabSheet = Window->findChild<QComboBox*>("CBTabSheet");
    auto* CBTab = Window->findChild<QComboBox*>("CBTab");
    EXPECT_EQ(Texts(Sheets), (QStringList{"TsOne", "TsTwo"}));
    EXPECT_EQ(CBTab->itemText(CBTab->count() - 1), "<None>");

    // A tab shows its sheet; a sheet its tab.
    QTest::mouseClick(Tabs->viewport(), Qt::LeftButton, {}, Tabs->visualItemRect(Tabs->item(1)).center());
    EXPECT_EQ(CBTabSheet->currentText(), "TsTwo");
    EXPECT_EQ(Sheets->currentRow(), 1);
    // "<None>" unlinks the tab.
    Window->ChooseTabSheet(-1);
    EXPECT_EQ(Pages()->Tabs()->Items(1)->PageId(), 0);
    EXPECT_EQ(CBTabSheet->currentText(), "<None>");
    QTest::mouseClick(Sheets->viewport(), Qt::LeftButton, {}, Sheets->visualItemRect(Sheets->item(1)).center());
    EXPECT_EQ(CBTab->currentText(), "<None>");
    Window->ChooseTab(1);
    EXPECT_EQ(Pages()->Tabs()->Items(1)->PageId(), 2);
    EXPECT_EQ(Tabs->currentRow(), 1);

    // Sheets come and go through the designer, with their fields.
    Window->AddTabSheet();
    EXPECT_EQ(Texts(Sheets), (QStringList{"TsOne", "TsTwo", "KvTabSheet1"}));
    EXPECT_EQ(Window->SelectedSheet()->PageId(), 3);
    EXPECT_TRUE(D->FormEditor()->UnitModule()->SourceEditor()->Text().contains("KvTabSheet1: TKvTabSheet;"));
    Window->RemoveTabSheet();
    EXPECT_EQ(Texts(Sheets), (QStringList{"TsOne", "TsTwo"}));
    EXPECT_EQ(Sheets->currentRow(), 1);

    // A sheet of an ancestor form stays.
    Pages()->TabSheets().at(0)->IncludeState(csAncestor);
    Window->SelectSheetLine(0);
    const TKvMessageRecorder Recorder;
    Window->RemoveTabSheet();
    EXPECT_EQ(Recorder.Count(), 1);
    EXPECT_EQ(Recorder.Last().Text, "Component was introduced in an ancestor form");
    EXPECT_EQ(Sheets->count(), 2);
}

} // namespace
