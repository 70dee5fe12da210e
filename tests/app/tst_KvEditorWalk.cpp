#include "DesignEditors.h"
#include "DesignNotify.h"
#include "DesignRegistry.h"
#include "KvDesignerMain.h"
#include "KvDialogs.h"
#include "KvFormDesigner.h"
#include "KvHostServices.h"
#include "KvInspectorModel.h"
#include "KvMessages.h"
#include "KvProject.h"
#include "registration/KvRegClasses.h"
#include "registration/KvReg.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMetaProperty>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>
#include <typeindex>

// Every verb of every component editor and every dialog or value list of the package's property
// editors, run on each component of the demo as a user runs them in kvdesigner: each must show
// something (a window, a question, a changed form, a list) and leave a form that writes out and
// reads back the same. What is offered disabled on purpose is reported as skipped, with its reason.

namespace {

// What the user sees while one action runs: windows and popup menus, questions, platform
// dialogs, the code of a handler. Modal windows are cancelled (or confirmed) as soon as they
// show; windows and menus shown beside the designer are closed once the action is over.
// Questions are answered "no" where they can be, platform dialogs are cancelled.
class TWitness : public QObject
{
public:
    explicit TWitness(QWidget* Main) : FMain(Main)
    {
        qApp->installEventFilter(this);
        connect(DesignNotifier(), &TDesignNotifier::MethodShown, this,
                [this](IDesigner*, const QString& Name) { Seen << QStringLiteral("code of ") + Name; });
        FMessages = KvSetMessageHandler([this](const TKvMessageRequest& Request) {
            Seen << QStringLiteral("message '%1'").arg(Request.Text.left(60));
            for (int Kind : {KvBtnCancel, KvBtnNo})
                if (Request.Buttons.contains(Kind))
                    return Kind;
            return Request.Default;
        });
        FFile = KvSetFileDialogHandler([this](TKvFileDialogRequest& R) { return Asked(QStringLiteral("file dialog ") + R.Title); });
        FFolder = KvSetFolderDialogHandler([this](TKvFolderDialogRequest&) { return Asked(QStringLiteral("folder dialog")); });
        FColor = KvSetColorDialogHandler([this](QColor&) { return Asked(QStringLiteral("colour dialog")); });
        FFont = KvSetFontDialogHandler([this](QFont&) { return Asked(QStringLiteral("font dialog")); });
        FPrinter = KvSetPrinterSetupHandler([this](QPrinter&) { return Asked(QStringLiteral("printer dialog")); });
        FPreview = KvSetPrintPreviewHandler(
            [this](QPrinter&, const TKvPrintPaint&) { return Asked(QStringLiteral("print preview")); });
    }
    ~TWitness() override
    {
        qApp->removeEventFilter(this);
        KvSetMessageHandler(FMessages);
        KvSetFileDialogHandler(FFile);
        KvSetFolderDialogHandler(FFolder);
        KvSetColorDialogHandler(FColor);
        KvSetFontDialogHandler(FFont);
        KvSetPrinterSetupHandler(FPrinter);
        KvSetPrintPreviewHandler(FPreview);
    }

    // Closes what the action left open beside the designer; what was seen is kept.
    void CloseOpened()
    {
        for (const QPointer<QWidget>& W : std::as_const(FOpened))
            if (W)
                W->close();
        FOpened.clear();
        QCoreApplication::processEvents();
    }

    QStringList Seen;
    // Modal windows are confirmed (their OK) rather than cancelled.
    bool Confirm = false;

protected:
    bool eventFilter(QObject* Object, QEvent* Event) override
    {
        auto* W = qobject_cast<QWidget*>(Object);
        if (Event->type() != QEvent::Show || !W || !W->isWindow() || W == FMain || W->windowType() == Qt::ToolTip)
            return false;
        Seen << QStringLiteral("%1 '%2'").arg(QString::fromLatin1(W->metaObject()->className()), W->windowTitle());
        QPointer<QWidget> P(W);
        if (W->isModal())
            QTimer::singleShot(0, W, [Confirm = Confirm, P] {
                if (!P)
                    return;
                auto* Ok = P->findChild<QPushButton*>(QStringLiteral("BtOk"));
                if (Confirm && Ok && Ok->isVisible() && Ok->isEnabled())
                    QTest::mouseClick(Ok, Qt::LeftButton);
                else if (auto* D = qobject_cast<QDialog*>(P.data()))
                    Confirm ? D->accept() : D->reject();
                else
                    P->close();
            });
        else
            FOpened << P;
        return false;
    }

private:
    bool Asked(const QString& What)
    {
        Seen << What;
        return false;
    }

