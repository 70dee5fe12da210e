#include "Controls.h"
#include "DesignRegistry.h"
#include "KvInspectorDelegate.h"
#include "KvInspectorModel.h"
#include "SysUtils.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

// A component with the kinds of property the inspector treats differently.
class TInspected : public TControl
{
    Q_OBJECT
public:
    enum TSide { sdLeft = 1, sdTop = 2, sdRight = 4 };
    Q_DECLARE_FLAGS(TSides, TSide)
    Q_FLAG(TSides)

private:
    Q_PROPERTY(TSides Sides READ Sides WRITE SetSides)
    Q_PROPERTY(QString Typed READ Typed WRITE SetTyped)
    Q_PROPERTY(QString Picked READ Picked WRITE SetPicked)
    Q_PROPERTY(TStrings* Lines READ Lines)

public:
    Q_INVOKABLE explicit TInspected(TComponent* AOwner = nullptr) : TControl(AOwner) {}
    TSides Sides() const { return FSides; }
    void SetSides(TSides Value) { FSides = Value; }
    QString Typed() const { return FTyped; }
    void SetTyped(const QString& Value) { FTyped = Value; ++TypedWrites; }
    QString Picked() const { return FPicked; }
    void SetPicked(const QString& Value) { FPicked = Value; }
    TStrings* Lines() const { return FLines; }

    int TypedWrites = 0;

private:
    TSides FSides = sdLeft;
    QString FTyped;
    QString FPicked = QStringLiteral("beta");
    TStrings* FLines = new TStrings(this);
};

namespace {

int DialogRuns = 0;
std::function<void()> OnDialog;

// Takes every keystroke.
class TAutoEditor : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override { return TStringProperty::GetAttributes() | paAutoUpdate; }
};

// An unsorted list with the sorted attribute, and a dialog.
class TPickEditor : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override { return paValueList | paSortList | paDialog | paMultiSelect; }
    void GetValues(const TGetStrProc& Proc) const override
    {
        for (const char* V : {"gamma", "Alpha", "beta"})
            Proc(QString::fromLatin1(V));
    }
    void Edit() override
    {
        ++DialogRuns;
        if (OnDialog)
            OnDialog();
    }
};

class KvInspectorModelTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RegisterClass<TInspected>();
        RegisterPropertyEditor(QMetaType::fromType<QString>(), &TInspected::staticMetaObject, QStringLiteral("Typed"),
                               PropertyEditorClass<TAutoEditor>());
        RegisterPropertyEditor(QMetaType::fromType<QString>(), &TInspected::staticMetaObject, QStringLiteral("Picked"),
                               PropertyEditorClass<TPickEditor>());
    }

    void SetUp() override
    {
        A = new TInspected(&Form);
        A->SetName(QStringLiteral("A"));
        B = new TInspected(&Form);
        B->SetName(QStringLiteral("B"));
        Model.OnError = [this](const QString& Message) { Errors << Message; };
        DialogRuns = 0;
        OnDialog = nullptr;
    }

    QString Value(const char* Path) { return Model.FindProperty(QString::fromLatin1(Path)).data().toString(); }

    TForm Form;
    TInspected* A = nullptr;
    TInspected* B = nullptr;
    TKvInspectorModel Model;
    QStringList Errors;
};

TEST_F(KvInspectorModelTest, SeveralSelectedShowOnlyTheirCommonMultiSelectProperties)
{
    Model.SetSelection(nullptr, {A});
    EXPECT_TRUE(Model.FindProperty(QStringLiteral("Name")).isValid());
    EXPECT_EQ(Value("Name"), QStringLiteral("A"));

    Model.SetSelection(nullptr, {A, B});
    EXPECT_FALSE(Model.FindProperty(QStringLiteral("Name")).isValid());
    EXPECT_TRUE(Model.FindProperty(QStringLiteral("Left")).isValid());

    // A plain control shares Left with them, not their own properties.
    auto* Plain = new TControl(&Form);
    Model.SetSelection(nullptr, {A, Plain});
    EXPECT_TRUE(Model.FindProperty(QStringLiteral("Left")).isValid());
    EXPECT_FALSE(Model.FindProperty(QStringLiteral("Picked")).isValid());
}

TEST_F(KvInspectorModelTest, ValuesThatDifferShowBlankAndSettingOneWritesAll)
{
    A->SetLeft(10);
    B->SetLeft(20);
    Model.SetSelection(nullptr, {A, B});
    EXPECT_EQ(Value("Left"), QString());

    ASSERT_TRUE(Model.setData(Model.FindProperty(QStringLiteral("Left")), QStringLiteral("30")));
    EXPECT_EQ(A->GetLeft(), 30);
    EXPECT_EQ(B->GetLeft(), 30);
    EXPECT_EQ(Value("Left"), QStringLiteral("30"));
}

TEST_F(KvInspectorModelTest, AnEditorErrorIsReportedAndTheOldValueStays)
{
    A->SetLeft(10);
    Model.SetSelection(nullptr, {A});
    const QModelIndex Left = Model.FindProperty(QStringLiteral("Left"));
    EXPECT_FALSE(Model.setData(Left, QStringLiteral("ten")));
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_EQ(A->GetLeft(), 10);
    EXPECT_EQ(Left.data().toString(), QStringLiteral("10"));
}

TEST_F(KvInspectorModelTest, ValueListsAreSortedOnlyWhenTheEditorSaysSo)
{
    Model.SetSelection(nullptr, {A});
    EXPECT_EQ(Model.FindProperty(QStringLiteral("Picked")).data(TKvInspectorModel::ValuesRole).toStringList(),
              QStringList({"Alpha", "beta", "gamma"}));
    // Position's enumeration keeps its declaration order.
    Model.SetSelection(nullptr, {&Form});
    const QStringList Positions = Model.FindProperty(QStringLiteral("Position")).data(TKvInspectorModel::ValuesRole).toStringList();
    ASSERT_GE(Positions.size(), 2);
    EXPECT_EQ(Positions.first(), QStringLiteral("poDesigned"));
}

