#include "Controls.h"
#include "KvComponentTreeModel.h"
#include "KvDesignerMain.h"
#include "KvFormDesigner.h"
#include "KvFormView.h"
#include "KvHostServices.h"
#include "KvInspectorModel.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUndoStack>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

// The main window on a copy of the demo project.
class KvDesignerEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        QDir Source(QStringLiteral(KV_DEMO_DIR));
        for (const QString& File : Source.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(Source.filePath(File), Dir.filePath(File)));
        Window = std::make_unique<TFrKvDesigner>();
        Window->Prompts.ShowError = [this](QWidget*, const QString& Text) { Errors << Text; };
        Window->Prompts.AskSave = [](QWidget*, const QStringList&) { return TKvAppPrompts::Discard; };
        Window->show();
        ASSERT_TRUE(Window->OpenProject(Dir.filePath(QStringLiteral("KvDemo.dpr"))));
    }

    TKvFormDesigner* Designer() const { return Window->CurrentDesigner(); }
    TComponent* Find(const char* Name) const { return Designer()->GetComponent(QString::fromLatin1(Name)); }
    TKvFormView* View() const { return Window->FormView(); }

    void ClickInTree(const TComponent* Component)
    {
        auto* Tree = Window->findChild<QTreeView*>(QStringLiteral("TvComponents"));
        const QModelIndex Index = Window->ComponentTree()->IndexOf(Component);
        ASSERT_TRUE(Index.isValid());
        Tree->scrollTo(Index);
        QTest::mouseClick(Tree->viewport(), Qt::LeftButton, {}, Tree->visualRect(Index).center());
    }

    // Copies Name with Edit > Copy and pastes it onto the form with Edit > Paste; gives the copy.
    TComponent* CopyAndPaste(const char* Name)
    {
        ClickInTree(Find(Name));
        Window->findChild<QAction*>(QStringLiteral("AcCopy"))->trigger();
        ClickInTree(Designer()->GetRoot());
        Window->findChild<QAction*>(QStringLiteral("AcPaste"))->trigger();
        const TDesignerSelectionList Pasted = Designer()->GetSelections();
        EXPECT_EQ(Pasted.size(), 1);
        return Pasted.isEmpty() ? nullptr : qobject_cast<TComponent*>(Pasted.first());
    }

    QTemporaryDir Dir;
    std::unique_ptr<TFrKvDesigner> Window;
    QStringList Errors;
};

} // namespace

TEST_F(KvDesignerEditTest, PastedCopiesGoToTheNextFreeGridPlaceInOneStep)
{
    // A non-visual copy moves off every box, by whole grid steps; a second copy off the first.
    const QRect Original = View()->BoundsOf(Find("PsDemo"));
    const int Steps = Designer()->UndoStack()->count();
    TComponent* Copy = CopyAndPaste("PsDemo");
    ASSERT_TRUE(Copy && Copy != Find("PsDemo"));
    const QRect Placed = View()->BoundsOf(Copy);
    EXPECT_FALSE(Placed.intersects(Original));
    EXPECT_FALSE(Placed.intersects(View()->NonVisualCaptionRect(Find("PsDemo"))));
    EXPECT_EQ((Placed.topLeft() - Original.topLeft()).x() % TKvFormView::GridSize, 0);
    EXPECT_EQ(Placed.left() - Original.left(), Placed.top() - Original.top());
    // Clicking where the copy is drawn selects it.
    QTest::mouseClick(View(), Qt::LeftButton, {}, Placed.center());
    ASSERT_EQ(Designer()->GetSelections().size(), 1);
    EXPECT_EQ(Designer()->GetSelections().first(), Copy);
    TComponent* Second = CopyAndPaste("PsDemo");
    ASSERT_TRUE(Second);
    EXPECT_FALSE(View()->BoundsOf(Second).intersects(Placed));
    EXPECT_FALSE(View()->BoundsOf(Second).intersects(Original));

    // A control pasted beside its original does not cover it exactly.
    auto* Button = qobject_cast<TControl*>(Find("BtOk"));
    ASSERT_TRUE(Button);
    auto* Pasted = qobject_cast<TControl*>(CopyAndPaste("BtOk"));
    ASSERT_TRUE(Pasted);
    EXPECT_EQ(Pasted->Parent(), Button->Parent());
    EXPECT_EQ(Pasted->GetLeft(), Button->GetLeft() + TKvFormView::GridSize);
    EXPECT_EQ(Pasted->GetTop(), Button->GetTop() + TKvFormView::GridSize);

    // Each paste, with its move, is one step of the history.
    EXPECT_EQ(Designer()->UndoStack()->count(), Steps + 3);
    const QString Name = Copy->GetName();
    for (int I = 0; I < 3; ++I)
        Designer()->UndoStack()->undo();
    EXPECT_EQ(Designer()->GetComponent(Name), nullptr);
    Designer()->UndoStack()->redo();
    TComponent* Again = Designer()->GetComponent(Name);
    ASSERT_TRUE(Again);
    EXPECT_EQ(View()->BoundsOf(Again), Placed);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}

