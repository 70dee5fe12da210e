#include "manager/KvVtOpenFiles.h"
#include "manager/KvVtPkgLoadSave.h"

#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvPkgImages.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

class PkgLoadSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FOldPath = KvAppPath();
        KvSetAppPath(FDir.path());
        WriteStrings(QStringLiteral("Alpha.kvstr"), QStringLiteral("First file"), 7);
        WriteStrings(QStringLiteral("beta.kvstr"), QStringLiteral("Second file"), 8);
        QFile other(FDir.filePath(QStringLiteral("notes.txt")));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    }
    void TearDown() override { KvSetAppPath(FOldPath); }

    void WriteStrings(const QString& Name, const QString& Description, int LabelId)
    {
        TKvPkgStrings pkg;
        pkg.SetDescription(Description);
        pkg.Labels()->Add(LabelId, QStringLiteral("label"));
        pkg.SaveToFile(FDir.filePath(Name));
    }

    // Runs the dialog with Interact scheduled inside it; a dialog Interact leaves open is
    // cancelled, so that no test waits on it.
    int Run(TFrPkgLoadSave& Dialog, const std::function<void()>& Interact)
    {
        bool ran = false;
        QTimer::singleShot(0, &Dialog, [&] {
            ran = true;
            Interact();
            if (Dialog.isVisible())
                Dialog.reject();
        });
        const int result = Dialog.Execute();
        EXPECT_TRUE(ran);
        return result;
    }

    template <class T>
    static T* Child(QWidget& Dialog, const char* Name)
    {
        T* w = Dialog.findChild<T*>(QLatin1String(Name));
        EXPECT_NE(w, nullptr) << Name;
        return w;
    }

    static void ClickFile(QWidget& Dialog, const QString& Name, bool Double = false)
    {
        auto* list = Child<QListView>(Dialog, "FileList");
        const QModelIndexList found =
            list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, Name, 1, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << qPrintable(Name);
        const QPoint at = list->visualRect(found.first()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (Double)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    static void ClickOk(QWidget& Dialog) { QTest::mouseClick(Child<QPushButton>(Dialog, "BtOk"), Qt::LeftButton); }

    QTemporaryDir FDir;
    QString FOldPath;
};

QStringList ListedFiles(QWidget& Dialog)
{
    auto* list = Dialog.findChild<QListView*>(QStringLiteral("FileList"));
    QStringList names;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        names << list->model()->index(i, 0).data().toString();
    return names;
}

} // namespace

TEST(PkgLoadSaveLogic, TitlesByKindAndDirection)
{
    TKvPkgImages images;
    TKvPkgStrings strings;
    TKvPkgVars vars;
    TKvPkgDisplay display;
    TKvPkgLanguage language;
    TKvPkgSetup setup;
    TKvPkgPrivileges privileges;
    const std::pair<TKvPkgInfo*, const char*> rows[] = {
        {&images, "PkgImages"}, {&strings, "PkgStrings"}, {&vars, "PkgVars"},   {&display, "Display"},
        {&language, "Language"}, {&setup, "Setup"},       {&privileges, "Access"},
    };
    for (const auto& [pkg, kind] : rows) {
        EXPECT_EQ(KvPkgLoadSaveTitle(pkg, true), QStringLiteral("Load ") + QLatin1String(kind));
        EXPECT_EQ(KvPkgLoadSaveTitle(pkg, false), QStringLiteral("Save ") + QLatin1String(kind));
    }
}

TEST(PkgLoadSaveLogic, KeyFileBareOnlyInsideTheInstallFolder)
{
    EXPECT_EQ(KvPkgKeyFileName(QStringLiteral("/opt/Kv/Install/Standard.dis"), QStringLiteral("/opt/kv/install/")),
              QStringLiteral("Standard.dis"));
    // A folder whose name only starts like the install folder's is another folder.
    EXPECT_EQ(KvPkgKeyFileName(QStringLiteral("/opt/kv/install2/Standard.dis"), QStringLiteral("/opt/kv/install")),
              QStringLiteral("/opt/kv/install2/Standard.dis"));
    EXPECT_EQ(KvPkgKeyFileName(QStringLiteral("/opt/kv/install/sub/a.dis"), QStringLiteral("/opt/kv/install")),
              QStringLiteral("/opt/kv/install/sub/a.dis"));
}