TEST_F(KvInspectorModelTest, SubPropertiesExpandAndFollowTheirParent)
{
    Model.SetSelection(nullptr, {A});
    const QModelIndex Sides = Model.FindProperty(QStringLiteral("Sides")).siblingAtColumn(0);
    EXPECT_TRUE(Model.hasChildren(Sides));
    EXPECT_EQ(Value("Sides.sdTop"), QStringLiteral("False"));

    ASSERT_TRUE(Model.setData(Model.FindProperty(QStringLiteral("Sides.sdTop")), QStringLiteral("True")));
    EXPECT_EQ(A->Sides(), TInspected::TSides(TInspected::sdLeft | TInspected::sdTop));
    EXPECT_EQ(Value("Sides"), QStringLiteral("[sdLeft,sdTop]"));

    // A new value for the whole set brings fresh member rows.
    ASSERT_TRUE(Model.setData(Model.FindProperty(QStringLiteral("Sides")), QStringLiteral("[sdRight]")));
    EXPECT_EQ(Value("Sides.sdLeft"), QStringLiteral("False"));
    EXPECT_EQ(Value("Sides.sdRight"), QStringLiteral("True"));
}

TEST_F(KvInspectorModelTest, ASelectionChangedByAnEditorWaitsUntilItReturns)
{
    Model.SetSelection(nullptr, {A});
    OnDialog = [this] { Model.SetSelection(nullptr, {B}); };
    ASSERT_TRUE(Model.Edit(Model.FindProperty(QStringLiteral("Picked"))));
    EXPECT_EQ(DialogRuns, 1);
    EXPECT_EQ(Model.Selection(), TDesignerSelectionList({B}));
    EXPECT_EQ(Value("Name"), QStringLiteral("B"));
}

TEST_F(KvInspectorModelTest, RowsOfADeletedComponentAreDropped)
{
    Model.SetSelection(nullptr, {A, B});
    Model.ItemDeleted(B);
    EXPECT_EQ(Model.Selection(), TDesignerSelectionList({A}));
    EXPECT_EQ(Value("Name"), QStringLiteral("A"));
}

// The delegate in a real view: which editor each kind of property gets and when values are taken.
class KvInspectorViewTest : public KvInspectorModelTest
{
protected:
    void SetUp() override
    {
        KvInspectorModelTest::SetUp();
        View.setModel(&Model);
        View.setItemDelegate(new TKvInspectorDelegate(&Model, &View));
        View.resize(400, 600);
        View.show();
        Model.SetSelection(nullptr, {A});
    }

    QWidget* OpenEditor(const char* Name)
    {
        const QModelIndex Index = Model.FindProperty(QString::fromLatin1(Name));
        View.setCurrentIndex(Index);
        View.edit(Index);
        return View.indexWidget(Index);
    }

    QTreeView View;
};

TEST_F(KvInspectorViewTest, AutoUpdateTakesEveryKeystrokeOthersWaitForEnter)
{
    auto* Typed = qobject_cast<QLineEdit*>(OpenEditor("Typed"));
    ASSERT_TRUE(Typed);
    QTest::keyClicks(Typed, QStringLiteral("abc"));
    EXPECT_EQ(A->Typed(), QStringLiteral("abc"));
    EXPECT_EQ(A->TypedWrites, 3);

    auto* Hint = qobject_cast<QLineEdit*>(OpenEditor("Hint"));
    ASSERT_TRUE(Hint);
    QTest::keyClicks(Hint, QStringLiteral("tip"));
    EXPECT_EQ(A->GetHint(), QString());
    QTest::keyClick(Hint, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(A->GetHint(), QStringLiteral("tip"));
}

TEST_F(KvInspectorViewTest, ValueListsDropDownAndDialogsOfferAnEllipsis)
{
    auto* Picked = qobject_cast<QComboBox*>(OpenEditor("Picked"));
    ASSERT_TRUE(Picked);
    EXPECT_EQ(Picked->count(), 3);
    EXPECT_EQ(Picked->currentText(), QStringLiteral("beta"));
    Picked->setCurrentIndex(Picked->findText(QStringLiteral("gamma")));
    emit Picked->activated(Picked->currentIndex());
    EXPECT_EQ(A->Picked(), QStringLiteral("gamma"));

    auto* Ellipsis = Picked->findChild<QAction*>(QStringLiteral("AcEllipsis"));
    ASSERT_TRUE(Ellipsis);
    Ellipsis->trigger();
    EXPECT_EQ(DialogRuns, 1);

    // A row not being edited shows its button too, and a click on it opens the dialog.
    View.setCurrentIndex(Model.FindProperty(QStringLiteral("Hint")));
    const QRect Cell = View.visualRect(Model.FindProperty(QStringLiteral("Picked")));
    QTest::mouseClick(View.viewport(), Qt::LeftButton, {}, TKvInspectorDelegate::EllipsisRect(Cell).center());
    EXPECT_EQ(DialogRuns, 2);
}

TEST_F(KvInspectorViewTest, ReadOnlyValuesCannotBeTyped)
{
    const QModelIndex Lines = Model.FindProperty(QStringLiteral("Lines"));
    ASSERT_TRUE(Lines.isValid());
    EXPECT_FALSE(Model.flags(Lines) & Qt::ItemIsEditable);
    EXPECT_TRUE(Model.flags(Model.FindProperty(QStringLiteral("Hint"))) & Qt::ItemIsEditable);
}

} // namespace

#include "tst_KvInspectorModel.moc"
