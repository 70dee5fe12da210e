#include "strings/KvStringsTranslator.h"
#include "strings/KvVtPkgStrings.h"
#include "strings/KvVtPkgStringsLabelsTranslator.h"
#include "strings/KvVtPkgStringsMessagesTranslator.h"

#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvPkgLanguage.h"
#include "KvPkgStrings.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
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

std::vector<int> Ids(const TKvTranslatorModel* Model)
{
    std::vector<int> Result;
    for (int Row = 0; Row < Model->rowCount(); ++Row)
        Result.push_back(Model->Id(Row));
    return Result;
}

template <class T>
T* Find(QWidget* Window, const char* Name)
{
    T* Control = Window->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
}

// Without processing events: a dialog scheduled to be answered must not be answered early.
void MouseOnRow(QListView* List, int Row, bool Double)
{
    List->doItemsLayout();
    const QRect Rect = List->visualRect(List->model()->index(Row, 0));
    ASSERT_TRUE(Rect.isValid());
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Rect.center());
    if (Double)
        QTest::mouseDClick(List->viewport(), Qt::LeftButton, {}, Rect.center());
}

} // namespace

TEST(TranslatorModel, RowsFiltersAndUntranslated)
{
    TKvPkgStrings Source;
    TKvPkgStrings Edited;
    for (int Id : {5, 1, 3, 9})
        Source.Messages()->Add(Id, QStringLiteral("source %1").arg(Id));
    Edited.Messages()->Add(3, QStringLiteral("drei"));
    Edited.Messages()->Add(9, QStringLiteral("  ")); // blank: still to translate
    Edited.Messages()->Add(12, QStringLiteral("zwölf, only here"));
    TKvTranslatorModel Model(TKvStringsKind::Messages);
    Model.SetPackages(&Source, &Edited);
    EXPECT_EQ(Ids(&Model), std::vector<int>({1, 3, 5, 9, 12}));
    EXPECT_EQ(Model.UntranslatedCount(), 3); // 1, 5, 9
    EXPECT_EQ(Model.SourceItem(4), nullptr);
    EXPECT_EQ(Model.EditedItem(0), nullptr);
    EXPECT_EQ(Model.NextUntranslated(0), 2);
    EXPECT_EQ(Model.NextUntranslated(3), 0) << "goes round to the top";
    EXPECT_EQ(Model.NextUntranslated(-1), 0);

    Model.SetFilter(QString(), true);
    EXPECT_EQ(Ids(&Model), std::vector<int>({1, 5, 9}));
    Model.SetFilter(QStringLiteral("ZWÖLF"), false);
    EXPECT_EQ(Ids(&Model), std::vector<int>({12}));
    Model.SetFilter(QStringLiteral("1"), false); // id 1 and 12 by their ids
    EXPECT_EQ(Ids(&Model), std::vector<int>({1, 12}));
    Model.SetFilter(QStringLiteral("1"), true);
    EXPECT_EQ(Ids(&Model), std::vector<int>({1}));

    Model.SetFilter(QString(), false);
    Edited.Messages()->Add(1, QStringLiteral("eins"));
    Model.ItemChanged(1);
    EXPECT_EQ(Model.UntranslatedCount(), 2);
    Model.SetPackages(nullptr, &Edited);
    EXPECT_EQ(Ids(&Model), std::vector<int>({1, 3, 9, 12}));
    EXPECT_EQ(Model.UntranslatedCount(), 0);
    EXPECT_EQ(Model.NextUntranslated(0), -1);
}

TEST(TranslatorModel, PathsAreShortenedFromTheLeadingFolders)
{
    const QFontMetrics Metrics(QApplication::font());
    const QString Path = QStringLiteral("/home/dev/projects/sales/lang/spanish.lan");
    EXPECT_EQ(KvShortenPath(Path, Metrics, 10000), Path);
    const QString Short = KvShortenPath(Path, Metrics, Metrics.horizontalAdvance(QStringLiteral("/.../sales/lang/spanish.lan")));
    EXPECT_EQ(Short, QStringLiteral("/.../sales/lang/spanish.lan"));
    EXPECT_EQ(KvShortenPath(Path, Metrics, 5), QStringLiteral("/.../spanish.lan"));
}

