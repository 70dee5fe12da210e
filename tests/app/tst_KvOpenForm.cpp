#include "Controls.h"
#include "Filer.h"
#include "KvComponentTreeModel.h"
#include "KvDesignerMain.h"
#include "KvFormDesigner.h"
#include "KvFormView.h"
#include "KvHostServices.h"
#include "KvInspectorModel.h"
#include "KvMessages.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

// Forms opened on their own, as a user opens a form file that came without its project: every form
// of the corpus of real forms shows its components and saves back byte for byte.

namespace {

QByteArray Bytes(const QString& Path)
{
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

// Every file below Dir with its content.
QMap<QString, QByteArray> Snapshot(const QString& Dir)
{
    QMap<QString, QByteArray> Files;
    QDirIterator It(Dir, QDir::Files, QDirIterator::Subdirectories);
    while (It.hasNext()) {
        const QString File = It.next();
        Files.insert(File, Bytes(File));
    }
    return Files;
}

// The components a form file declares by name (`object`, `inherited` and `inline` lines).
QStringList DeclaredNames(const QByteArray& Text)
{
    static const QRegularExpression Line(QStringLiteral(R"(^\s*(?:object|inherited|inline)\s+(\w+)\s*:)"),
                                         QRegularExpression::MultilineOption);
    QStringList Names;
    for (auto It = Line.globalMatch(QString::fromLatin1(Text)); It.hasNext();)
        Names << It.next().captured(1).toLower();
    return Names;
}

class KvOpenFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const QString& Folder : {QStringLiteral("forms"), QStringLiteral("projects/Legacy")}) {
            const QDir Source(QStringLiteral(KV_TEST_DATA "/") + Folder);
            const QString Target = Dir.filePath(Source.dirName());
            QDir().mkpath(Target);
            for (const QString& File : Source.entryList(QDir::Files))
                ASSERT_TRUE(QFile::copy(Source.filePath(File), Target + u'/' + File));
        }
        Window = std::make_unique<TFrKvDesigner>();
        Window->Prompts.ShowError = [this](QWidget*, const QString& Text) { Errors << Text; };
        Window->Prompts.AskSave = [](QWidget*, const QStringList&) { return TKvAppPrompts::Discard; };
        Window->Prompts.ChooseProject = [](QWidget*, const QString&) { return QString(); };
        Window->Prompts.ChooseForm = [this](QWidget*, const QString&) { return Chosen; };
        OldHandler = KvSetMessageHandler([this](const TKvMessageRequest& Request) {
            Errors << Request.Text;
            return Request.Default;
        });
        Window->show();
    }

    void TearDown() override
    {
        Window.reset();
        KvSetMessageHandler(OldHandler);
    }

    // File > Open Form..., answering the file dialog with File.
    TKvFormEditor* OpenThroughMenu(const QString& File)
    {
        Chosen = File;
        QAction* Open = Window->findChild<QAction*>(QStringLiteral("AcOpenForm"));
        EXPECT_TRUE(Open);
        if (Open)
            Open->trigger();
        return Window->CurrentForm();
    }

    // The names of the component tree's entries.
    QStringList TreeNames() const
    {
        QStringList Names;
        TKvComponentTreeModel* Tree = Window->ComponentTree();
        std::function<void(const QModelIndex&)> Walk = [&](const QModelIndex& Parent) {
            for (int Row = 0; Row < Tree->rowCount(Parent); ++Row) {
                const QModelIndex Index = Tree->index(Row, 0, Parent);
                Names << Tree->ComponentAt(Index)->GetName().toLower();
                Walk(Index);
            }
        };
        Walk({});
        return Names;
    }

    QString FormsDir() const { return Dir.filePath(QStringLiteral("forms")); }
    QString LegacyDir() const { return Dir.filePath(QStringLiteral("Legacy")); }

    QTemporaryDir Dir;
    std::unique_ptr<TFrKvDesigner> Window;
    QStringList Errors;
    QString Chosen;
    TKvMessageHandler OldHandler;
};