    QWidget* FMain;
    QList<QPointer<QWidget>> FOpened;
    TKvMessageHandler FMessages;
    TKvFileDialogHandler FFile;
    TKvFolderDialogHandler FFolder;
    TKvColorDialogHandler FColor;
    TKvFontDialogHandler FFont;
    TKvPrinterSetupHandler FPrinter;
    TKvPrintPreviewHandler FPreview;
};

class KvEditorWalk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        const QDir Source(QStringLiteral(KV_DEMO_DIR));
        for (const QString& File : Source.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(Source.filePath(File), Dir.filePath(File)));
        Window = std::make_unique<TFrKvDesigner>();
        Window->Prompts.ShowError = [this](QWidget*, const QString& Text) { Errors << Text; };
        Window->Prompts.AskSave = [](QWidget*, const QStringList&) { return TKvAppPrompts::Discard; };
        Window->Prompts.ChooseProject = [](QWidget*, const QString&) { return QString(); };
        Window->show();
        ASSERT_TRUE(Window->OpenProject(Dir.filePath(QStringLiteral("KvDemo.dpr"))));
        Project = Window->Host().ActiveProject();
        ASSERT_TRUE(Project);
    }

    void TearDown() override
    {
        if (HasFailure())
            for (const QString& Line : std::as_const(Actions))
                std::cout << "walked: " << Line.toStdString() << "\n";
        if (!Skipped.isEmpty()) {
            std::cout << "Offered disabled on purpose (" << Skipped.size() << "):\n";
            for (const QString& Line : std::as_const(Skipped))
                std::cout << "[  SKIPPED ] " << Line.toStdString() << "\n";
            RecordProperty("skipped", Skipped.join(QStringLiteral("; ")).toStdString());
        }
        Window.reset();
    }

    TKvFormDesigner* Designer() const { return Window->CurrentDesigner(); }
    TComponent* Find(const QString& Name) const { return Designer()->GetComponent(Name); }

    // The names of the form's components, so that they are found again after the form was read
    // back in.
    QStringList ComponentNames() const
    {
        QStringList Names;
        TComponent* Root = Designer()->GetRoot();
        for (int I = 0; I < Root->ComponentCount(); ++I)
            Names << Root->Components(I)->GetName();
        return Names;
    }

    // What a step must show: nothing in particular, anything (a window or menu, a question, the
    // code of a handler, a changed form), or one of the package's windows (TFr...) or a platform
    // dialog.
    enum TExpect { Nothing, Anything, PackageWindow };

    // Runs Action as a user's step and checks that what it showed was expected and that the form
    // still writes out and reads back the same.
    void Step(const QString& What, const std::function<void()>& Action, TExpect Expect = Anything, bool Confirm = false)
    {
        const QString Before = Designer()->FormText();
        const qsizetype ErrorsBefore = Errors.size();
        QStringList Seen;
        {
            TWitness Witness(Window.get());
            Witness.Confirm = Confirm;
            Action();
            QCoreApplication::processEvents();
            Witness.CloseOpened();
            Seen = Witness.Seen;
        }
        const QString After = Designer()->FormText();
        EXPECT_EQ(Errors.size(), ErrorsBefore) << What.toStdString() << ": " << Errors.mid(ErrorsBefore).join(u'\n').toStdString();
        if (Expect == Anything)
            EXPECT_TRUE(!Seen.isEmpty() || After != Before) << What.toStdString() << ": nothing to see";
        if (Expect == PackageWindow)
            EXPECT_TRUE(std::any_of(Seen.begin(), Seen.end(), [](const QString& S) {
                return S.startsWith(QStringLiteral("TFr")) || S.contains(QStringLiteral("dialog"));
            })) << What.toStdString() << ": no window of the package, only " << Seen.join(u',').toStdString();
        if (After != Before) {
            try {
                Designer()->ApplyFormText(After);
            } catch (const Exception& E) {
                ADD_FAILURE() << What.toStdString() << ": the form does not read back: " << E.Message.toStdString();
                return;
            }
            EXPECT_EQ(Designer()->FormText(), After) << What.toStdString() << ": the form reads back otherwise";
        }
        Actions << What + QStringLiteral(" -> ") + (Seen.isEmpty() ? QStringLiteral("form changed") : Seen.join(u','));
    }

    // Opens every form of the project in turn.
    template <class F>
    void ForEachForm(F Visit)
    {
        for (int I = 0; I < Project->GetModuleCount(); ++I) {
            TKvFormEditor* Form = Window->OpenForm(Project->GetModule(I)->FileName());
            ASSERT_TRUE(Form) << Errors.join(u'\n').toStdString();
            Visit(QFileInfo(Project->GetModule(I)->FileName()).completeBaseName());
        }
    }

    QTemporaryDir Dir;
    std::unique_ptr<TFrKvDesigner> Window;
    TKvProject* Project = nullptr;
    QStringList Errors;
    QStringList Skipped;
    QStringList Actions;
};