class TranslatorTest : public ::testing::Test
{
protected:
    TKvPkgStrings FPkg;
    QList<TPersistent*> FTold;
    QTemporaryDir FDir;
    QString FSource;

    void SetUp() override
    {
        FPkg.SetPkgName(QStringLiteral("Sales"));
        FPkg.Labels()->Add(1, QStringLiteral("One only here"));
        FPkg.Labels()->Add(2, QStringLiteral("Dos"), QStringLiteral("pista"));
        TKvPkgStrings Source;
        Source.Labels()->Add(2, QStringLiteral("Two"), QStringLiteral("hint two"));
        Source.Labels()->Add(3, QStringLiteral("Three"), QStringLiteral("hint three"));
        FSource = FDir.filePath(QStringLiteral("english.kvstr"));
        Source.SaveToFile(FSource);
        KvDsgnModified = [this](TPersistent* Object) { FTold << Object; };
    }
    void TearDown() override { KvDsgnModified = nullptr; }
};

// From the editor's button to a translation added by double click and a deletion through the
// editor's own confirmation; the editor keeps the path and shows the changes.
TEST_F(TranslatorTest, LabelsAreTranslatedFromTheEditor)
{
    TFrPkgStrings Editor;
    Editor.PkgStrings = &FPkg;
    Editor.FPathTranslator = FSource;
    TKvMessageRecorder Messages({KvBtnAccept});
    QTimer::singleShot(0, [&] {
        OnModal([&](QWidget* Window) {
            auto* Translator = qobject_cast<TKvStringsTranslator*>(Window);
            ASSERT_NE(Translator, nullptr);
            EXPECT_EQ(Window->windowTitle(), QStringLiteral("Labels Translator"));
            EXPECT_EQ(Ids(Translator->Model()), std::vector<int>({1, 2, 3}));
            EXPECT_EQ(Find<QLabel>(Window, "LaTitleLeft")->text(), QStringLiteral("Load File : english.kvstr"));
            EXPECT_EQ(Find<QLabel>(Window, "LaStatus")->text(),
                      QStringLiteral("( english : 2 Labels )  ( Sales - Unknown : 2 Labels )  ( 1 Untranslated )"));
            auto* List = Find<TKvTranslatorListView>(Window, "List");
            MouseOnRow(List, 1, false);
            EXPECT_EQ(Find<QPlainTextEdit>(Window, "EdDetailLeft")->toPlainText(), QStringLiteral("hint two"));
            EXPECT_EQ(Find<QPlainTextEdit>(Window, "EdDetailRight")->toPlainText(), QStringLiteral("pista"));
            // Ctrl+J goes to the one untranslated row.
            QApplication::setActiveWindow(Window);
            QTest::keySequence(Window, QKeySequence(Qt::CTRL | Qt::Key_J));
            EXPECT_EQ(List->CurrentRow(), 2);

            OnModal([&](QWidget* Add) {
                EXPECT_EQ(Add->windowTitle(), QStringLiteral("Add Label"));
                EXPECT_EQ(Find<QLineEdit>(Add, "EdId")->text(), QStringLiteral("3"));
                EXPECT_EQ(Find<QLineEdit>(Add, "EdSourceText")->text(), QStringLiteral("Three"));
                EXPECT_TRUE(Find<QLineEdit>(Add, "EdSourceText")->isReadOnly());
                EXPECT_FALSE(Find<QCheckBox>(Add, "CbProtected")->isVisible()) << "only for System";
                QTest::keyClicks(Find<QLineEdit>(Add, "EdText"), QStringLiteral("Tres"));
                QTest::keyClicks(Find<QPlainTextEdit>(Add, "EdHint"), QStringLiteral("pista tres"));
                QTest::mouseClick(Find<QPushButton>(Add, "BtOk"), Qt::LeftButton);
            });
            MouseOnRow(List, 2, true);
            ASSERT_NE(FPkg.Labels()->FindId(3), nullptr);
            EXPECT_EQ(FPkg.Labels()->FindId(3)->Hint(), QStringLiteral("pista tres"));
            EXPECT_FALSE(FPkg.Labels()->FindId(3)->Protected());
            EXPECT_EQ(Translator->Model()->UntranslatedCount(), 0);
            EXPECT_EQ(FTold.size(), 1);
            EXPECT_EQ(Find<QPlainTextEdit>(Window, "EdDetailRight")->toPlainText(), QStringLiteral("pista tres"));

            // Delete on a row the source lacks: the editor asks, the row goes.
            MouseOnRow(List, 0, false);
            Translator->MnDelete()->trigger();
            EXPECT_EQ(Messages.Count(), 1);
            EXPECT_EQ(FPkg.Labels()->FindId(1), nullptr);
            EXPECT_EQ(Ids(Translator->Model()), std::vector<int>({2, 3}));
            // Delete on a row the source holds keeps the row, with the marker on the right.
            MouseOnRow(List, 0, false);
            EXPECT_FALSE(Translator->MnAdd()->isEnabled());
            Translator->MnDelete()->trigger();
            EXPECT_EQ(Ids(Translator->Model()), std::vector<int>({2, 3}));
            EXPECT_EQ(Translator->Model()->EditedItem(0), nullptr);
            EXPECT_FALSE(Translator->MnSave()->isEnabled()) << "not file-backed";
            QTest::keyClick(Window, Qt::Key_Escape);
        });
        Editor.findChild<QPushButton*>(QStringLiteral("BtTranslator"))->click();
        EXPECT_EQ(Editor.Model(TKvStringsKind::Labels)->rowCount(), 1);
        Editor.close();
    });
    Editor.Execute();
    EXPECT_EQ(Editor.FPathTranslator, FSource);
}

