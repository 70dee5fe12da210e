#include "Controls.h"
#include "DesignEditors.h"
#include "DesignRegistry.h"
#include "DesignWindows.h"
#include "FormStreams.h"
#include "KvFormDesigner.h"
#include "KvHostServices.h"
#include "SysUtils.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

QString CopySampleProject(const QString& Dir);

namespace {

class KvDesignerUndoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Host.OpenProject(CopySampleProject(Dir.path()));
        D = Host.OpenForm(Dir.path() + QStringLiteral("/Main.pas"))->Designer();
    }
    TComponent* Find(const char* Name) const { return D->GetRoot()->FindComponent(QString::fromLatin1(Name)); }
    TControl* Control(const char* Name) const { return qobject_cast<TControl*>(Find(Name)); }
    QString FormText() const { return QString::fromUtf8(ObjectBinaryToText(D->FormEditor()->GetFormStream())); }
    QString UnitText() const { return D->FormEditor()->UnitModule()->SourceEditor()->Text(); }
    QString State() const { return FormText() + QStringLiteral("\n----\n") + UnitText(); }

    QTemporaryDir Dir;
    TKvHostServices Host;
    TKvFormDesigner* D = nullptr;
};

// Each kind of change: done, undone, redone, undone; form and unit text match the states before
// and after each time, and the modified mark follows.
TEST_F(KvDesignerUndoTest, EveryKindOfChangeUndoesAndRedoesFormAndUnit)
{
    struct TCase
    {
        const char* Name;
        const char* Text; // of the step
        std::function<void()> Do;
    };
    const QList<TCase> cases = {
        {"create", "Create Control1",
         [&] { D->CreateComponent(&TControl::staticMetaObject, Find("PnTop"), 16, 8, -1, -1); }},
        {"delete", "Delete PnTop",
         [&] {
             D->SelectComponent(Find("PnTop"));
             D->DeleteSelection();
         }},
        {"move", "Move EdName",
         [&] { D->SetProperties("Move EdName", {{Find("EdName"), "Left", 80}, {Find("EdName"), "Top", 16}}); }},
        {"resize", "Size BtOk", [&] { D->SetProperties("Size BtOk", {{Find("BtOk"), "Width", 90}}); }},
        {"non-visual place", "Move Data",
         [&] {
             // Stored as the form file holds it: after its properties.
             D->SetProperties("Move Data", {{Find("Data"), "Left", 40}, {Find("Data"), "Top", 24}});
             EXPECT_TRUE(FormText().contains("object Data: TComponent\r\n    Tag = 7\r\n    Left = 40\r\n    Top = 24\r\n  end"));
         }},
        {"non-visual create", "Create Component1",
         [&] {
             TComponent* c = D->CreateComponent(&TComponent::staticMetaObject, nullptr, 96, 48, -1, -1);
             EXPECT_EQ(QPoint(c->DesignLeft(), c->DesignTop()), QPoint(96, 48));
         }},
        {"property editor", "Set Hint",
         [&] {
             // As the inspector does it, for two selected components at once.
             TDesignerChange change(D, "Set Hint");
             for (auto& editor : GetEditorsForSelection({Find("LaName"), Find("BtOk")}, D))
                 if (editor->GetName() == "Hint")
                     editor->SetValue("Both");
         }},
        {"rename", "Rename BtOk", [&] { D->RenameComponent(Find("BtOk"), "BtAccept"); }},
        {"paste", "Paste",
         [&] {
             CopyComponents(D->GetRoot(), {Find("PnTop")});
             D->Paste(nullptr);
         }},
        {"z-order", "Send to Back",
         [&] {
             D->SelectComponent(Find("BtOk"));
             D->SendToBack();
         }},
        {"tab order", "Tab Order",
         [&] {
             D->SelectComponent(Find("PnTop"));
             ASSERT_EQ(D->TabOrderContainer(), Find("PnTop")) << "a container with windowed controls";
             D->SelectComponent(Find("BtOk"));
             ASSERT_EQ(D->TabOrderContainer(), D->GetRoot());
             D->SetTabOrder(D->GetRoot(), {"BtOk", "PnTop"});
             EXPECT_EQ(D->TabOrderNames(D->GetRoot()), QStringList({"BtOk", "PnTop"}));
         }},
        {"form text", "Edit as Text",
         [&] {
             // Data becomes a control, BtOk goes, LaExtra comes: the fields follow.
             QString text = D->FormText();
             text.replace("object Data: TComponent", "object Data: TControl");
             text.replace(text.indexOf("  object BtOk"), text.indexOf("  end\n", text.indexOf("  object BtOk")) + 6
                              - text.indexOf("  object BtOk"),
                          "  object LaExtra: TControl\n    Left = 5\n  end\n");
             D->ApplyFormText(text);
             EXPECT_TRUE(Control("LaExtra") && Control("Data") && !Find("BtOk"));
             EXPECT_TRUE(UnitText().contains("LaExtra: TControl;") && UnitText().contains("Data: TControl;"));
             EXPECT_FALSE(UnitText().contains("BtOk: TWinControl;"));
         }},
        {"editor session", "Edit Data",
         [&] {
             TDesignerChange change(D, "Edit Data");
             Find("Data")->SetTag(8);
             D->Modified();
             Find("Data")->SetTag(9);
             D->Modified();
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString before = State();
        const int index = D->UndoStack()->index();
        c.Do();
        const QString after = State();
        ASSERT_NE(after, before);
        ASSERT_EQ(D->UndoStack()->index(), index + 1) << "one step";
        EXPECT_EQ(D->UndoStack()->undoText(), c.Text);
        EXPECT_TRUE(D->FormEditor()->IsModified());

        D->UndoStack()->undo();
        EXPECT_EQ(State(), before);
        D->UndoStack()->redo();
        EXPECT_EQ(State(), after);
        D->UndoStack()->undo();
        EXPECT_EQ(State(), before);
        EXPECT_FALSE(D->FormEditor()->IsModified()) << "back at the saved state";
        EXPECT_FALSE(D->FormEditor()->UnitModule()->IsModified());
    }
}

TEST_F(KvDesignerUndoTest, StepsNameComponentsSoUndoWorksAfterDeleteAndRecreate)
{
    D->SetProperties("Move EdName", {{Find("EdName"), "Left", 100}});
    D->SelectComponent(Find("PnTop"));
    D->DeleteSelection();
    EXPECT_FALSE(Find("EdName"));

    D->UndoStack()->undo(); // the panel and its controls come back as new objects
    ASSERT_TRUE(Control("EdName"));
    EXPECT_EQ(Control("EdName")->GetLeft(), 100);
    EXPECT_EQ(Control("EdName")->Parent(), Find("PnTop"));
    EXPECT_EQ(qobject_cast<TForm*>(D->GetRoot())->GetActiveControl(), Find("EdName"));
    D->UndoStack()->undo();
    EXPECT_EQ(Control("EdName")->GetLeft(), 72);
    D->UndoStack()->redo();
    D->UndoStack()->redo();
    EXPECT_FALSE(Find("PnTop"));
    EXPECT_EQ(D->GetSelections(), TDesignerSelectionList({D->GetRoot()}));
}

TEST_F(KvDesignerUndoTest, RenameFollowsInUnitAndEventsAndRefusesWhatTheUnitCannotTake)
{
    D->RenameComponent(Find("BtOk"), "BtAccept");
    EXPECT_EQ(Find("BtAccept")->property("OnClick").value<TMethod>().Name, "BtAcceptClick");
    EXPECT_TRUE(UnitText().contains("    BtAccept: TWinControl;\r\n"));
    EXPECT_TRUE(UnitText().contains("    procedure BtAcceptClick(Sender: TObject);\r\n"));
    EXPECT_TRUE(UnitText().contains("procedure TFormMain.BtAcceptClick(Sender: TObject);\r\nbegin\r\n  FormSecond.Show;"));
    EXPECT_FALSE(UnitText().contains("BtOk"));

    // A handler not named after the component keeps its name.
    Find("EdName")->setProperty("OnClick", QVariant::fromValue(TMethod{"FormCreate"}));
    D->RenameComponent(Find("EdName"), "EdFull");
    EXPECT_EQ(Find("EdFull")->property("OnClick").value<TMethod>().Name, "FormCreate");

    // A name the class already uses, or a unit without the class: refused, nothing changes.
    const QString before = State();
    EXPECT_THROW(D->RenameComponent(Find("Data"), "FormCreate"), EInvalidOperation);
    TKvSourceEditor* unit = D->FormEditor()->UnitModule()->SourceEditor();
    const QString good = unit->Text();
    unit->SetText(QString(good).replace("TFormMain = class", "TFormOther = class"));
    try {
        D->RenameComponent(Find("Data"), "Store");
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_TRUE(e.Message.startsWith(Dir.path() + "/Main.pas: ")) << e.Message.toStdString();
    }
    EXPECT_TRUE(Find("Data"));
    unit->SetText(good);
    EXPECT_EQ(State(), before);
}

TEST_F(KvDesignerUndoTest, ChangesMadeWithoutAStepAreStillOneStepAndNoChangeMarksNothing)
{
    D->Modified();
    EXPECT_FALSE(D->FormEditor()->IsModified());
    EXPECT_EQ(D->UndoStack()->count(), 0);

    Find("Data")->SetTag(42); // as a non-modal design window does
    D->Modified();
    EXPECT_EQ(D->UndoStack()->count(), 1);
    D->UndoStack()->undo();
    EXPECT_EQ(Find("Data")->GetTag(), 7);

    // Saving makes the current state clean; undoing past it is a change again.
    D->UndoStack()->redo();
    Host.SaveAll();
    EXPECT_FALSE(D->FormEditor()->IsModified());
    D->UndoStack()->undo();
    EXPECT_TRUE(D->FormEditor()->IsModified());
}

} // namespace

// Text that does not parse, or renames the form, is refused with where it went wrong; form and
// unit stay as they were, and no step is recorded.
TEST_F(KvDesignerUndoTest, FormTextThatDoesNotApplyLeavesTheFormAsItWas)
{
    const QString before = State();
    const QString text = D->FormText();
    EXPECT_EQ(text, FormText().replace("\r\n", "\n"));
    try {
        QString broken = text;
        broken.replace("    Tag = 7\n", "    Tag = 7\n    Hint = 'open\n");
        D->ApplyFormText(broken);
        FAIL() << "an open string was read";
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Line, 11);
        EXPECT_GT(e.Column, 1);
    }
    // What reads but means nothing here: refused at its line, not kept as written.
    struct TTypo
    {
        const char* From;
        const char* To;
        const char* Line; // where the error is shown
    };
    const TTypo typos[] = {
        {"    OnClick = BtOkClick\n    TabOrder = 1\n", "    OnClick = BtOkClick\n    TabOrder = 'one'\n",
         "    TabOrder = 'one'"},
        {"    Tag = 7\n", "    Tag = 7\n    Captoin = 'x'\n", "    Captoin"},
        {"  object BtOk: TWinControl\n", "  object BtOk: TWinControll\n", "  object BtOk"},
    };
    for (const TTypo& typo : typos) {
        SCOPED_TRACE(typo.To);
        ASSERT_TRUE(text.contains(typo.From));
        const QString typed = QString(text).replace(typo.From, typo.To);
        try {
            D->ApplyFormText(typed);
            ADD_FAILURE() << "accepted";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Line, typed.left(typed.indexOf(typo.Line)).count(u'\n') + 1) << e.Reason.toStdString();
            EXPECT_EQ(e.Column, QString(typo.Line).indexOf(QRegularExpression("\\S")) + 1);
        }
    }
    QString renamed = text;
    EXPECT_THROW(D->ApplyFormText(renamed.replace("object FormMain:", "object FormOther:")), Exception);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(D->UndoStack()->count(), 0);
    D->ApplyFormText(text);
    EXPECT_EQ(D->UndoStack()->count(), 0) << "the same text is no step";
}