// The walk below reaches every kind of component: the demo places each one of the palette.
TEST_F(KvEditorWalk, DemoPlacesEveryComponentOfThePalette)
{
    QSet<QString> Placed;
    ForEachForm([&](const QString&) {
        for (const QString& Name : ComponentNames())
            Placed << QString::fromLatin1(Find(Name)->metaObject()->className());
    });
    int Classes = 0;
    for (const QString& Page : PalettePages())
        for (const QMetaObject* Class : PaletteClasses(Page)) {
            EXPECT_TRUE(Placed.contains(QString::fromLatin1(Class->className()))) << Class->className() << " of " << Page.toStdString();
            ++Classes;
        }
    EXPECT_EQ(Classes, 77);
}

// The registered component editors' verbs through the component's context menu, and the double
// click, on every component of every demo form.
TEST_F(KvEditorWalk, EveryVerbAndDoubleClickOfEveryComponent)
{
    std::set<std::type_index> Registered;
    for (const TKvComponentEditorRow& Row : KvComponentEditorRows())
        Registered.insert(Row.EditorClass.Type);
    std::set<std::type_index> Walked;
    std::set<QString> DefaultEdited;
    int Verbs = 0;
    ForEachForm([&](const QString& Form) {
        for (const QString& Name : ComponentNames()) {
            // Made anew for each verb: reading the form back makes its components anew.
            auto EditorOf = [&]() -> std::unique_ptr<TComponentEditor> {
                TComponent* C = Find(Name);
                return C ? GetComponentEditor(C, Designer()) : nullptr;
            };
            std::unique_ptr<TComponentEditor> Editor = EditorOf();
            if (!Editor)
                continue; // a verb before took it away
            const std::type_index Type = typeid(*Editor);
            const bool Own = Registered.count(Type) > 0;
            const QMetaObject* Class = Editor->Component()->metaObject();
            const QString Where = QStringLiteral("%1.%2 (%3)").arg(Form, Name, QString::fromLatin1(Class->className()));
            const int Count = Editor->GetVerbCount();
            for (int I = 0; I < Count && (Editor = EditorOf()); ++I) {
                const QString Verb = Editor->GetVerb(I);
                if (const QString Why = Editor->VerbUnavailable(I); !Why.isEmpty()) {
                    Skipped << QStringLiteral("%1 verb %2 \"%3\": %4").arg(Where).arg(I).arg(Verb, Why);
                    continue;
                }
                Step(QStringLiteral("%1 verb \"%2\"").arg(Where, Verb), [&] {
                    std::unique_ptr<QMenu> Menu(Window->CreateComponentMenu(Find(Name)));
                    QAction* Action = Menu->actions().value(I);
                    ASSERT_TRUE(Action && Action->isEnabled() && Action->text() == Verb) << Verb.toStdString();
                    Action->trigger();
                });
                ++Verbs;
            }
            // The host's default editor makes a handler for one of the component's events: once
            // per set of events is enough. A component without events has nothing to show.
            QStringList Events;
            for (int I = 0; I < Class->propertyCount(); ++I)
                if (Class->property(I).metaType() == QMetaType::fromType<TMethod>())
                    Events << QString::fromLatin1(Class->property(I).name());
            if (!Find(Name) || (!Own && !DefaultEdited.insert(Events.join(u',')).second))
                continue;
            const bool HasEvent = !Events.isEmpty();
            // The package's own editors are left once cancelled and once confirmed.
            for (bool Confirm : {false, true})
                if ((!Confirm || Own) && Find(Name))
                    Step(Where + (Confirm ? QStringLiteral(" double click, OK") : QStringLiteral(" double click")),
                         [&] { Window->EditComponent(Find(Name)); }, Own || HasEvent ? Anything : Nothing, Confirm);
            if (Own)
                Walked.insert(Type);
        }
    });
    for (const TKvComponentEditorRow& Row : KvComponentEditorRows())
        EXPECT_TRUE(Walked.count(Row.EditorClass.Type)) << Row.EditorName.toStdString() << " met on no demo form";
    EXPECT_GT(Verbs, 10);

    // What the walk left is still a project kvdesigner opens.
    ASSERT_TRUE(Window->SaveAll());
    QProcess Check;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    Check.setProcessEnvironment(Env);
    Check.start(QStringLiteral(KV_DESIGNER), {QStringLiteral("--check"), Dir.filePath(QStringLiteral("KvDemo.dpr"))});
    ASSERT_TRUE(Check.waitForFinished(60000));
    EXPECT_EQ(Check.exitCode(), 0) << Check.readAllStandardError().toStdString();
}

