#include "vars/KvVtPrivilege.h"
#include "vars/KvVtPrivileges.h"
#include "vars/KvVtPrivilegesAdd.h"
#include "ui_KvVtPrivilege.h"
#include "ui_KvVtPrivileges.h"
#include "ui_KvVtPrivilegesAdd.h"

#include "registration/KvCtrlsReg.h"

#include "KvDesignHooks.h"
#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvPkgPrivileges.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"

#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

void OnModal(std::function<void(QWidget*)> Action)
{
    QTimer::singleShot(0, [Action] {
        QWidget* Window = QApplication::activeModalWidget();
        ASSERT_NE(Window, nullptr);
        Action(Window);
    });
}

void ClickRow(TKvPrivilegesListView* List, int Row, bool Double = false)
{
    QApplication::processEvents();
    const QRect Rect = List->visualRect(List->model()->index(Row, 0));
    ASSERT_TRUE(Rect.isValid()) << Row;
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Rect.center());
    if (Double)
        QTest::mouseDClick(List->viewport(), Qt::LeftButton, {}, Rect.center());
}

QList<int> Ids(const TKvPrivilegesModel* Model)
{
    QList<int> Result;
    for (int Row = 0; Row < Model->rowCount(); ++Row)
        Result << Model->Item(Row)->Id();
    return Result;
}

class PrivilegesTest : public ::testing::Test
{
protected:
    TKvPkgPrivileges Pkg;
    TKvPkgStrings Labels;
    QList<TPersistent*> Told;

    void SetUp() override
    {
        Labels.SetPkgName(QStringLiteral("Sales"));
        Labels.Labels()->Add(4, QStringLiteral("Print invoices"));
        auto Add = [this](int Id, const QString& Description, int Access, bool Visible) {
            TKvPkgPrivilegesItem* Item = Pkg.Add(Id);
            Item->SetDescription(Description);
            Item->SetAccess(Access);
            Item->SetVisible(Visible);
        };
        Add(30, QStringLiteral("Delete customers"), 0, true);
        Add(10, QStringLiteral("Edit customers"), 1, false);
        Add(20, QStringLiteral("Close the year"), 2, true);
        KvDsgnModified = [this](TPersistent* Object) { Told << Object; };
    }
    void TearDown() override { KvDsgnModified = nullptr; }
};

TEST_F(PrivilegesTest, StoreChecksEverythingBeforeTheFirstChange)
{
    TKvPkgPrivilegesItem* New = KvStorePrivilege(&Pkg, false, QString(), QStringLiteral("40"), QStringLiteral("Export"),
                                                 QString(), -1, 1, false);
    EXPECT_EQ(New->Id(), 40);
    EXPECT_EQ(New->Access(), 1);
    EXPECT_FALSE(New->Visible());

    // A taken id, an id that cannot be typed, an access out of range: nothing changes.
    const QByteArray Before = Pkg.SaveToBytes();
    EXPECT_THROW(KvStorePrivilege(&Pkg, true, QStringLiteral("40"), QStringLiteral("10"), QStringLiteral("x"),
                                  QString(), -1, 2, true),
                 Exception);
    EXPECT_THROW(KvStorePrivilege(&Pkg, false, QString(), QStringLiteral("12345"), QString(), QString(), -1, 2, true),
                 Exception);
    EXPECT_THROW(KvStorePrivilege(&Pkg, true, QStringLiteral("40"), QStringLiteral("41"), QString(), QString(), -1, 3,
                                  true),
                 Exception);
    EXPECT_EQ(Pkg.SaveToBytes(), Before);

    // With a describing label the typed description is not stored, and the label's text shows.
    KvStorePrivilege(&Pkg, true, QStringLiteral("40"), QStringLiteral("41"), QStringLiteral("Typed"),
                     QStringLiteral("Sales"), 4, 2, true);
    ASSERT_EQ(Pkg.FindId(40), nullptr);
    const TKvPkgPrivilegesItem* Moved = Pkg.FindId(41);
    EXPECT_EQ(Moved->Description(), QStringLiteral("Export"));
    EXPECT_EQ(Moved->DescriptionId(), 4);
    EXPECT_EQ(KvPrivilegeDescription(Moved), QStringLiteral("Print invoices"));

    TKvPrivilegesModel Model;
    Model.Fill(&Pkg, QStringLiteral("  CUSTOMERS "));
    EXPECT_EQ(Ids(&Model), (QList<int>{10, 30}));
    Model.Fill(&Pkg, QStringLiteral("invoice"));
    EXPECT_EQ(Ids(&Model), (QList<int>{41}));
    Model.Fill(&Pkg, QString());
    EXPECT_EQ(Ids(&Model), (QList<int>{10, 20, 30, 41}));
    EXPECT_EQ(KvPrivilegesStatus(1), QStringLiteral("1 Privilege"));
    EXPECT_EQ(KvPrivilegesFileFilter(&Pkg), QStringLiteral("Package Privileges (*.kvacc)|*.kvacc|All files (*.*)|*.*"));
}