// Inside a language package the source is a language file: its System strings for the package
// named exactly "System", its User strings otherwise. In memory mode nothing reaches the
// designer; a missing file leaves the source empty.
TEST_F(TranslatorTest, LanguagePackagesTranslateAgainstTheMatchingStrings)
{
    TKvPkgLanguage Base;
    Base.PkgSystem()->Messages()->Add(1, QStringLiteral("system one"));
    Base.PkgUser()->Messages()->Add(2, QStringLiteral("user two"));
    const QString Lan = FDir.filePath(QStringLiteral("base.lan"));
    Base.SaveToFile(Lan);
    TKvPkgLanguage Lang;
    Lang.SetFileName(FDir.filePath(QStringLiteral("mine.dat")));
    auto Open = [&](TKvPkgStrings* Pkg, const QString& Path, std::function<void(TKvStringsTranslator*)> Check) {
        TFrPkgStringsMessagesTranslator Translator;
        Translator.PkgStrings = Pkg;
        Translator.FullPath = Path;
        Translator.Memory = true;
        OnModal([&](QWidget*) {
            Check(&Translator);
            Translator.reject();
        });
        Translator.Execute();
    };
    Open(Lang.PkgSystem(), Lan, [&](TKvStringsTranslator* T) {
        EXPECT_EQ(Ids(T->Model()), std::vector<int>({1}));
        EXPECT_EQ(T->findChild<QLabel*>(QStringLiteral("LaTitleRight"))->text(), QStringLiteral("Current File : mine.lan"));
    });
    Lang.PkgSystem()->SetPkgName(QStringLiteral("system"));
    Open(Lang.PkgSystem(), Lan, [&](TKvStringsTranslator* T) {
        EXPECT_EQ(Ids(T->Model()), std::vector<int>({2}));
        T->findChild<TKvTranslatorListView*>(QStringLiteral("List"))->SelectRow(0);
        OnModal([](QWidget* Add) {
            Add->findChild<QPlainTextEdit*>(QStringLiteral("EdText"))->setPlainText(QStringLiteral("line 1\nline 2"));
            Add->findChild<QPushButton*>(QStringLiteral("BtOk"))->click();
        });
        T->MnAdd()->trigger();
    });
    EXPECT_EQ(Lang.PkgSystem()->Messages()->FindId(2)->Text(), QStringLiteral("line 1\r\nline 2"));
    EXPECT_TRUE(FTold.isEmpty()) << "memory mode";
    Open(Lang.PkgSystem(), FDir.filePath(QStringLiteral("none.lan")), [&](TKvStringsTranslator* T) {
        EXPECT_EQ(Ids(T->Model()), std::vector<int>({2}));
        EXPECT_EQ(T->Model()->SourceItem(0), nullptr);
        EXPECT_EQ(T->findChild<QLabel*>(QStringLiteral("LaTitleLeft"))->text(), QStringLiteral("Load File : (Unknown)"));
    });
}

