#include "manager/KvPkgSynchronize.h"
#include "manager/KvVtPkgSynchronizer.h"
#include "ui_KvVtPkgSynchronizer.h"

#include "Colors.h"
#include "KvFiles.h"
#include "KvMessages.h"
#include "KvPkgDisplay.h"
#include "KvPkgImages.h"
#include "KvPkgLanguage.h"
#include "KvPkgStrings.h"
#include "KvRuntimeClasses.h"
#include "SysUtils.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QProgressBar>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QStringList Labels(const TKvPkgStrings& Pkg)
{
    QStringList list;
    for (int i = 0; i < Pkg.Labels()->Count(); ++i)
        list << QStringLiteral("%1=%2").arg(Pkg.Labels()->GetItems(i)->Id()).arg(Pkg.Labels()->GetItems(i)->Text());
    list.sort();
    return list;
}

QList<int> ImageIds(const TKvPkgImages& Pkg)
{
    QList<int> ids;
    for (int i = 0; i < Pkg.Images()->Count(); ++i)
        ids << Pkg.Images()->GetItems(i)->Id();
    std::sort(ids.begin(), ids.end());
    return ids;
}

class KvPkgSynchronizeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvRegisterRuntimeClasses();
        FOldPath = KvAppPath();
        KvSetAppPath(Dir.path());
        Master.SetPkgName(QStringLiteral("Main"));
        Master.Labels()->Add(1, QStringLiteral("One"));
        Master.Labels()->Add(2, QStringLiteral("Two"));
        Master.Messages()->Add(5, QStringLiteral("Five"));
        Other.Labels()->Add(2, QStringLiteral("Deux"));
        Other.Labels()->Add(3, QStringLiteral("Trois"));
        Other.Texts()->Add(9, QStringLiteral("Neuf"));
        Other.SaveToFile(Path("Other.kvstr"));
    }
    void TearDown() override { KvSetAppPath(FOldPath); }
    QString Path(const char* Name) const { return QDir(Dir.path()).filePath(QString::fromLatin1(Name)); }

    QTemporaryDir Dir;
    QString FOldPath;
    TKvPkgStrings Master;
    TKvPkgStrings Other;
};

} // namespace

// Items are matched by id; the target keeps its own version of an item both have.
TEST_F(KvPkgSynchronizeTest, FromAddsAndDeletesAsAskedAndKeepsTheTargetsItems)
{
    TKvSyncOptions add;
    add.AddItems = true;
    int steps = 0, maximum = 0;
    KvSynchronizeFrom(&Master, Path("Other.kvstr"), add, [&](int M) { maximum = M; }, [&] { ++steps; });
    EXPECT_EQ(Labels(Master), QStringList({"1=One", "2=Two", "3=Trois"}));
    EXPECT_EQ(Master.Texts()->FindId(9)->Text(), "Neuf");
    EXPECT_EQ(maximum, 6);
    EXPECT_EQ(steps, 3); // the source's items, visited once each

    TKvSyncOptions both = add;
    both.DeleteItems = true;
    KvSynchronizeFrom(&Master, Path("Other.kvstr"), both);
    EXPECT_EQ(Labels(Master), QStringList({"2=Two", "3=Trois"}));
    EXPECT_EQ(Master.Messages()->Count(), 0);

    // A file that does not read leaves the master as it was.
    KvWriteFile(Path("Bad.kvstr"), "not a package");
    EXPECT_THROW(KvSynchronizeFrom(&Master, Path("Bad.kvstr"), both), Exception);
    EXPECT_EQ(Labels(Master), QStringList({"2=Two", "3=Trois"}));
}

TEST_F(KvPkgSynchronizeTest, ToWritesEveryFileFromTheLastAndReportsTheFailedOnes)
{
    Other.SaveToFile(Path("Second.kvstr"));
    KvWriteFile(Path("Bad.kvstr"), "not a package");
    TKvSyncOptions add;
    add.AddItems = true;
    QStringList done;
    const QList<TKvSyncFailure> failures = KvSynchronizeTo(
        &Master, {Path("Other.kvstr"), Path("Bad.kvstr"), Path("Second.kvstr")}, add, {}, {},
        [&](const QString& File) { done << QFileInfo(File).fileName(); });
    EXPECT_EQ(done, QStringList({"Second.kvstr", "Other.kvstr"}));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures[0].FileName, Path("Bad.kvstr"));
    TKvPkgStrings back;
    back.LoadFromFile(Path("Second.kvstr"));
    EXPECT_EQ(Labels(back), QStringList({"1=One", "2=Deux", "3=Trois"}));
    EXPECT_EQ(back.Messages()->FindId(5)->Text(), "Five");
    EXPECT_EQ(Labels(Master), QStringList({"1=One", "2=Two"}));
}

