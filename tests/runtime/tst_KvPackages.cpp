#include "KvPkgImages.h"
#include "KvPkgStrings.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The package's life with its own file, through a strings package.
class PkgFiles : public ::testing::Test
{
protected:
    void SetUp() override { KvSetAppPath(FDir.path()); }
    void TearDown() override { KvSetAppPath(QString()); }
    QString Path(const QString& Name) const { return QDir(FDir.path()).filePath(Name); }

    // Rewrites a package file behind the package's back.
    void Replace(const QString& Name, int LabelId, const QString& Text)
    {
        TKvPkgStrings other;
        other.Labels()->Add(LabelId, Text);
        other.SaveToFile(Path(Name));
    }

    QTemporaryDir FDir;
};

TEST_F(PkgFiles, TypedNamesGetTheExtensionAndTheApplicationFolder)
{
    TKvPkgStrings pkg;
    EXPECT_EQ(pkg.GetFileName(QStringLiteral("Main")), Path(QStringLiteral("Main.kvstr")));
    EXPECT_EQ(pkg.GetFileName(QStringLiteral(" sub/Main.dat ")), Path(QStringLiteral("sub/Main.dat")));
    EXPECT_EQ(pkg.GetFileName(QStringLiteral("/abs/Main")), QStringLiteral("/abs/Main.kvstr"));
    EXPECT_EQ(pkg.GetFileName(QString()), QString());
}

TEST_F(PkgFiles, SaveFileWritesOnlyAChangedFileBackedPackage)
{
    TKvPkgStrings pkg;
    pkg.Labels()->Add(1, QStringLiteral("one"));
    pkg.SaveFile(); // in the form: no file
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("Main.kvstr"))));

    pkg.SaveFileEx(QStringLiteral("Main"), TKvPkgInfo::imFILE);
    EXPECT_EQ(pkg.FileName(), QStringLiteral("Main.kvstr"));
    EXPECT_TRUE(pkg.IsFileBacked());
    EXPECT_FALSE(pkg.Modified());

    Replace(QStringLiteral("Main.kvstr"), 2, QStringLiteral("foreign"));
    pkg.SaveFile(); // unchanged: the file on disk is left alone
    TKvPkgStrings check;
    check.LoadFromFile(Path(QStringLiteral("Main.kvstr")));
    EXPECT_TRUE(check.Labels()->FindId(2));

    pkg.Labels()->FindId(1)->SetText(QStringLiteral("uno"));
    EXPECT_TRUE(pkg.Modified());
    pkg.SaveFile();
    EXPECT_FALSE(pkg.Modified());
    check.LoadFromFile(Path(QStringLiteral("Main.kvstr")));
    EXPECT_EQ(check.Labels()->FindId(1)->Text(), QStringLiteral("uno"));
}

TEST_F(PkgFiles, FileModifiedSeesChangesOnDiskAndLoadFileTakesThem)
{
    TKvPkgStrings pkg;
    pkg.Labels()->Add(1, QStringLiteral("one"));
    pkg.SaveFileEx(QStringLiteral("Main"), TKvPkgInfo::imFILE);
    EXPECT_FALSE(pkg.FileModified());

    Replace(QStringLiteral("Main.kvstr"), 7, QStringLiteral("seven, written elsewhere"));
    EXPECT_TRUE(pkg.FileModified());

    QSignalSpy afterLoad(&pkg, &TKvPkgInfo::AfterLoad);
    pkg.LoadFile();
    EXPECT_FALSE(pkg.FileModified());
    EXPECT_FALSE(pkg.Modified());
    ASSERT_EQ(afterLoad.count(), 1);
    EXPECT_EQ(afterLoad.at(0).at(0).toBool(), false);
    EXPECT_EQ(pkg.Labels()->Count(), 1);
    EXPECT_EQ(pkg.Labels()->FindId(7)->Text(), QStringLiteral("seven, written elsewhere"));

    QFile::remove(Path(QStringLiteral("Main.kvstr")));
    EXPECT_FALSE(pkg.FileModified());
    pkg.SaveFile(); // a missing file is written again
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("Main.kvstr"))));

    pkg.SetFileName(QStringLiteral("Elsewhere"));
    Replace(QStringLiteral("Elsewhere.kvstr"), 1, QString());
    EXPECT_TRUE(pkg.FileModified()); // never read from that file
}

TEST_F(PkgFiles, LoadFileExTakesNameAndModeOnlyWhenTheLoadSucceeds)
{
    Replace(QStringLiteral("Base.kvstr"), 3, QStringLiteral("three"));
    TKvPkgStrings pkg;
    pkg.Labels()->Add(1, QStringLiteral("mine"));

    EXPECT_THROW(pkg.LoadFileEx(QStringLiteral("Missing"), TKvPkgInfo::imFILE), EKvPkgFileError);
    EXPECT_EQ(pkg.InitMode(), TKvPkgInfo::imDFM);
    EXPECT_EQ(pkg.FileName(), QString());
    EXPECT_TRUE(pkg.Labels()->FindId(1));

    pkg.LoadFileEx(QStringLiteral("Base"), TKvPkgInfo::imFILE);
    EXPECT_EQ(pkg.InitMode(), TKvPkgInfo::imFILE);
    EXPECT_EQ(pkg.FileName(), QStringLiteral("Base.kvstr"));
    EXPECT_FALSE(pkg.Labels()->FindId(1));
    EXPECT_TRUE(pkg.Labels()->FindId(3));
    EXPECT_FALSE(pkg.FileModified());

    // An empty name only sets the mode.
    pkg.LoadFileEx(QString(), TKvPkgInfo::imDFM);
    EXPECT_FALSE(pkg.IsFileBacked());
    EXPECT_TRUE(pkg.Labels()->FindId(3));

    // Loading any other file marks the package changed, so that its own file is rewritten.
    pkg.SaveFileEx(QStringLiteral("Mine"), TKvPkgInfo::imFILE);
    pkg.LoadFromFile(Path(QStringLiteral("Base.kvstr")));
    EXPECT_TRUE(pkg.Modified());
    EXPECT_EQ(pkg.FileName(), QStringLiteral("Mine.kvstr"));
}

