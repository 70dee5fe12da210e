#include "Classes.h"
#include "Controls.h"
#include "DesignWindows.h"
#include "Filer.h"
#include "KvFormDesigner.h"
#include "KvHostServices.h"
#include "SysUtils.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

QString CopySampleProject(const QString& Dir);

// A component that refers to any other, on this form or another.
class TTestLink : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TComponent* Target READ Target WRITE SetTarget)

public:
    Q_INVOKABLE explicit TTestLink(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    TComponent* Target() const { return FTarget; }
    void SetTarget(TComponent* Value)
    {
        if (FTarget)
            FTarget->RemoveFreeNotification(this);
        FTarget = Value;
        if (FTarget)
            FTarget->FreeNotification(this);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (Operation == TOperation::opRemove && AComponent == FTarget)
            FTarget = nullptr;
        TComponent::Notification(AComponent, Operation);
    }

private:
    TComponent* FTarget = nullptr;
};

namespace {

QString FileText(const QString& Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Records what designers tell the design windows.
class TRecordingWindow : public TDesignWindow
{
public:
    void ItemsModified(IDesigner* D) override { Events << Tag(D) + "modified"; }
    void SelectionChanged(IDesigner* D, const TDesignerSelectionList& S) override
    {
        QStringList names;
        for (TPersistent* p : S)
            names << static_cast<TComponent*>(p)->GetName();
        Events << Tag(D) + "selected " + names.join(',');
    }
    void ItemDeleted(IDesigner* D, TPersistent* Item) override
    {
        Events << Tag(D) + "deleted " + static_cast<TComponent*>(Item)->GetName();
    }
    void DesignerClosed(IDesigner* D) override { Events << Tag(D) + "closed"; }

    QString Tag(IDesigner* D) const { return D == Designer() ? QString() : QStringLiteral("other "); }
    QStringList Events;
};

class KvDesignerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterClass<TTestLink>();
        Host.OpenProject(CopySampleProject(Dir.path()));
    }
    QString File(const QString& Name) const { return Dir.path() + u'/' + Name; }
    TKvFormDesigner* Open(const QString& Unit) { return Host.OpenForm(File(Unit))->Designer(); }
    QString UnitText(TKvFormDesigner* D) const { return D->FormEditor()->UnitModule()->SourceEditor()->Text(); }

    QTemporaryDir Dir;
    TKvHostServices Host;
};

// ---------------------------------------------------------------------------------------------
// Controls

TEST(KvControls, ParentsHoldTheirControlsInOrderWithoutOwningThem)
{
    TForm form;
    auto* panel = new TWinControl(&form);
    auto* edit = new TWinControl(&form);
    auto* label = new TControl(&form);
    panel->SetParent(&form);
    edit->SetParent(panel);
    label->SetParent(panel);
    EXPECT_EQ(panel->ControlCount(), 2);
    EXPECT_EQ(panel->Controls(1), label);
    EXPECT_THROW(panel->SetParent(edit), EInvalidOperation);
    EXPECT_EQ(panel->Parent(), &form);

    delete panel;
    EXPECT_EQ(edit->Parent(), nullptr);
    EXPECT_EQ(form.ComponentCount(), 2);
    EXPECT_THROW(form.SetActiveControl(new TWinControl(&form)), EInvalidOperation);
}

TEST(KvControls, TabOrderReadInAnyOrderSettlesOnTheValuesWritten)
{
    std::unique_ptr<TComponent> form(ReadComponentStream("object F: TForm\n"
                                                         "  object A: TWinControl\n    TabOrder = 2\n  end\n"
                                                         "  object B: TWinControl\n    TabOrder = 0\n  end\n"
                                                         "  object C: TWinControl\n    TabOrder = 1\n  end\n"
                                                         "end\n"));
    const std::pair<const char*, int> expected[] = {{"B", 0}, {"C", 1}, {"A", 2}};
    for (const auto& [name, order] : expected)
        EXPECT_EQ(static_cast<TWinControl*>(form->FindComponent(name))->GetTabOrder(), order) << name;

    delete form->FindComponent("B");
    EXPECT_EQ(static_cast<TWinControl*>(form->FindComponent("C"))->GetTabOrder(), 0);
}