TEST_F(KvPkgSynchronizeTest, ImagesAndDisplayPartsFollowTheirOptions)
{
    TKvPkgImages master, other;
    master.Images()->Add(1);
    other.Images()->Add(2)->SetGraphic(QImage(3, 2, QImage::Format_ARGB32));
    other.SaveToFile(Path("Other.kvimg"));
    TKvSyncOptions both;
    both.AddItems = both.DeleteItems = true;
    KvSynchronizeFrom(&master, Path("Other.kvimg"), both);
    EXPECT_EQ(ImageIds(master), QList<int>({2}));
    EXPECT_EQ(master.Images()->FindId(2)->Width(), 3);

    TKvPkgDisplay display, file;
    file.SetsColor()->Add(QStringLiteral("Red"))->SetColor(TColor{StringToColor(u"clRed")});
    file.PkgUser()->Images()->Add(4);
    file.SaveToFile(Path("Other.dis"));
    KvSynchronizeFrom(&display, Path("Other.dis"), both);
    EXPECT_EQ(display.SetsColor()->Count(), 0); // sets only with "Sync Sets"
    EXPECT_EQ(display.PkgUser()->Images()->Count(), 0);
    both.SyncSets = both.SyncUser = true;
    KvSynchronizeFrom(&display, Path("Other.dis"), both);
    ASSERT_TRUE(display.SetsColor()->Find(QStringLiteral("red")));
    EXPECT_EQ(display.SetsColor()->Find(QStringLiteral("Red"))->Color().Value, StringToColor(u"clRed"));
    EXPECT_EQ(ImageIds(*display.PkgUser()), QList<int>({4}));
    EXPECT_EQ(KvSyncExt(&display), ".dis");
    TKvPkgLanguage language;
    EXPECT_EQ(KvSyncExt(&language), ".lan");
}

