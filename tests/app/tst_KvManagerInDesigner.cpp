#include "KvDesignerMain.h"
#include "display/KvVtSetsEditor.h"
#include "KvApplication.h"
#include "KvFormDesigner.h"
#include "KvFormView.h"
#include "KvHostServices.h"
#include "KvMessages.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

void OnModal(std::function<void(QWidget*)> Action)
{
    QTimer::singleShot(0, [Action] {
        QWidget* Window = QApplication::activeModalWidget();
        ASSERT_NE(Window, nullptr);
        Action(Window);
    });
}

template <class T>
T* Ctl(QWidget* Window, const char* Name)
{
    T* Control = Window->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
}

void Click(QWidget* Window, const char* Name)
{
    QTest::mouseClick(Ctl<QPushButton>(Window, Name), Qt::LeftButton);
}

QStringList Rows(QListView* List)
{
    QStringList Rows;
    for (int I = 0; I < List->model()->rowCount(); ++I) {
        const QModelIndex Index = List->model()->index(I, 0);
        Rows << (Index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? "[x] " : "[ ] ") + Index.data().toString();
    }
    return Rows;
}

} // namespace

// The package manager opened from the strings editor of the demo's main form: scan a label,
// point its one use at another label, count the package's labels and delete the unused ones.
TEST(KvManagerInDesigner, ScanReplaceCountAndClearFromTheStringsEditor)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir Dir;
    const QDir Source(QStringLiteral(KV_DEMO_DIR));
    for (const QString& File : Source.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(Source.filePath(File), Dir.filePath(File)));
    TFrKvDesigner Window;
    QStringList Errors;
    Window.Prompts.ShowError = [&Errors](QWidget*, const QString& Text) { Errors << Text; };
    Window.Prompts.AskSave = [](QWidget*, const QStringList&) { return TKvAppPrompts::Discard; };
    Window.show();
    ASSERT_TRUE(Window.OpenProject(Dir.filePath(QStringLiteral("KvDemo.dpr"))));
    TKvFormDesigner* Designer = Window.CurrentDesigner();
    auto* Pkg = qobject_cast<TKvPkgStrings*>(Designer->GetComponent(QStringLiteral("PsDemo")));
    ASSERT_TRUE(Pkg);
    Pkg->Labels()->Add(90, QStringLiteral("Spare"));
    auto* LaName = Designer->GetComponent(QStringLiteral("LaName"));
    ASSERT_EQ(LaName->property("MemoryLabel").value<TKvMemoryLabel*>()->Id(), 3);

    TKvMessageRecorder Messages; // the clear question: its default, Yes
    OnModal([&](QWidget* Editor) {
        auto* EdId = Ctl<QLineEdit>(Editor, "EdIdLabels");
        EdId->setFocus();
        EdId->selectAll();
        QTest::keyClicks(EdId, QStringLiteral("3"));
        OnModal([&](QWidget* Manager) {
            EXPECT_EQ(Manager->windowTitle(), QStringLiteral("Packages Manager (Labels)"));
            auto* List = Ctl<QListView>(Manager, "clb");
            Click(Manager, "BtScan");
            const QStringList Found = Rows(List);
            ASSERT_EQ(Found.size(), 1);
            EXPECT_TRUE(Found[0].startsWith(QStringLiteral("[x] (KvDemoMain.dfm) (LaName:TKvLabel) ")));
            EXPECT_TRUE(Found[0].endsWith(QStringLiteral(" MemoryLabel.Id = 3"))) << Found[0].toStdString();
            OnModal([&](QWidget* Replace) {
                auto* Value = Ctl<QLineEdit>(Replace, "EdId");
                Value->selectAll();
                QTest::keyClicks(Value, QStringLiteral("4"));
                Click(Replace, "BtOk");
            });
            Click(Manager, "BtReplace");
            EXPECT_EQ(List->model()->rowCount(), 0);

            OnModal([&](QWidget* Select) { Click(Select, "BtOk"); });
            Click(Manager, "BtCounter");
            const QStringList Counted = Rows(List);
            EXPECT_EQ(Counted.filter(QStringLiteral("[x]")),
                      QStringList({"[x] (00000) PkgName: 'Demo' Id: 3", "[x] (00000) PkgName: 'Demo' Id: 90"}))
                << Counted.join(u'\n').toStdString();
            EXPECT_TRUE(Counted.contains(QStringLiteral("[ ] (00002) PkgName: 'Demo' Id: 4")));
            Click(Manager, "BtClear");
            EXPECT_EQ(Ctl<QStatusBar>(Manager, "sb")->currentMessage(), QString());
            Click(Manager, "BtOk");
        });
        Click(Editor, "BtManager");
        QTest::keyClick(Editor, Qt::Key_Escape);
    });
    QTest::mouseDClick(Window.FormView(), Qt::LeftButton, {}, Window.FormView()->BoundsOf(Pkg).center());

    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
    EXPECT_EQ(Messages.Count(), 1);
    EXPECT_EQ(LaName->property("MemoryLabel").value<TKvMemoryLabel*>()->Id(), 4);
    EXPECT_FALSE(Pkg->Labels()->FindId(3));
    EXPECT_FALSE(Pkg->Labels()->FindId(90));
    EXPECT_TRUE(Window.CurrentForm()->IsModified());
}