// The search box and the untranslated filter keep the selected id when it stays listed.
TEST_F(TranslatorTest, SearchAndUntranslatedFilterKeepTheSelection)
{
    TFrPkgStringsLabelsTranslator Translator;
    Translator.PkgStrings = &FPkg;
    Translator.FullPath = FSource;
    OnModal([&](QWidget* Window) {
        auto* List = Find<TKvTranslatorListView>(Window, "List");
        MouseOnRow(List, 2, false); // id 3
        auto* Search = Find<QLineEdit>(Window, "EdSearch");
        Search->setFocus();
        QTest::keyClicks(Search, QStringLiteral("thr"));
        EXPECT_EQ(Ids(Translator.Model()), std::vector<int>({3}));
        EXPECT_EQ(List->CurrentRow(), 0);
        Search->selectAll();
        QTest::keyClick(Search, Qt::Key_Backspace);
        EXPECT_EQ(Translator.Model()->rowCount(), 3);
        QTest::mouseClick(Find<QCheckBox>(Window, "CbUntranslated"), Qt::LeftButton);
        EXPECT_EQ(Ids(Translator.Model()), std::vector<int>({3}));
        EXPECT_EQ(Translator.Model()->Id(List->CurrentRow()), 3);
        Translator.reject();
    });
    Translator.Execute();
}

// The path bar's button picks the source among the application folder's files of the mask; a
// second file replaces the first. Save (Ctrl+S) writes a file-backed package.
TEST_F(TranslatorTest, PickingASecondFileReplacesTheFirstAndSaveWrites)
{
    TKvPkgStrings Other;
    Other.Labels()->Add(7, QStringLiteral("Seven"));
    Other.SaveToFile(FDir.filePath(QStringLiteral("other.kvstr")));
    const QString OldAppPath = KvAppPath();
    KvSetAppPath(FDir.path());
    FPkg.SetInitMode(TKvPkgInfo::imFILE);
    FPkg.SetFileName(FDir.filePath(QStringLiteral("sales.kvstr")));
    TFrPkgStringsLabelsTranslator Translator;
    Translator.PkgStrings = &FPkg;
    Translator.FullPath = FSource;
    OnModal([&](QWidget* Window) {
        EXPECT_EQ(Ids(Translator.Model()), std::vector<int>({1, 2, 3}));
        OnModal([](QWidget* Files) {
            auto* List = Files->findChild<QListView*>(QStringLiteral("FileList"));
            ASSERT_NE(List, nullptr);
            const QModelIndexList Found =
                List->model()->match(List->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("other.kvstr"));
            ASSERT_EQ(Found.size(), 1);
            MouseOnRow(List, Found.first().row(), false);
            QTest::mouseClick(Files->findChild<QPushButton*>(QStringLiteral("BtOk")), Qt::LeftButton);
        });
        QTest::mouseClick(Find<QToolButton>(Window, "BtPath"), Qt::LeftButton);
        EXPECT_EQ(Translator.FullPath, FDir.filePath(QStringLiteral("other.kvstr")));
        EXPECT_EQ(Ids(Translator.Model()), std::vector<int>({1, 2, 7})) << "3 came from the first file only";
        EXPECT_TRUE(Translator.StatusLine().startsWith(QStringLiteral("( other : 1 Labels )")));

        QApplication::setActiveWindow(Window);
        QTest::keySequence(Window, QKeySequence(Qt::CTRL | Qt::Key_S));
        TKvPkgStrings Written;
        Written.LoadFromFile(FPkg.FileName());
        EXPECT_EQ(Written.Labels()->Count(), 2);
        Translator.reject();
    });
    Translator.Execute();
    KvSetAppPath(OldAppPath);
}
