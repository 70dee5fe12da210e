#include "DesignNotify.h"
#include "DesignWindows.h"

#include "Classes.h"
#include "SysUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QPointer>

#include <gtest/gtest.h>

class TWinItem : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER FCaption)
public:
    Q_INVOKABLE explicit TWinItem(TCollection* Collection = nullptr) : TCollectionItem(Collection) {}
    QString FCaption;
};

class TWinEdit : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(QString Text MEMBER FText)
    Q_PROPERTY(TWinEdit* Buddy READ Buddy WRITE SetBuddy)
    Q_PROPERTY(TCollection* Items READ Items)
public:
    Q_INVOKABLE explicit TWinEdit(TComponent* AOwner = nullptr)
        : TComponent(AOwner), FItems(new TCollection(&TWinItem::staticMetaObject, this))
    {
    }
    ~TWinEdit() override { delete FItems; }
    TWinEdit* Buddy() const { return FBuddy; }
    void SetBuddy(TWinEdit* Value)
    {
        FBuddy = Value;
        if (Value)
            Value->FreeNotification(this);
    }
    TCollection* Items() const { return FItems; }
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (Operation == TOperation::opRemove && AComponent == FBuddy)
            FBuddy = nullptr;
        TComponent::Notification(AComponent, Operation);
    }

    QString FText;
    TWinEdit* FBuddy = nullptr;
    TCollection* FItems;
};

namespace {

class TFakeDesigner : public IDesigner
{
public:
    explicit TFakeDesigner(TComponent* Root) : FRoot(Root) {}
    int ModifiedCount = 0;
    TDesignerSelectionList Selection;

    void Modified() override { ++ModifiedCount; }
    TMethod CreateMethod(const QString& Name, const QString&) override { return TMethod{Name}; }
    QString GetMethodName(const TMethod& Method) const override { return Method.Name; }
    bool MethodExists(const QString&) const override { return false; }
    void ShowMethod(const QString&) override {}
    TDesignerSelectionList GetSelections() const override { return Selection; }
    void SetSelections(const TDesignerSelectionList& List) override
    {
        Selection = List;
        emit DesignNotifier()->SelectionChanged(this, List);
    }
    void SelectComponent(TPersistent* Instance) override { SetSelections({Instance}); }
    QStringList GetComponentNames(const QMetaObject*) const override { return {}; }
    TComponent* GetComponent(const QString& Name) const override { return FRoot->FindComponent(Name); }
    TComponent* CreateComponent(const QMetaObject*, TComponent*, int, int, int, int) override { return nullptr; }
    QString UniqueName(const QString& BaseName) const override
    {
        for (int N = 1;; ++N)
            if (const QString Name = BaseName.mid(1) + QString::number(N); !FRoot->FindComponent(Name))
                return Name;
    }
    TComponent* GetRoot() const override { return FRoot; }

private:
    TComponent* FRoot;
};

TWinEdit* MakeEdit(TComponent* Owner, const QString& Name, const QString& Text)
{
    auto* Edit = new TWinEdit(Owner);
    Edit->SetName(Name);
    Edit->FText = Text;
    return Edit;
}

class Clipboard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterClass<TWinEdit>();
        Form1.SetName(QStringLiteral("Form1"));
        Edit1->FBuddy = Edit2; // refers forward: Edit2 is pasted after it
        Edit2->FItems->Add()->setProperty("Caption", QStringLiteral("first"));
        Edit2->FItems->Add()->setProperty("Caption", QStringLiteral("second"));
    }

    TComponent Form1;
    TWinEdit* Edit1 = MakeEdit(&Form1, QStringLiteral("Edit1"), QStringLiteral("one"));
    TWinEdit* Edit2 = MakeEdit(&Form1, QStringLiteral("Edit2"), QStringLiteral("two"));
    TFakeDesigner Designer{&Form1};
};

} // namespace

TEST_F(Clipboard, PastingIntoTheSameFormRenamesAndReferencesFollowTheCopies)
{
    CopyComponents(&Form1, {Edit1, Edit2, &Form1});
    ASSERT_TRUE(ClipboardComponents());
    TDesignerSelectionList Pasted;
    PasteComponents(&Form1, nullptr, Pasted, &Designer);

    ASSERT_EQ(Pasted.size(), 2);
    auto* Copy1 = qobject_cast<TWinEdit*>(Pasted[0]);
    auto* Copy2 = qobject_cast<TWinEdit*>(Pasted[1]);
    ASSERT_TRUE(Copy1 && Copy2);
    EXPECT_EQ(Copy1->GetName(), QStringLiteral("WinEdit1"));
    EXPECT_EQ(Copy2->GetName(), QStringLiteral("WinEdit2"));
    EXPECT_EQ(Copy1->Owner(), &Form1);
    EXPECT_EQ(Copy1->FText, QStringLiteral("one"));
    EXPECT_EQ(Copy1->FBuddy, Copy2);
    EXPECT_EQ(Edit1->FBuddy, Edit2);
    ASSERT_EQ(Copy2->FItems->Count(), 2);
    EXPECT_EQ(Copy2->FItems->Items(1)->property("Caption").toString(), QStringLiteral("second"));
    EXPECT_EQ(Designer.ModifiedCount, 1);
}