// Only the images and the sets travel: the metrics, window regions and user colours are each
// package's own, in both directions; a set the master adds arrives whole.
TEST_F(KvPkgSynchronizeTest, DisplayMetricsAndUserColoursStayEachPackagesOwn)
{
    TKvPkgDisplay master, file;
    master.SetCWTitleHeight(30);
    master.SetHiMarginLeft(9);
    master.SetCWWinRgn(true);
    master.SetUserColors({0xFF112233});
    TKvSetBackGroundItem* sky = master.SetsBackGround()->Add(QStringLiteral("Sky"));
    sky->SetStyle(bgsImageCenter);
    sky->SetTransparent(true);
    sky->SetImage(QStringLiteral("Demo"), 7);
    sky->SetDescriptionId(QStringLiteral("Main"), 3);
    file.SetCWTitleHeight(12);
    file.SetHiMarginLeft(1);
    file.SetUserColors({0xFF445566, 0xFF778899});
    file.SetsColor()->Add(QStringLiteral("Paper"));
    file.SaveToFile(Path("Other.dis"));
    TKvSyncOptions all;
    all.AddItems = all.DeleteItems = all.SyncSets = all.SyncSystem = all.SyncUser = true;

    EXPECT_TRUE(KvSynchronizeTo(&master, {Path("Other.dis")}, all).isEmpty());
    TKvPkgDisplay back;
    back.LoadFromFile(Path("Other.dis"));
    EXPECT_EQ(back.CWMetric(cwTitleHeight), 12);
    EXPECT_EQ(back.HiMetric(hiMarginLeft), 1);
    EXPECT_FALSE(back.CWWinRgn());
    EXPECT_EQ(back.UserColors(), QList<QRgb>({0xFF445566, 0xFF778899}));
    EXPECT_EQ(back.SetsColor()->Count(), 0);
    const TKvSetBackGroundItem* copy = back.SetsBackGround()->Find(QStringLiteral("Sky"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Style(), int(bgsImageCenter));
    EXPECT_TRUE(copy->Transparent());
    EXPECT_EQ(copy->ImageId(), 7);
    EXPECT_EQ(copy->DescriptionId(), 3);

    file.SaveToFile(Path("Other.dis"));
    KvSynchronizeFrom(&master, Path("Other.dis"), all);
    EXPECT_EQ(master.CWMetric(cwTitleHeight), 30);
    EXPECT_EQ(master.HiMetric(hiMarginLeft), 9);
    EXPECT_TRUE(master.CWWinRgn());
    EXPECT_EQ(master.UserColors(), QList<QRgb>({0xFF112233}));
    EXPECT_TRUE(master.SetsColor()->Find(QStringLiteral("Paper")));
    EXPECT_FALSE(master.SetsBackGround()->Find(QStringLiteral("Sky")));
}

// The window: the master's own file is not offered, Apply needs a file of the kind's extension,
// and "to" moves a file back to the available ones once it is written.
TEST_F(KvPkgSynchronizeTest, WindowOffersTheFolderFilesAndSynchronizesBothWays)
{
    Master.SetFileName(QStringLiteral("Main.kvstr"));
    Master.SaveToFile(Path("Main.kvstr"));
    Other.SaveToFile(Path("Zeta.kvstr"));
    TFrPkgSynchronizer window;
    window.Pkg = &Master;
    Ui::TFrPkgSynchronizer* ui = window.ui();
    TKvMessageRecorder messages;
    QTimer::singleShot(0, [&] {
        QStringList available;
        for (int i = 0; i < ui->FileList->count(); ++i)
            available << ui->FileList->item(i)->text();
        EXPECT_EQ(available, QStringList({"Other.kvstr", "Zeta.kvstr"}));
        EXPECT_EQ(ui->LabFileMaster->text(), "Main.kvstr ( PkgName: Main )");
        EXPECT_FALSE(ui->CBSyncSets->isVisible());
        EXPECT_FALSE(ui->BtApply->isEnabled());
        ui->EdPkgFileName->setText(Path("Other.KVSTR"));
        EXPECT_FALSE(ui->BtApply->isEnabled());
        ui->EdPkgFileName->setText(Path("Other.kvstr"));
        EXPECT_TRUE(ui->BtApply->isEnabled());
        QTest::mouseClick(ui->CBAddItems, Qt::LeftButton, {}, QPoint(4, ui->CBAddItems->height() / 2));
        QTest::mouseClick(ui->BtApply, Qt::LeftButton);
        EXPECT_EQ(Labels(Master), QStringList({"1=One", "2=Two", "3=Trois"}));

        QTest::mouseClick(ui->SpeedButton2, Qt::LeftButton);
        EXPECT_FALSE(ui->BtApply->isEnabled());
        const QRect zeta = ui->FileList->visualItemRect(ui->FileList->item(1));
        QTest::mouseClick(ui->FileList->viewport(), Qt::LeftButton, {}, zeta.center());
        QTest::mouseClick(ui->SBAppend, Qt::LeftButton);
        EXPECT_EQ(ui->ListBox->count(), 1);
        EXPECT_EQ(ui->FileList->currentRow(), 0); // the last item, as the index is past the end
        QTest::mouseClick(ui->SBAppend, Qt::LeftButton);
        QTest::mouseClick(ui->BtOk, Qt::LeftButton);
    });
    // Each file is selected while it is merged, the last listed first.
    QStringList merged;
    QObject::connect(ui->ProgressBar, &QProgressBar::valueChanged, [&](int Value) {
        if (Value == 1 && ui->SpeedButton2->isChecked())
            merged << (ui->ListBox->currentItem() ? ui->ListBox->currentItem()->text() : QString());
    });
    EXPECT_TRUE(window.Execute());
    EXPECT_EQ(merged, QStringList({"Zeta.kvstr", "Other.kvstr"}));
    EXPECT_EQ(messages.Count(), 0);
    TKvPkgStrings zeta;
    zeta.LoadFromFile(Path("Zeta.kvstr"));
    EXPECT_EQ(Labels(zeta), QStringList({"1=One", "2=Deux", "3=Trois"}));
    EXPECT_EQ(ui->ListBox->count(), 0);
    EXPECT_EQ(ui->FileList->count(), 2);
}