// ---------------------------------------------------------------------------------------------
// Components

TEST_F(KvDesignerTest, UniqueNamesSkipEveryNameOfTheFormWithoutCase)
{
    TKvFormDesigner* d = Open("Main.pas");
    EXPECT_EQ(d->UniqueName("TKvLabel"), "KvLabel1");
    EXPECT_EQ(d->UniqueName("tControl"), "Control1");
    new TComponent(d->GetRoot());
    d->GetRoot()->Components(d->GetRoot()->ComponentCount() - 1)->SetName("CONTROL1");
    EXPECT_EQ(d->UniqueName("TControl"), "Control2");
    EXPECT_EQ(d->UniqueName("TFormMain"), "FormMain1");
    d->GetRoot()->SetName("Form1");
    EXPECT_EQ(d->UniqueName("TForm"), "Form2");

    EXPECT_EQ(d->GetComponentNames(&TWinControl::staticMetaObject),
              (QStringList{"Form1", "PnTop", "EdName", "BtOk"}));
    EXPECT_EQ(d->GetComponent("form1"), d->GetRoot());
    EXPECT_EQ(d->GetComponent("Form1.PnTop"), d->GetRoot()->FindComponent("PnTop"));
}

TEST_F(KvDesignerTest, CreateComponentPlacesItAndDeclaresItsField)
{
    TKvFormDesigner* d = Open("Main.pas");
    TRecordingWindow window;
    window.SetDesigner(d);
    TComponent* root = d->GetRoot();

    auto* c = static_cast<TControl*>(d->CreateComponent(&TControl::staticMetaObject, nullptr, 10, 20, -1, -1));
    EXPECT_EQ(c->GetName(), "Control1");
    EXPECT_EQ(c->Owner(), root);
    EXPECT_EQ(c->Parent(), root);
    EXPECT_EQ(QList<int>({c->GetLeft(), c->GetTop(), c->GetWidth(), c->GetHeight()}), QList<int>({10, 20, 100, 50}));
    EXPECT_TRUE(c->ComponentState() & csDesigning);
    EXPECT_TRUE(d->FormEditor()->IsModified());
    EXPECT_EQ(window.Events, (QStringList{"modified", "selected Control1"}));
    EXPECT_TRUE(UnitText(d).contains("    BtOk: TWinControl;\r\n    Control1: TControl;\r\n    procedure FormCreate"));

    auto* inPanel = static_cast<TControl*>(
        d->CreateComponent(&TControl::staticMetaObject, root->FindComponent("LaName"), -1, -1, 30, -1));
    EXPECT_EQ(inPanel->Parent(), root->FindComponent("PnTop")); // a label holds no controls
    EXPECT_EQ(inPanel->GetWidth(), 30);
    TComponent* plain = d->CreateComponent(&TComponent::staticMetaObject, root->FindComponent("PnTop"), 1, 1, 1, 1);
    EXPECT_FALSE(plain->HasParent());
    EXPECT_TRUE(UnitText(d).contains("    Control2: TControl;\r\n    Component1: TComponent;\r\n"));

    TKvFormDesigner* module = Open("Third.pas");
    const int count = module->GetRoot()->ComponentCount();
    EXPECT_THROW(module->CreateComponent(&TControl::staticMetaObject, nullptr, -1, -1, -1, -1), EInvalidOperation);
    EXPECT_EQ(module->GetRoot()->ComponentCount(), count);
}