TEST_F(KvDesignerEditTest, NamesOfBoxesSideBySideStayApart)
{
    // Long names under boxes one grid square and a half apart are cut short rather than overlap.
    TComponent* Strings = Find("PsDemo");
    TComponent* Images = Find("PiDemo");
    ASSERT_TRUE(Strings && Images);
    Strings->SetName(QStringLiteral("PsDemoWithAVeryLongName"));
    Images->SetName(QStringLiteral("PiDemoWithAVeryLongName"));
    Strings->SetDesignPos(100, 400);
    Images->SetDesignPos(140, 400);
    View()->Changed();
    const QRect A = View()->NonVisualCaptionRect(Strings);
    const QRect B = View()->NonVisualCaptionRect(Images);
    EXPECT_FALSE(A.intersects(B)) << A.right() << " " << B.left();
    EXPECT_GE(A.width(), View()->BoundsOf(Strings).width());
    // A box alone keeps its whole name.
    Images->SetDesignPos(400, 400);
    EXPECT_GT(View()->NonVisualCaptionRect(Strings).width(),
              View()->fontMetrics().horizontalAdvance(Strings->GetName()));
}

TEST_F(KvDesignerEditTest, AnEventOffersTheFormsHandlersThatFitIt)
{
    TComponent* Edit = Find("EdName");
    ClickInTree(Edit);
    auto* Tabs = Window->findChild<QTabBar*>(QStringLiteral("TbInspector"));
    QTest::mouseClick(Tabs, Qt::LeftButton, {}, Tabs->tabRect(1).center());
    auto* Inspector = Window->findChild<QTreeView*>(QStringLiteral("TvInspector"));
    const QModelIndex Click = Window->Inspector()->FindProperty(QStringLiteral("OnClick"));
    ASSERT_TRUE(Click.isValid());
    Inspector->setCurrentIndex(Click);
    auto* Combo = qobject_cast<QComboBox*>(Inspector->indexWidget(Click));
    ASSERT_TRUE(Combo);
    QStringList Offered;
    for (int I = 0; I < Combo->count(); ++I)
        Offered << Combo->itemText(I);
    EXPECT_EQ(Offered, (QStringList{"LbCustomersClick", "MiAboutClick", "MiCustomerClick", "MiExitClick"}));

    // Picking one binds the event to it without writing a new handler, as one step.
    TKvSourceEditor* Unit = Window->CurrentForm()->UnitModule()->SourceEditor();
    const QString Before = Unit->Text();
    const int Steps = Designer()->UndoStack()->count();
    Combo->showPopup();
    QAbstractItemView* List = Combo->view();
    const QModelIndex About = List->model()->index(Offered.indexOf(QStringLiteral("MiAboutClick")), 0);
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->visualRect(About).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(Edit->property("OnClick").value<TMethod>().Name, QStringLiteral("MiAboutClick"));
    EXPECT_EQ(Unit->Text(), Before);
    EXPECT_EQ(Designer()->UndoStack()->count(), Steps + 1);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}