TEST_F(PrivilegesTest, EditorWithMouseAndKeys)
{
    TKvMessageRecorder Messages;
    TFrPrivileges Editor;
    Editor.PkgPrivileges = &Pkg;
    Ui::TFrPrivileges* C = Editor.ui();
    QTemporaryDir Dir;
    const QString Template = Dir.filePath(QStringLiteral("Office.pri"));
    const TKvFileDialogHandler Old = KvSetFileDialogHandler([&](TKvFileDialogRequest& Request) {
        EXPECT_EQ(Request.Filter, KvPrivilegesTemplateFilter());
        EXPECT_EQ(Request.DefaultExt, QStringLiteral("pri"));
        Request.FileName = Template;
        return true;
    });
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(C->LaStatus->text(), QStringLiteral("3 Privileges"));
        EXPECT_EQ(Ids(Editor.Model()), (QList<int>{10, 20, 30}));
        EXPECT_FALSE(C->BtModify->isEnabled());
        ClickRow(C->List, 1);
        EXPECT_EQ(C->EdId->text(), QStringLiteral("20"));
        EXPECT_TRUE(C->BtDelete->isEnabled());

        // Typing in the id box selects that privilege; the search box filters.
        C->EdId->setFocus();
        QTest::keyClick(C->EdId, Qt::Key_Backspace);
        QTest::keyClick(C->EdId, Qt::Key_Backspace);
        QTest::keyClicks(C->EdId, QStringLiteral("3x0"));
        EXPECT_EQ(C->EdId->text(), QStringLiteral("30"));
        EXPECT_EQ(C->List->CurrentRow(), 2);
        QTest::keyClicks(C->EdSearch, QStringLiteral("cust"));
        EXPECT_EQ(Ids(Editor.Model()), (QList<int>{10, 30}));
        EXPECT_EQ(C->List->CurrentRow(), 1);

        // Add: the new privilege defaults to read/write and visible.
        OnModal([](QWidget* W) {
            auto* Dialog = qobject_cast<TFrPrivilegesAdd*>(W);
            ASSERT_NE(Dialog, nullptr);
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Add Privilege"));
            EXPECT_EQ(Dialog->ui()->EdId->text(), QStringLiteral("31"));
            EXPECT_EQ(Dialog->ui()->EdAccess->currentText(), QStringLiteral("acReadWrite"));
            EXPECT_TRUE(Dialog->ui()->CbVisible->isChecked());
            EXPECT_EQ(Dialog->ui()->LaReference->text(), QStringLiteral("(None)"));
            QTest::keyClicks(Dialog->ui()->EdDescription, QStringLiteral("Merge customers"));
            QTest::mouseClick(Dialog->ui()->BtOk, Qt::LeftButton);
        });
        QTest::mouseClick(C->BtAdd, Qt::LeftButton);
        ASSERT_NE(Pkg.FindId(31), nullptr);
        EXPECT_EQ(Pkg.FindId(31)->Access(), 2);
        EXPECT_EQ(Ids(Editor.Model()), (QList<int>{10, 30, 31}));
        EXPECT_EQ(C->List->CurrentRow(), 2);
        EXPECT_EQ(C->LaStatus->text(), QStringLiteral("4 Privileges"));

        // Delete never asks; the row at the same place, or the last, is selected next.
        const int Asked = Messages.Count();
        QTest::mouseClick(C->BtDelete, Qt::LeftButton);
        EXPECT_EQ(Messages.Count(), Asked);
        EXPECT_EQ(Pkg.FindId(31), nullptr);
        EXPECT_EQ(C->EdId->text(), QStringLiteral("30"));

        // A double click modifies: a new id moves the selection with it.
        ClickRow(C->List, 0);
        OnModal([](QWidget* W) {
            auto* Dialog = qobject_cast<TFrPrivilegesAdd*>(W);
            ASSERT_NE(Dialog, nullptr);
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Modify Privilege"));
            EXPECT_EQ(Dialog->ui()->EdAccess->currentIndex(), 1);
            Dialog->ui()->EdId->setText(QStringLiteral("35"));
            Dialog->accept();
        });
        QTest::mouseDClick(C->List->viewport(), Qt::LeftButton, {}, C->List->visualRect(Editor.Model()->index(0)).center());
        EXPECT_EQ(C->EdId->text(), QStringLiteral("35"));
        ASSERT_NE(Pkg.FindId(35), nullptr);
        EXPECT_EQ(Pkg.FindId(35)->Description(), QStringLiteral("Edit customers"));

        // Templates carry the privileges; Clear Access and Clear All ask first.
        QTest::mouseClick(C->BtSaveTemplate, Qt::LeftButton);
        Messages.Answer(KvBtnAccept);
        Editor.PopupMenu()->findChild<QAction*>(QStringLiteral("MnClearAccess"))->trigger();
        EXPECT_EQ(Pkg.FindId(35)->Access(), 2);
        Messages.Answer(KvBtnCancel);
        QTest::mouseClick(C->BtClearAll, Qt::LeftButton);
        EXPECT_EQ(Pkg.Count(), 3);
        Messages.Answer(KvBtnAccept);
        QTest::mouseClick(C->BtClearAll, Qt::LeftButton);
        EXPECT_EQ(Pkg.Count(), 0);
        EXPECT_EQ(C->LaStatus->text(), QStringLiteral("0 Privileges"));
        QTest::mouseClick(C->BtLoadTemplate, Qt::LeftButton);
        EXPECT_EQ(Pkg.Count(), 3);
        EXPECT_EQ(Pkg.FindId(35)->Access(), 1);
        // The box stands right of its text.
        QTest::mouseClick(C->CbReadState, Qt::LeftButton, {}, QPoint(C->CbReadState->width() - 8, C->CbReadState->height() / 2));
        EXPECT_TRUE(Pkg.ReadStateDisableControl());
        QTest::keyClick(&Editor, Qt::Key_Escape);
    });
    Editor.Execute();
    KvSetFileDialogHandler(Old);
    EXPECT_GE(Told.size(), 7);
    EXPECT_TRUE(std::all_of(Told.begin(), Told.end(), [this](TPersistent* P) { return P == &Pkg; }));
}