TEST_F(KvOpenFormTest, EveryCorpusFormShowsItsComponentsAndSavesUnchanged)
{
    QStringList Files;
    for (const QString& Folder : {FormsDir(), LegacyDir()})
        for (const QFileInfo& F : QDir(Folder).entryInfoList({QStringLiteral("*.dfm")}, QDir::Files, QDir::Name))
            Files << F.absoluteFilePath();
    ASSERT_EQ(Files.size(), 13);
    for (const QString& File : Files) {
        SCOPED_TRACE(File.toStdString());
        const QByteArray Original = Bytes(File);
        const QMap<QString, QByteArray> Before = Snapshot(Dir.path());
        TKvFormEditor* Form = OpenThroughMenu(File);
        ASSERT_TRUE(Form) << Errors.join(u'\n').toStdString();
        ASSERT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
        EXPECT_EQ(Form->UnitModule()->FormFileName(), File);
        EXPECT_FALSE(Form->IsModified());
        EXPECT_EQ(Snapshot(Dir.path()), Before) << "opening wrote to a file";

        // Every component the file names is in the tree; what stands on the form itself is drawn.
        const QStringList Tree = TreeNames();
        for (const QString& Name : DeclaredNames(Original))
            EXPECT_TRUE(Tree.contains(Name)) << Name.toStdString();
        TComponent* Root = Form->GetRootComponent();
        Root->GetChildren(
            [&](TComponent* C) {
                EXPECT_FALSE(Window->FormView()->BoundsOf(C).isEmpty()) << C->GetName().toStdString();
            },
            Root);

        Form->Designer()->SetModifiedOutsideHistory();
        ASSERT_TRUE(Window->Save()) << Errors.join(u'\n').toStdString();
        EXPECT_EQ(Bytes(File), Original);
        EXPECT_EQ(Snapshot(Dir.path()).keys(), Before.keys()) << "saving made a file (a unit?)";
        ASSERT_TRUE(Window->CloseForm());
    }
}

TEST_F(KvOpenFormTest, InheritedFormAloneOpensOnTheAncestorBesideItElseWarns)
{
    // UChild.pas says class(TFrmBase); UBase.pas and its form lie beside it.
    TKvFormEditor* Child = OpenThroughMenu(LegacyDir() + QStringLiteral("/UChild.dfm"));
    ASSERT_TRUE(Child) << Errors.join(u'\n').toStdString();
    EXPECT_FALSE(Window->Host().ActiveProject());
    EXPECT_TRUE(Child->UnitModule()->LoadWarning().isEmpty()) << Child->UnitModule()->LoadWarning().toStdString();
    const QStringList Tree = TreeNames();
    for (const QString& Name : DeclaredNames(Bytes(LegacyDir() + QStringLiteral("/UBase.dfm"))).mid(1))
        EXPECT_TRUE(Tree.contains(Name)) << Name.toStdString();
    // The base stores its client size: the bottom-aligned buttons lie inside the form drawn, and
    // show their captions.
    TComponent* Ok = Child->Designer()->GetComponent(QStringLiteral("BtOk"));
    ASSERT_TRUE(Ok);
    const QRect Form = Window->FormView()->BoundsOf(Child->GetRootComponent());
    EXPECT_TRUE(Form.contains(Window->FormView()->BoundsOf(Ok))) << Form.height();
    EXPECT_EQ(KvDisplayText(Ok), QStringLiteral("OK"));
    TComponent* Frame = Child->Designer()->GetComponent(QStringLiteral("FrAddress1"));
    ASSERT_TRUE(Frame && Frame->FindComponent(QStringLiteral("EdCity")));
    EXPECT_EQ(KvDisplayText(Frame->FindComponent(QStringLiteral("EdCity"))), QStringLiteral("Springfield"));

    // Without a unit nothing tells where the ancestor is: what the form names is shown, with a
    // warning. (It has the name of the form above, which must close first.)
    ASSERT_TRUE(Window->CloseForm());
    TKvFormEditor* Alone = OpenThroughMenu(FormsDir() + QStringLiteral("/Inherited.dfm"));
    ASSERT_TRUE(Alone) << Errors.join(u'\n').toStdString();
    EXPECT_TRUE(Window->statusBar()->currentMessage().contains(QStringLiteral("ancestor of TFrmChild")))
        << Window->statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}