TEST_F(Clipboard, PastingIntoAnotherFormKeepsNames)
{
    CopyComponents(&Form1, {Edit1, Edit2});
    TComponent Form2;
    Form2.SetName(QStringLiteral("Form2"));
    TFakeDesigner Designer2(&Form2);
    TDesignerSelectionList Pasted;
    PasteComponents(&Form2, nullptr, Pasted, &Designer2);

    ASSERT_EQ(Form2.ComponentCount(), 2);
    auto* Copy1 = qobject_cast<TWinEdit*>(Form2.FindComponent(QStringLiteral("Edit1")));
    ASSERT_TRUE(Copy1);
    EXPECT_EQ(Copy1->FBuddy, Form2.FindComponent(QStringLiteral("Edit2")));
}

TEST_F(Clipboard, OtherTextIsNotComponentsAndBrokenTextPastesNothing)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("objects are everywhere"));
    EXPECT_FALSE(ClipboardComponents());

    QGuiApplication::clipboard()->setText(
        QStringLiteral("object Edit7: TWinEdit\n  Text = 'ok'\nend\nobject Edit8: TWinEdit\n  Text = 'broken\nend\n"));
    EXPECT_TRUE(ClipboardComponents());
    TDesignerSelectionList Pasted;
    EXPECT_THROW(PasteComponents(&Form1, nullptr, Pasted, &Designer), EParserError);
    EXPECT_EQ(Form1.ComponentCount(), 2);
    EXPECT_TRUE(Pasted.isEmpty());
    EXPECT_EQ(Designer.ModifiedCount, 0);
}

// ---------------------------------------------------------------------------------------------
// Design windows

namespace {

class TRecordingWindow : public TDesignWindow
{
public:
    QStringList Heard;
    std::function<void()> OnModified;
    bool SelectingWhenTold = false;

    void ItemsModified(IDesigner*) override
    {
        Heard << QStringLiteral("modified");
        if (const auto Call = OnModified) // may destroy this window, OnModified with it
            Call();
    }
    void SelectionChanged(IDesigner*, const TDesignerSelectionList& Selection) override
    {
        Heard << QStringLiteral("selected %1").arg(Selection.size());
        SelectingWhenTold = Selecting();
    }
    void ItemDeleted(IDesigner*, TPersistent*) override { Heard << QStringLiteral("deleted"); }
};

} // namespace

TEST(DesignWindows, EveryLiveWindowHearsAndOneDestroyedMeanwhileIsSkipped)
{
    TComponent Root;
    TFakeDesigner Designer(&Root);
    auto* First = new TRecordingWindow;
    QPointer<TRecordingWindow> Second = new TRecordingWindow;
    auto* Third = new TRecordingWindow;
    First->OnModified = [&] { delete Second.data(); };

    emit DesignNotifier()->ItemsModified(&Designer);
    EXPECT_TRUE(Second.isNull());
    EXPECT_EQ(Third->Heard, QStringList({"modified"}));

    First->OnModified = [&] { delete First; };
    emit DesignNotifier()->ItemsModified(&Designer);
    emit DesignNotifier()->ItemDeleted(&Designer, &Root);
    EXPECT_EQ(Third->Heard, QStringList({"modified", "modified", "deleted"}));
    delete Third;
}

TEST(DesignWindows, SelectionGoesThroughTheDesignerAndClosingClosesOnlyItsWindows)
{
    TComponent Root;
    TFakeDesigner Designer(&Root), OtherDesigner(&Root);
    TRecordingWindow Mine, Other;
    Mine.SetDesigner(&Designer);
    Other.SetDesigner(&OtherDesigner);
    Mine.show();
    Other.show();

    Mine.SetSelection({&Root});
    EXPECT_EQ(Designer.Selection, TDesignerSelectionList({&Root}));
    EXPECT_TRUE(Mine.SelectingWhenTold);
    EXPECT_EQ(Other.Heard, QStringList({"selected 1"}));
    EXPECT_FALSE(Other.SelectingWhenTold);

    emit DesignNotifier()->DesignerClosed(&Designer);
    EXPECT_FALSE(Mine.isVisible());
    EXPECT_EQ(Mine.Designer(), nullptr);
    EXPECT_TRUE(Other.isVisible());
    EXPECT_EQ(Other.Designer(), &OtherDesigner);
}

#include "tst_DesignWindows.moc"