TEST_F(PrivilegesTest, PickerWritesTheIdBoxOnlyWhenConfirmed)
{
    TKvPrivilege Privilege;
    auto Pick = [&](std::function<void(Ui::TFrPrivilege*, TFrPrivilege*)> Action) {
        TFrPrivilege Picker;
        Picker.PkgPrivileges = &Pkg;
        Picker.Privilege = &Privilege;
        QTimer::singleShot(0, [&] { Action(Picker.ui(), &Picker); });
        return Picker.Execute();
    };
    // -1 is shown though it cannot be typed; an id no privilege has is still written.
    EXPECT_EQ(Pick([](Ui::TFrPrivilege* C, TFrPrivilege*) {
                  EXPECT_EQ(C->EdId->text(), QStringLiteral("-1"));
                  EXPECT_EQ(C->List->CurrentRow(), -1);
                  C->EdId->setFocus();
                  for (int I = 0; I < 2; ++I)
                      QTest::keyClick(C->EdId, Qt::Key_Backspace);
                  QTest::keyClicks(C->EdId, QStringLiteral("77"));
                  QTest::keyClick(C->EdId, Qt::Key_Return);
              }),
              1);
    EXPECT_EQ(Privilege.Id(), 77);
    EXPECT_EQ(Pick([](Ui::TFrPrivilege* C, TFrPrivilege*) { ClickRow(C->List, 1, true); }), 1);
    EXPECT_EQ(Privilege.Id(), 20);
    EXPECT_EQ(Pick([](Ui::TFrPrivilege* C, TFrPrivilege*) {
                  ClickRow(C->List, 0);
                  QTest::mouseClick(C->BtCancel, Qt::LeftButton);
              }),
              2);
    EXPECT_EQ(Privilege.Id(), 20);
    EXPECT_EQ(Pick([](Ui::TFrPrivilege* C, TFrPrivilege*) { QTest::mouseClick(C->BtNull, Qt::LeftButton); }), 1);
    EXPECT_EQ(Privilege.Id(), -1);
    EXPECT_EQ(Pick([](Ui::TFrPrivilege* C, TFrPrivilege* P) {
                  C->EdId->clear();
                  P->accept();
              }),
              1);
    EXPECT_EQ(Privilege.Id(), -1);

    // The manager deletes through the picker, also a privilege the search hides.
    Pick([this](Ui::TFrPrivilege* C, TFrPrivilege* P) {
        QTest::keyClicks(C->EdSearch, QStringLiteral("year"));
        P->DeleteItem(Pkg.FindId(10));
        P->DeleteItem(Pkg.FindId(20));
        EXPECT_EQ(P->Model()->rowCount(), 0);
        EXPECT_EQ(C->LaStatus->text(), QStringLiteral("1 Privilege"));
        P->reject();
    });
    EXPECT_EQ(Pkg.Count(), 1);

    // Without an application the hook refuses before opening anything.
    DefShowPrivileges();
    EXPECT_THROW(ShowPrivilege(&Pkg, &Privilege), Exception);
}

} // namespace