// What the inspector edits: a component, or an item of one of its collections.
struct TTarget
{
    QString Name;
    QString Collection;
    int Item = -1;

    QString Text() const
    {
        return Collection.isEmpty() ? Name : QStringLiteral("%1.%2[%3]").arg(Name, Collection).arg(Item);
    }
};

// Every row of the inspector whose editor the package registered, on every component of every
// demo form and on the items of their collections: its dialog opens, its value list lists, and a
// value only typed takes its own text back without changing the form. Between them the demo's
// forms reach every registered row.
TEST_F(KvEditorWalk, EveryDialogAndValueListOfThePackagesPropertyEditors)
{
    const QList<TKvPropertyEditorRow>& Rows = KvPropertyEditorRows();
    std::set<std::type_index> Registered;
    for (const TKvPropertyEditorRow& Row : Rows)
        Registered.insert(Row.EditorClass.Type);
    QList<bool> Reached(Rows.size(), false);
    TKvInspectorModel* Inspector = Window->Inspector();

    auto Select = [&](const TTarget& Target) -> bool {
        TComponent* C = Find(Target.Name);
        if (!C)
            return false;
        TPersistent* Selected = C;
        if (!Target.Collection.isEmpty()) {
            auto* Items = qobject_cast<TCollection*>(C->property(qPrintable(Target.Collection)).value<QObject*>());
            if (!Items || Target.Item >= Items->Count())
                return false;
            Selected = Items->Items(Target.Item);
        }
        Designer()->SelectComponent(Selected);
        return Inspector->Selection().value(0) == Selected;
    };
    // The name paths of the rows a registered editor shows, sub-properties two levels down.
    std::function<void(const QModelIndex&, const QString&, int, QStringList&)> Paths =
        [&](const QModelIndex& Parent, const QString& Prefix, int Depth, QStringList& Out) {
            if (Parent.isValid() && Inspector->canFetchMore(Parent))
                Inspector->fetchMore(Parent);
            for (int R = 0; R < Inspector->rowCount(Parent); ++R) {
                const QModelIndex Index = Inspector->index(R, 1, Parent);
                TPropertyEditor* Editor = Inspector->EditorAt(Index);
                if (!Editor)
                    continue;
                const QString Path = Prefix + Editor->GetName();
                if (Registered.count(typeid(*Editor)))
                    Out << Path;
                if (Depth < 2 && (Editor->GetAttributes() & paSubProperties))
                    Paths(Index.siblingAtColumn(0), Path + u'.', Depth + 1, Out);
            }
        };

    int Opened = 0, Listed = 0, Typed = 0;
    std::set<QString> DialogsOpened, Picked;
    ForEachForm([&](const QString& Form) {
        QList<TTarget> Targets;
        for (const QString& Name : ComponentNames()) {
            Targets << TTarget{Name};
            const QMetaObject* Class = Find(Name)->metaObject();
            for (int I = 0; I < Class->propertyCount(); ++I)
                if (auto* Items = qobject_cast<TCollection*>(Class->property(I).read(Find(Name)).value<QObject*>()))
                    for (int J = 0; J < Items->Count(); ++J)
                        Targets << TTarget{Name, QString::fromLatin1(Class->property(I).name()), J};
        }
        for (const TTarget& Target : std::as_const(Targets)) {
            if (!Select(Target))
                continue;
            QStringList Found;
            Paths(QModelIndex(), QString(), 0, Found);
            for (const QString& Path : std::as_const(Found)) {
                if (!Select(Target))
                    break;
                const QModelIndex Index = Inspector->FindProperty(Path);
                TPropertyEditor* Editor = Inspector->EditorAt(Index);
                ASSERT_TRUE(Editor) << Path.toStdString();
                const QString Where = QStringLiteral("%1.%2 %3 (%4)")
                                          .arg(Form, Target.Text(), Path, QString::fromLatin1(typeid(*Editor).name()));
                for (int N = 0; N < Rows.size(); ++N) {
                    const TKvPropertyEditorRow& Row = Rows.at(N);
                    if (Row.EditorClass.Type == typeid(*Editor) &&
                        (!Row.ComponentClass || Editor->GetComponent(0)->metaObject()->inherits(Row.ComponentClass)) &&
                        (Row.PropertyName.isEmpty() || Row.PropertyName == Editor->GetName()))
                        Reached[N] = true;
                }
                if (const QString Why = Editor->Unavailable(); !Why.isEmpty()) {
                    Skipped << Where + QStringLiteral(": ") + Why;
                    continue;
                }
                const TPropertyAttributes Attributes = Editor->GetAttributes();
                // A dialog once per editor, property and kind of object edited: the label of
                // another control opens the same picker, another collection another editor. A
                // value is picked once per form, where the lists differ.
                const QObject* Value = Editor->PropInfo().Kind == TTypeKind::tkClass ? Editor->GetObjectValue() : nullptr;
                const QString Kind = QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(typeid(*Editor).name()), Path,
                                                                  Value ? Value->metaObject()->className() : "");
                // Each step below may read the form back: rows are found again by their path.
                if (Attributes & paValueList) {
                    const QStringList Values = Index.data(TKvInspectorModel::ValuesRole).toStringList();
                    EXPECT_FALSE(Values.isEmpty()) << Where.toStdString() << ": an empty value list";
                    ++Listed;
                    // Another value picked from the list shows, and the value before comes back
                    // as it was.
                    const QString Shown = Index.data().toString();
                    const QString Other = Values.value(Values.first() == Shown ? 1 : 0);
                    if (!(Attributes & paReadOnly) && !Other.isEmpty() && Picked.insert(Form + u' ' + Kind).second) {
                        const QString Before = Designer()->FormText();
                        Step(Where + QStringLiteral(" = ") + Other,
                             [&] { EXPECT_TRUE(Inspector->setData(Inspector->FindProperty(Path), Other)); });
                        ASSERT_TRUE(Select(Target));
                        EXPECT_TRUE(Inspector->FindProperty(Path).data().toString().startsWith(Other.section(u' ', 0, 0)))
                            << Where.toStdString() << " shows " << Inspector->FindProperty(Path).data().toString().toStdString()
                            << " after " << Other.toStdString();
                        EXPECT_TRUE(Inspector->setData(Inspector->FindProperty(Path), Shown)) << Where.toStdString();
                        EXPECT_EQ(Designer()->FormText(), Before) << Where.toStdString() << ": " << Shown.toStdString() << " again";
                        ASSERT_TRUE(Select(Target));
                    }
                }
                if (Attributes & paDialog) {
                    if (DialogsOpened.insert(Kind).second) {
                        for (bool Confirm : {false, true})
                            if (Select(Target))
                                Step(Where + (Confirm ? QStringLiteral(" ... OK") : QStringLiteral(" ...")),
                                     [&] { Inspector->Edit(Inspector->FindProperty(Path)); }, PackageWindow, Confirm);
                        ++Opened;
                    }
                } else if (!(Attributes & (paValueList | paReadOnly | paSubProperties))) {
                    // Typed only: the value shown, typed back, is the same value.
                    const QString Before = Designer()->FormText();
                    const QModelIndex Row = Inspector->FindProperty(Path);
                    EXPECT_TRUE(Inspector->setData(Row, Row.data().toString())) << Where.toStdString();
                    EXPECT_EQ(Designer()->FormText(), Before) << Where.toStdString() << ": its own text changes it";
                    ++Typed;
                }
            }
        }
    });
    for (int N = 0; N < Rows.size(); ++N)
        EXPECT_TRUE(Reached.at(N)) << "row " << N + 1 << " (" << Rows.at(N).EditorName.toStdString() << " of "
                                   << (Rows.at(N).ComponentClass ? Rows.at(N).ComponentClass->className() : "any")
                                   << "." << Rows.at(N).PropertyName.toStdString() << ") met on no demo form";
    EXPECT_GT(Opened, 30);
    EXPECT_GT(Listed, 10);
    EXPECT_GT(Typed, 5);
    std::cout << "Opened " << Opened << " dialogs, listed " << Listed << " value lists, typed " << Typed << " values\n";
}

} // namespace