// The manager opened from a sets editor counts the colour sets' uses in the project's forms
// and deletes the unused ones through the editor, whose list follows.
TEST(KvManagerInDesigner, CountAndClearUnusedColourSetsFromTheSetsEditor)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir Dir;
    const QDir Source(QStringLiteral(KV_DEMO_DIR));
    for (const QString& File : Source.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(Source.filePath(File), Dir.filePath(File)));
    // LaName uses the colour set "Brand".
    QFile Main(Dir.filePath(QStringLiteral("KvDemoMain.dfm")));
    ASSERT_TRUE(Main.open(QIODevice::ReadOnly));
    QString Text = QString::fromUtf8(Main.readAll());
    Main.close();
    const qsizetype At = Text.indexOf(QStringLiteral("\n  end"), Text.indexOf(QStringLiteral("object LaName: TKvLabel")));
    ASSERT_GT(At, 0);
    Text.insert(At, QStringLiteral("\n    SetColor.Name = 'Brand'"));
    ASSERT_TRUE(Main.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Main.write(Text.toUtf8());
    Main.close();

    TFrKvDesigner Window;
    Window.Prompts.AskSave = [](QWidget*, const QStringList&) { return TKvAppPrompts::Discard; };
    Window.show();
    ASSERT_TRUE(Window.OpenProject(Dir.filePath(QStringLiteral("KvDemo.dpr"))));
    auto* App = qobject_cast<TKvCApplication*>(Window.CurrentDesigner()->GetComponent(QStringLiteral("KvApp")));
    ASSERT_TRUE(App);
    TKvSetColorList* Colors = App->PkgDisplay()->SetsColor();
    Colors->Clear();
    for (const char* Name : {"Brand", "Spare", "Unused"})
        Colors->Add(QString::fromLatin1(Name));

    TKvMessageRecorder Messages; // the clear question: its default, Yes
    OnModal([&](QWidget* Editor) {
        OnModal([&](QWidget* Manager) {
            EXPECT_EQ(Manager->windowTitle(), QStringLiteral("Packages Manager (SetsColor)"));
            auto* List = Ctl<QListView>(Manager, "clb");
            Click(Manager, "BtCounter");
            EXPECT_EQ(Rows(List).filter(QStringLiteral("[x]")).size(), 2) << Rows(List).join(u'\n').toStdString();
            Click(Manager, "BtClear");
            Click(Manager, "BtOk");
        });
        Click(Editor, "BtManager");
        auto* Sets = Ctl<QListView>(Editor, "Colors");
        ASSERT_EQ(Sets->model()->rowCount(), 1);
        EXPECT_EQ(Sets->model()->index(0, 0).data().toString().section(u' ', 0, 0), QStringLiteral("Brand"));
        Click(Editor, "BtOk");
    });
    EXPECT_EQ(KvShowSetsEditor(&Window, TKvSetKind::Color, App), 1);
    EXPECT_EQ(Messages.Count(), 1);
    EXPECT_EQ(Colors->Count(), 1);
    EXPECT_TRUE(Colors->Find(QStringLiteral("Brand")));
}