TEST_F(KvDesignerTest, DeleteSelectionTakesContainedControlsAndTheirFields)
{
    TKvFormDesigner* d = Open("Main.pas");
    TRecordingWindow window;
    window.SetDesigner(d);
    TComponent* root = d->GetRoot();
    d->SetSelections({root, root->FindComponent("PnTop")});
    window.Events.clear();

    d->DeleteSelection();
    EXPECT_EQ(window.Events,
              (QStringList{"deleted EdName", "deleted LaName", "deleted PnTop", "modified", "selected FormMain"}));
    EXPECT_EQ(d->GetComponentNames(nullptr), (QStringList{"FormMain", "Data", "BtOk"}));
    EXPECT_EQ(static_cast<TForm*>(root)->GetActiveControl(), nullptr);
    const QString text = UnitText(d);
    EXPECT_TRUE(text.contains("    Data: TComponent;\r\n    BtOk: TWinControl;\r\n    procedure FormCreate"));
    EXPECT_FALSE(text.contains("PnTop"));

    Host.FindUnitModule(File("Main.pas"))->CloseForm();
    EXPECT_EQ(window.Events.last(), "closed");
}

TEST_F(KvDesignerTest, SelectionForgetsDestroyedComponents)
{
    TKvFormDesigner* d = Open("Main.pas");
    TComponent* button = d->GetRoot()->FindComponent("BtOk");
    d->SetSelections({button, d->GetRoot()->FindComponent("Data")});
    delete button;
    ASSERT_EQ(d->GetSelections().size(), 1);
    EXPECT_EQ(static_cast<TComponent*>(d->GetSelections().first())->GetName(), "Data");
}

// ---------------------------------------------------------------------------------------------
// Event handlers

TEST_F(KvDesignerTest, CreateMethodDeclaresAndImplementsTheHandlerOnce)
{
    TKvFormDesigner* d = Open("Second.pas");
    const QString before = UnitText(d);
    EXPECT_EQ(d->CreateMethod("LaInfoClick", "TNotifyEvent"), TMethod{"LaInfoClick"});
    const QString expected = QString(before)
                                 .replace("    LaInfo: TControl;\r\n",
                                          "    LaInfo: TControl;\r\n    procedure LaInfoClick(Sender: TObject);\r\n")
                                 .replace("{$R *.dfm}\r\n\r\nend.",
                                          "{$R *.dfm}\r\n\r\nprocedure TFormSecond.LaInfoClick(Sender: TObject);\r\n"
                                          "begin\r\n\r\nend;\r\n\r\nend.");
    EXPECT_EQ(UnitText(d), expected);
    EXPECT_TRUE(d->MethodExists("laInfoCLICK"));
    d->CreateMethod("LaInfoClick", "TNotifyEvent");
    EXPECT_EQ(UnitText(d), expected);

    TKvFormDesigner::RegisterEventType("TCanEvent", "Sender: TObject; Value: Integer", "Boolean");
    d->CreateMethod("FormClose", "TCloseEvent");
    d->CreateMethod("CanDo", "TCanEvent");
    d->CreateMethod("Other", "TUnknownEvent");
    const QString text = UnitText(d);
    EXPECT_TRUE(text.contains("    procedure LaInfoClick(Sender: TObject);\r\n"
                              "    procedure FormClose(Sender: TObject; var Action: TCloseAction);\r\n"
                              "    function CanDo(Sender: TObject; Value: Integer): Boolean;\r\n"
                              "    procedure Other(Sender: TObject);\r\n  private"));
    EXPECT_TRUE(text.contains("\r\nend;\r\n\r\nfunction TFormSecond.CanDo(Sender: TObject; Value: Integer): Boolean;\r\n"
                              "begin\r\n\r\nend;\r\n\r\nprocedure TFormSecond.Other"));

    // The new text is what saving writes; the handler is a step of the form's history.
    EXPECT_TRUE(d->FormEditor()->IsModified());
    Host.SaveAll();
    EXPECT_EQ(FileText(File("Second.pas")), text);

    // Bodies go before an initialization section, a blank line apart from the code above.
    TKvSourceEditor* unit = d->FormEditor()->UnitModule()->SourceEditor();
    unit->SetText(QString(text).replace("end;\r\n\r\nend.", "end;\r\ninitialization\r\n  Setup;\r\nend."));
    d->CreateMethod("Later", "TNotifyEvent");
    EXPECT_TRUE(unit->Text().endsWith("end;\r\n\r\nprocedure TFormSecond.Later(Sender: TObject);\r\nbegin\r\n\r\nend;"
                                      "\r\n\r\ninitialization\r\n  Setup;\r\nend.\r\n"));
}