TEST_F(PkgFiles, DescriptionReadersReadOnlyTheHeader)
{
    TKvPkgStrings pkg;
    pkg.SetDescription(QStringLiteral("Customer strings"));
    pkg.Labels()->Add(1, QString(5000, QLatin1Char('x')));
    const QByteArray data = pkg.SaveToBytes();
    const QString path = Path(QStringLiteral("Cut.kvstr"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data.left(12 + 16 + 100)); // header and a little of the body
    }
    EXPECT_EQ(KvReadPkgStringsDescription(path), QStringLiteral("Customer strings"));
    EXPECT_THROW(pkg.LoadFromFile(path), EKvPkgFileError);

    EXPECT_THROW(KvReadPkgImagesDescription(path), EKvPkgFileError); // another kind
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data.left(20));
    }
    EXPECT_THROW(KvReadPkgStringsDescription(path), EKvPkgFileError);
    EXPECT_THROW(pkg.SetDescription(QString(70000, QLatin1Char('d'))), EKvPkgError);
    EXPECT_EQ(pkg.Description(), QStringLiteral("Customer strings"));
}

TEST(PkgRegistry, TheActivePackageAnswersForASharedName)
{
    TKvPkgStrings first;
    first.SetPkgName(QStringLiteral("Main"));
    auto* second = new TKvPkgStrings;
    second->SetPkgName(QStringLiteral("MAIN"));
    TKvPkgStrings user;
    user.SetPkgName(QStringLiteral("User"));
    TKvPkgImages images;
    images.SetPkgName(QStringLiteral("Main"));

    EXPECT_EQ(KvFindPkgStrings(QStringLiteral("main")), &first);
    EXPECT_EQ(KvFindPkgStrings(QString()), &user);
    EXPECT_EQ(KvFindPkgStrings(QStringLiteral("Nothing")), nullptr);
    EXPECT_EQ(KvFindPkgImages(QStringLiteral("Main")), &images);

    second->SetActive(true);
    EXPECT_EQ(KvFindPkgStrings(QStringLiteral("Main")), second);
    EXPECT_TRUE(second->Active());
    EXPECT_FALSE(first.Active());
    EXPECT_EQ(KvPkgStringsActives(), (QStringList{QStringLiteral("MAIN"), QStringLiteral("User")}));
    const QList<TKvPkgStrings*> all = KvPkgStringsAll();
    EXPECT_EQ(all, (QList<TKvPkgStrings*>{&first, second, &user}));

    first.SetActive(true);
    EXPECT_FALSE(second->Active());
    second->SetActive(true);
    delete second;
    EXPECT_EQ(KvFindPkgStrings(QStringLiteral("Main")), &first);
    EXPECT_EQ(KvPkgStringsActives(), (QStringList{QStringLiteral("Main"), QStringLiteral("User")}));
}

// A relative file name is the project's: it may not lead out of the folder, by ".." or a link.
TEST_F(PkgFiles, RelativeNamesDoNotLeadOutOfTheFolder)
{
    QTemporaryDir outside;
    const QString victim = QDir(outside.path()).filePath(QStringLiteral("Victim.kvstr"));
    TKvPkgStrings original;
    original.Labels()->Add(1, QStringLiteral("outside"));
    original.SaveToFile(victim); // an absolute name is the developer's own choice
    QFile before(victim);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    ASSERT_TRUE(QFile::link(outside.path(), Path(QStringLiteral("lnk"))));
    ASSERT_TRUE(QFile::link(victim, Path(QStringLiteral("Linked.kvstr"))));

    TKvPkgStrings pkg;
    pkg.Labels()->Add(2, QStringLiteral("mine"));
    pkg.SetInitMode(TKvPkgInfo::imFILE);
    for (const QString& name : {QStringLiteral("lnk/Victim"), QStringLiteral("Linked"), QStringLiteral("../Victim")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_THROW(pkg.LoadFileEx(name, TKvPkgInfo::imFILE), EKvPkgFileError);
        EXPECT_THROW(pkg.SaveFileEx(name, TKvPkgInfo::imFILE), EKvPkgFileError);
        pkg.SetFileName(name);
        EXPECT_THROW(pkg.LoadFile(), EKvPkgFileError);
        EXPECT_THROW(pkg.SaveFile(), EKvPkgFileError);
    }
    EXPECT_TRUE(pkg.Labels()->FindId(2));
    QFile after(victim);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}