TEST_F(KvOpenFormTest, FormWithoutUnitTakesItsKindFromTheFormAndEditsWithoutOne)
{
    TKvFormEditor* Orders = OpenThroughMenu(FormsDir() + QStringLiteral("/VclOrders.dfm"));
    ASSERT_TRUE(Orders) << Errors.join(u'\n').toStdString();
    EXPECT_TRUE(qobject_cast<TForm*>(Orders->GetRootComponent()));
    EXPECT_EQ(KvDisplayText(Orders->Designer()->GetComponent(QStringLiteral("LbCustomer"))), QStringLiteral("Customer:"));
    ASSERT_TRUE(Window->CloseForm());

    TKvFormEditor* Module = OpenThroughMenu(FormsDir() + QStringLiteral("/VclDataModule.dfm"));
    ASSERT_TRUE(Module) << Errors.join(u'\n').toStdString();
    EXPECT_TRUE(qobject_cast<TDataModule*>(Module->GetRootComponent()));
    ASSERT_TRUE(Window->CloseForm());

    const QString Frame = FormsDir() + QStringLiteral("/Address.dfm");
    ASSERT_TRUE(QFile::copy(LegacyDir() + QStringLiteral("/UAddress.dfm"), Frame));
    TKvFormEditor* Opened = OpenThroughMenu(Frame);
    ASSERT_TRUE(Opened) << Errors.join(u'\n').toStdString();
    EXPECT_TRUE(qobject_cast<TFrame*>(Opened->GetRootComponent()));
    EXPECT_FALSE(Opened->UnitModule()->HasUnitFile());

    // A placeholder is selected, moved and deleted with mouse and keys; there is no unit to follow.
    TComponent* Root = Opened->GetRootComponent();
    TComponent* Target = nullptr;
    Root->GetChildren([&](TComponent* C) { Target = Target ? Target : (IsPlaceholder(C) ? C : nullptr); }, Root);
    ASSERT_TRUE(Target);
    const QString Name = Target->GetName();
    TKvFormView* View = Window->FormView();
    const QPoint At = View->BoundsOf(Target).center();
    QTest::mouseClick(View, Qt::LeftButton, {}, At);
    ASSERT_EQ(Opened->Designer()->GetSelections(), TDesignerSelectionList({Target}));
    // Its bounds are live; what else it holds is listed and cannot be typed.
    const QList<std::pair<QString, QString>> Kept = KeptProperties(Target);
    ASSERT_FALSE(Kept.isEmpty());
    const QModelIndex KeptRow = Window->Inspector()->FindProperty(Kept.first().first);
    ASSERT_TRUE(KeptRow.isValid()) << Kept.first().first.toStdString();
    EXPECT_EQ(KeptRow.siblingAtColumn(1).data().toString(), Kept.first().second.simplified());
    EXPECT_FALSE(Window->Inspector()->flags(KeptRow.siblingAtColumn(1)) & Qt::ItemIsEditable);
    auto* Control = qobject_cast<TControl*>(Target);
    ASSERT_TRUE(Control);
    const int LeftBefore = Control->GetLeft();
    QTest::mousePress(View, Qt::LeftButton, {}, At);
    QTest::mouseMove(View, At + QPoint(10, 0));
    QTest::mouseMove(View, At + QPoint(24, 0));
    QTest::mouseRelease(View, Qt::LeftButton, {}, At + QPoint(24, 0));
    EXPECT_GT(Control->GetLeft(), LeftBefore);
    EXPECT_TRUE(Opened->IsModified());
    View->setFocus();
    QTest::keyClick(View, Qt::Key_Delete);
    EXPECT_FALSE(Opened->Designer()->GetComponent(Name));
    ASSERT_TRUE(Window->Save()) << Errors.join(u'\n').toStdString();
    EXPECT_FALSE(DeclaredNames(Bytes(Frame)).contains(Name.toLower()));
    EXPECT_FALSE(QFile::exists(FormsDir() + QStringLiteral("/Address.pas")));
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}

} // namespace