TEST_F(KvDesignerTest, MethodsAreFoundInCodeNotInComments)
{
    TKvFormDesigner* d = Open("Main.pas");
    EXPECT_TRUE(d->MethodExists("BtOkClick"));
    EXPECT_FALSE(d->MethodExists("Hidden")); // only in a comment
    EXPECT_FALSE(d->MethodExists("Caption"));
    TKvSourceEditor* unit = d->FormEditor()->UnitModule()->SourceEditor();
    // Implemented but no longer declared still counts.
    unit->SetText(QString(unit->Text()).remove("    procedure BtOkClick(Sender: TObject);\r\n"));
    EXPECT_TRUE(d->MethodExists("btokclick"));

    d->ShowMethod("BtOkClick");
    EXPECT_EQ(d->ShownMethod(), "BtOkClick");
    EXPECT_EQ(d->ShownUnitFile(), File("Main.pas"));
    EXPECT_EQ(d->GetMethodName(TMethod{"BtOkClick"}), "BtOkClick");
}

TEST_F(KvDesignerTest, CreateMethodLeavesAUnitWithoutTheClassUnchanged)
{
    TKvFormDesigner* d = Open("Main.pas");
    TKvSourceEditor* unit = d->FormEditor()->UnitModule()->SourceEditor();
    unit->SetText(QString(unit->Text()).replace("TFormMain = class", "TFormOther = class"));
    unit->SetModified(false);
    const QString before = unit->Text();
    try {
        d->CreateMethod("DoIt", "TNotifyEvent");
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message, File("Main.pas") + ": the declaration of class TFormMain was not found");
    }
    EXPECT_EQ(unit->Text(), before);
    EXPECT_FALSE(unit->IsModified());
    EXPECT_THROW(d->CreateMethod("Not valid", "TNotifyEvent"), EInvalidOperation);
}

// ---------------------------------------------------------------------------------------------
// References between forms

TEST_F(KvDesignerTest, ReferencesToFormsNotOpenAreKeptAndResolvedWhenTheyOpen)
{
    QFile second(File("Second.dfm"));
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    const QByteArray text = second.readAll().replace(
        "  object LaInfo", "  object Link: TTestLink\r\n    Target = FormMain.BtOk\r\n  end\r\n  object LaInfo");
    second.close();
    ASSERT_TRUE(second.open(QIODevice::WriteOnly | QIODevice::Truncate));
    second.write(text);
    second.close();

    TKvFormEditor* form = Host.OpenForm(File("Second.pas"));
    auto* link = static_cast<TTestLink*>(form->GetRootComponent()->FindComponent("Link"));
    EXPECT_EQ(link->Target(), nullptr);
    EXPECT_EQ(form->PendingReferences(), QStringList{"FormMain.BtOk"});

    TKvFormDesigner* main = Open("Main.pas");
    EXPECT_EQ(link->Target(), main->GetRoot()->FindComponent("BtOk"));
    EXPECT_EQ(form->Designer()->GetComponent("FormMain.BtOk"), link->Target());
    EXPECT_TRUE(form->PendingReferences().isEmpty());

    Host.FindUnitModule(File("Main.pas"))->CloseForm();
    EXPECT_EQ(link->Target(), nullptr);
    form->Designer()->Modified();
    Host.SaveAll();
    EXPECT_EQ(FileText(File("Second.dfm")).toUtf8(), text);
}

} // namespace

#include "tst_KvFormDesigner.moc"