TEST_F(PkgLoadSave, LoadListsTheKindsFilesAndShowsTheDescriptionOfTheOneSelected)
{
    TKvPkgStrings pkg;
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    dialog.ModeLoadSave = true;
    TKvMessageRecorder recorder;
    Run(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Load PkgStrings"));
        EXPECT_EQ(ListedFiles(dialog), (QStringList{QStringLiteral("Alpha.kvstr"), QStringLiteral("beta.kvstr")}));
        EXPECT_EQ(QDir::fromNativeSeparators(Child<QLabel>(dialog, "Label3")->text()), FDir.path());
        EXPECT_FALSE(Child<QLineEdit>(dialog, "EdKey")->isVisible());
        auto* description = Child<QLineEdit>(dialog, "EdDescription");
        EXPECT_TRUE(description->isReadOnly());
        EXPECT_EQ(description->focusPolicy(), Qt::NoFocus);
        ClickFile(dialog, QStringLiteral("beta.kvstr"));
        EXPECT_EQ(Child<QLineEdit>(dialog, "EdFileName")->text(), QStringLiteral("beta"));
        EXPECT_EQ(description->text(), QStringLiteral("Second file"));
    });
    EXPECT_EQ(recorder.Count(), 0);
}

TEST_F(PkgLoadSave, LoadIntoAFormPackageAsksBeforeErasingAndDecliningChangesNothing)
{
    TKvPkgStrings pkg;
    pkg.Labels()->Add(1, QStringLiteral("kept"));
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    TKvMessageRecorder recorder({KvBtnCancel});
    const int result = Run(dialog, [&] {
        ClickFile(dialog, QStringLiteral("Alpha.kvstr"), true);
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(result, 2);
    ASSERT_EQ(recorder.Count(), 1);
    EXPECT_EQ(recorder.Last().MsgType, KvMsgQuestion);
    EXPECT_EQ(recorder.Last().Buttons, (TKvMsgButtons{KvBtnAccept, KvBtnCancel}));
    EXPECT_EQ(recorder.Last().Default, KvBtnAccept);
    EXPECT_TRUE(recorder.Last().Text.contains(QStringLiteral("erased")));
    EXPECT_NE(pkg.Labels()->FindId(1), nullptr);
    EXPECT_EQ(pkg.InitMode(), TKvPkgInfo::imDFM);

    // Accepting loads the file and takes it as the package's own.
    TFrPkgLoadSave again;
    again.Pkg = &pkg;
    recorder.Answer(KvBtnAccept);
    EXPECT_EQ(Run(again, [&] {
                  ClickFile(again, QStringLiteral("Alpha.kvstr"));
                  Child<QComboBox>(again, "EdInitMode")->setCurrentIndex(1);
                  ClickOk(again);
              }),
              1);
    EXPECT_EQ(recorder.Count(), 2);
    EXPECT_EQ(pkg.Labels()->FindId(1), nullptr);
    EXPECT_NE(pkg.Labels()->FindId(7), nullptr);
    EXPECT_EQ(pkg.InitMode(), TKvPkgInfo::imFILE);
    EXPECT_EQ(pkg.FileName(), QStringLiteral("Alpha.kvstr"));
    EXPECT_EQ(again.FileNameLoad, QDir(FDir.path()).filePath(QStringLiteral("Alpha.kvstr")));
}

TEST_F(PkgLoadSave, LoadIntoAFilePackageDoesNotAskAndStartsFromItsFile)
{
    TKvPkgStrings pkg;
    pkg.SetInitMode(TKvPkgInfo::imFILE);
    pkg.SetFileName(QStringLiteral("beta.kvstr"));
    pkg.SetDescription(QStringLiteral("in memory"));
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    TKvMessageRecorder recorder;
    EXPECT_EQ(Run(dialog,
                  [&] {
                      EXPECT_EQ(Child<QComboBox>(dialog, "EdInitMode")->currentText(), QStringLiteral("FILE"));
                      EXPECT_EQ(Child<QLineEdit>(dialog, "EdDescription")->text(), QStringLiteral("in memory"));
                      auto* name = Child<QLineEdit>(dialog, "EdFileName");
                      EXPECT_EQ(name->text(), QStringLiteral("beta.kvstr"));
                      name->clear();
                      QTest::keyClicks(name, QStringLiteral("Alpha"));
                      QTest::keyClick(name, Qt::Key_Return);
                  }),
              1);
    EXPECT_EQ(recorder.Count(), 0);
    EXPECT_NE(pkg.Labels()->FindId(7), nullptr);
}

TEST_F(PkgLoadSave, LoadFromAMissingFileSaysSoAndStaysOpen)
{
    TKvPkgStrings pkg;
    pkg.Labels()->Add(1, QStringLiteral("kept"));
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    TKvMessageRecorder recorder;
    Run(dialog, [&] {
        QTest::keyClicks(Child<QLineEdit>(dialog, "EdFileName"), QStringLiteral("gamma"));
        ClickOk(dialog);
        EXPECT_TRUE(dialog.isVisible());
    });
    ASSERT_EQ(recorder.Count(), 1);
    EXPECT_EQ(recorder.Last().MsgType, KvMsgNotice);
    EXPECT_EQ(recorder.Last().Buttons, (TKvMsgButtons{KvBtnAccept}));
    EXPECT_TRUE(recorder.Last().Text.contains(QStringLiteral("'gamma'"))) << qPrintable(recorder.Last().Text);
    EXPECT_NE(pkg.Labels()->FindId(1), nullptr);
}

TEST_F(PkgLoadSave, LoadWithAnEmptyNameOnlySetsTheInitModeWithoutAQuestion)
{
    TKvPkgStrings pkg;
    pkg.Labels()->Add(1, QStringLiteral("kept"));
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    TKvMessageRecorder recorder;
    EXPECT_EQ(Run(dialog,
                  [&] {
                      Child<QComboBox>(dialog, "EdInitMode")->setCurrentIndex(1);
                      ClickOk(dialog);
                  }),
              1);
    EXPECT_EQ(recorder.Count(), 0);
    EXPECT_EQ(pkg.InitMode(), TKvPkgInfo::imFILE);
    EXPECT_NE(pkg.Labels()->FindId(1), nullptr);
}

TEST_F(PkgLoadSave, LoadOfACorruptFileShowsTheErrorAndKeepsThePackage)
{
    QFile bad(FDir.filePath(QStringLiteral("bad.kvstr")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a package");
    bad.close();
    TKvPkgStrings pkg;
    pkg.SetInitMode(TKvPkgInfo::imFILE);
    pkg.Labels()->Add(1, QStringLiteral("kept"));
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    TKvMessageRecorder recorder;
    Run(dialog, [&] {
        ClickFile(dialog, QStringLiteral("bad.kvstr"));
        EXPECT_TRUE(Child<QLineEdit>(dialog, "EdDescription")->text().isEmpty());
        ClickOk(dialog);
        EXPECT_TRUE(dialog.isVisible());
    });
    ASSERT_EQ(recorder.Count(), 1);
    EXPECT_EQ(recorder.Last().MsgType, KvMsgError);
    EXPECT_TRUE(recorder.Last().Text.contains(QStringLiteral("bad.kvstr")));
    EXPECT_NE(pkg.Labels()->FindId(1), nullptr);
}

TEST_F(PkgLoadSave, SavingOverAnExistingFileProposesCancel)
{
    TKvPkgStrings pkg;
    pkg.Labels()->Add(42, QStringLiteral("new"));
    const QString target = FDir.filePath(QStringLiteral("Alpha.kvstr"));
    {
        TFrPkgLoadSave dialog;
        dialog.Pkg = &pkg;
        dialog.ModeLoadSave = false;
        TKvMessageRecorder recorder({KvBtnCancel});
        Run(dialog, [&] {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Save PkgStrings"));
            EXPECT_FALSE(Child<QLineEdit>(dialog, "EdDescription")->isReadOnly());
            ClickFile(dialog, QStringLiteral("Alpha.kvstr"));
            ClickOk(dialog);
            EXPECT_TRUE(dialog.isVisible());
        });
        ASSERT_EQ(recorder.Count(), 1);
        EXPECT_EQ(recorder.Last().MsgType, KvMsgQuestion);
        EXPECT_EQ(recorder.Last().Default, KvBtnCancel);
        EXPECT_TRUE(recorder.Last().Text.contains(QDir::toNativeSeparators(target))
                    || recorder.Last().Text.contains(target));
        EXPECT_EQ(KvReadPkgStringsDescription(target), QStringLiteral("First file"));
    }
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    dialog.ModeLoadSave = false;
    TKvMessageRecorder recorder({KvBtnAccept});
    EXPECT_EQ(Run(dialog,
                  [&] {
                      ClickFile(dialog, QStringLiteral("Alpha.kvstr"));
                      auto* description = Child<QLineEdit>(dialog, "EdDescription");
                      description->selectAll();
                      QTest::keyClicks(description, QStringLiteral("Rewritten"));
                      Child<QComboBox>(dialog, "EdInitMode")->setCurrentIndex(1);
                      ClickOk(dialog);
                  }),
              1);
    EXPECT_EQ(recorder.Count(), 1);
    EXPECT_EQ(KvReadPkgStringsDescription(target), QStringLiteral("Rewritten"));
    EXPECT_TRUE(pkg.IsFileBacked());
    TKvPkgStrings check;
    check.LoadFromFile(target);
    EXPECT_NE(check.Labels()->FindId(42), nullptr);
}

TEST_F(PkgLoadSave, PrivilegesSaveTheKeyTypedInTheFocusedKeyBox)
{
    TKvPkgPrivileges pkg;
    pkg.SetKey(QStringLiteral("old"));
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    dialog.ModeLoadSave = false;
    TKvMessageRecorder recorder;
    Run(dialog, [&] {
        auto* key = Child<QLineEdit>(dialog, "EdKey");
        EXPECT_TRUE(key->isVisible());
        EXPECT_EQ(dialog.focusWidget(), key);
        EXPECT_EQ(key->text(), QStringLiteral("old"));
        EXPECT_EQ(Child<QLabel>(dialog, "LaKey")->text(), QStringLiteral("Key:"));
        EXPECT_FALSE(Child<QToolButton>(dialog, "BtSearch")->isVisible());
        key->selectAll();
        QTest::keyClicks(key, QStringLiteral("secret"));
        QTest::keyClicks(Child<QLineEdit>(dialog, "EdFileName"), QStringLiteral("rights"));
        ClickOk(dialog);
    });
    EXPECT_EQ(recorder.Count(), 0);
    EXPECT_EQ(pkg.Key(), QStringLiteral("secret"));
    EXPECT_TRUE(QFileInfo::exists(FDir.filePath(QStringLiteral("rights.kvacc"))));
}

TEST_F(PkgLoadSave, DisplaySaveTakesTheBaseFileFromTheSearchButton)
{
    TKvPkgDisplay pkg;
    pkg.SetLastUpdateFile(QStringLiteral("Old.dis"));
    const QString install = KvGetInstallPackagesExists();
    ASSERT_FALSE(install.isEmpty());
    TKvFileDialogRequest asked;
    auto previous = KvSetFileDialogHandler([&](TKvFileDialogRequest& Request) {
        asked = Request;
        Request.FileName = QDir(install).filePath(QStringLiteral("Standard.dis"));
        return true;
    });
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    dialog.ModeLoadSave = false;
    TKvMessageRecorder recorder;
    Run(dialog, [&] {
        EXPECT_EQ(Child<QLabel>(dialog, "LaKey")->text(), QStringLiteral("LastUpdateFile:"));
        EXPECT_EQ(Child<QLabel>(dialog, "LaKey")->x(), Child<QLabel>(dialog, "LaFileName")->x());
        auto* key = Child<QLineEdit>(dialog, "EdKey");
        EXPECT_EQ(key->text(), QStringLiteral("Old.dis"));
        QTest::mouseClick(Child<QToolButton>(dialog, "BtSearch"), Qt::LeftButton);
        EXPECT_EQ(key->text(), QStringLiteral("Standard.dis"));
        QTest::keyClicks(Child<QLineEdit>(dialog, "EdFileName"), QStringLiteral("look"));
        ClickOk(dialog);
    });
    KvSetFileDialogHandler(previous);
    EXPECT_TRUE(asked.FileMustExist);
    EXPECT_EQ(asked.DefaultExt, QStringLiteral("dis"));
    EXPECT_EQ(asked.Filter, QStringLiteral("Display Files (*.dis)|*.dis|All Files (*.*)|*.*"));
    EXPECT_EQ(pkg.LastUpdateFile(), QStringLiteral("Standard.dis"));
}

// The last update file of a language package may also be typed: what the box holds is saved.
TEST_F(PkgLoadSave, LanguageSaveTakesATypedBaseFile)
{
    TKvPkgLanguage pkg;
    pkg.SetLastUpdateFile(QStringLiteral("Old.lan"));
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    dialog.ModeLoadSave = false;
    Run(dialog, [&] {
        auto* key = Child<QLineEdit>(dialog, "EdKey");
        key->setFocus();
        key->selectAll();
        QTest::keyClicks(key, QStringLiteral("Spanish.lan"));
        QTest::keyClicks(Child<QLineEdit>(dialog, "EdFileName"), QStringLiteral("words"));
        ClickOk(dialog);
    });
    EXPECT_EQ(pkg.LastUpdateFile(), QStringLiteral("Spanish.lan"));
}

TEST_F(PkgLoadSave, OnlyDescriptionPullsTheButtonsUp)
{
    TKvPkgStrings pkg;
    int fullHeight = 0;
    {
        TFrPkgLoadSave full;
        full.Pkg = &pkg;
        Run(full, [&] { fullHeight = full.height(); });
    }
    TFrPkgLoadSave dialog;
    dialog.Pkg = &pkg;
    dialog.OnlyDescription = true;
    Run(dialog, [&] {
        auto* ok = Child<QPushButton>(dialog, "BtOk");
        auto* cancel = Child<QPushButton>(dialog, "BtCancel");
        EXPECT_FALSE(Child<QComboBox>(dialog, "EdInitMode")->isVisible());
        EXPECT_EQ(cancel->y(), Child<QLineEdit>(dialog, "EdDescription")->y());
        EXPECT_EQ(ok->geometry().bottom() + 1 + 4, cancel->y());
        EXPECT_EQ(dialog.height(), fullHeight - 2 - ok->height());
        // Nothing may be hidden behind the buttons.
        EXPECT_FALSE(Child<QLineEdit>(dialog, "EdDescription")->geometry().intersects(cancel->geometry()));
        EXPECT_FALSE(Child<QLineEdit>(dialog, "EdFileName")->geometry().intersects(ok->geometry()));
    });
}

// The open files dialog.

TEST_F(PkgLoadSave, OpenFilesPicksOneFileOfTheFolder)
{
    TFrOpenFiles dialog;
    dialog.SetDirectory(FDir.path());
    dialog.SetMask(QStringLiteral("*.kvstr"));
    dialog.FileName = QStringLiteral("stale");
    bool ran = false;
    QTimer::singleShot(0, &dialog, [&] {
        ran = true;
        EXPECT_TRUE(dialog.FileName.isEmpty());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("OpenFile"));
        EXPECT_EQ(QDir::fromNativeSeparators(Child<QLabel>(dialog, "Panel2")->text()), FDir.path());
        EXPECT_EQ(ListedFiles(dialog), (QStringList{QStringLiteral("Alpha.kvstr"), QStringLiteral("beta.kvstr")}));
        auto* panel = Child<QWidget>(dialog, "Panel1");
        auto* ok = Child<QPushButton>(dialog, "BtOk");
        auto* cancel = Child<QPushButton>(dialog, "BtCancel");
        dialog.resize(500, 300);
        QCoreApplication::processEvents();
        EXPECT_EQ(cancel->geometry().right() + 1 + 5, panel->width());
        EXPECT_EQ(ok->geometry().right() + 1 + 5, cancel->x());
        ClickFile(dialog, QStringLiteral("beta.kvstr"), true);
        if (dialog.isVisible())
            dialog.reject();
    });
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_TRUE(ran);
    EXPECT_EQ(dialog.FileName, QDir(FDir.path()).filePath(QStringLiteral("beta.kvstr")));
}
