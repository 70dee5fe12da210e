#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// kvdesigner run without a user: errors go to standard error and the exit code, never to a box.

namespace {

struct TRun
{
    int Code = -1;
    QByteArray Err;
};

TRun Designer(const QStringList& Args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KV_DESIGNER), Args);
    const bool finished = p.waitForFinished(60000);
    EXPECT_TRUE(finished) << "kvdesigner waits for a user: " << Args.join(u' ').toStdString();
    if (!finished)
        p.kill();
    p.waitForFinished();
    return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
}

void Put(const QString& Path, const QByteArray& Data)
{
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(Data);
}

} // namespace

TEST(KvDesignerUnattended, ScreenshotOfABrokenProjectExitsOne)
{
    QTemporaryDir dir;
    const QString dpr = dir.filePath(QStringLiteral("Bad.dpr"));
    Put(dpr, "program Bad;\r\nuses A in;\r\nbegin\r\nend.\r\n");
    const QString shot = dir.filePath(QStringLiteral("x.png"));
    const TRun r = Designer({dpr, QStringLiteral("--screenshot"), shot});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.contains("kvdesigner: " + dpr.toUtf8() + ":2:")) << r.Err.toStdString();
    EXPECT_FALSE(QFile::exists(shot));
}

TEST(KvDesignerUnattended, CheckOpensEveryFormAndReportsTheBrokenOnes)
{
    QTemporaryDir dir;
    const QDir source(QStringLiteral(KV_TEST_DATA "/projects/Sample"));
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = dir.filePath(source.relativeFilePath(file));
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
    const QString dpr = dir.filePath(QStringLiteral("Sample.dpr"));
    const TRun good = Designer({QStringLiteral("--check"), dpr});
    EXPECT_EQ(good.Code, 0) << good.Err.toStdString();
    EXPECT_FALSE(good.Err.contains("kvdesigner:")) << good.Err.toStdString();

    const QString second = dir.filePath(QStringLiteral("Second.dfm"));
    Put(second, "object FormSecond: TFormSecond\r\n  Caption = 'open\r\nend\r\n");
    const TRun bad = Designer({QStringLiteral("--check"), dpr});
    EXPECT_EQ(bad.Code, 1);
    EXPECT_TRUE(bad.Err.contains("kvdesigner: " + second.toUtf8() + ":2:")) << bad.Err.toStdString();

    EXPECT_EQ(Designer({QStringLiteral("--check"), dir.filePath(QStringLiteral("Missing.dpr"))}).Code, 1);
}

TEST(KvDesignerUnattended, CheckTakesAFormFileOrAFolderOfForms)
{
    QTemporaryDir dir;
    const QDir source(QStringLiteral(KV_TEST_DATA "/forms"));
    for (const QString& file : source.entryList({QStringLiteral("*.dfm")}, QDir::Files))
        ASSERT_TRUE(QFile::copy(source.filePath(file), dir.filePath(file)));
    // Forms of different projects share names (two FrmOrders): each is closed before the next.
    const TRun all = Designer({QStringLiteral("--check"), dir.path()});
    EXPECT_EQ(all.Code, 0) << all.Err.toStdString();
    EXPECT_TRUE(all.Err.contains("Inherited.dfm: The ancestor of TFrmChild was not found")) << all.Err.toStdString();
    EXPECT_EQ(Designer({QStringLiteral("--check"), dir.filePath(QStringLiteral("VclOrders.dfm"))}).Code, 0);

    const QString broken = dir.filePath(QStringLiteral("Broken.dfm"));
    Put(broken, "object FrmBroken: TFrmBroken\r\n  Caption = 'open\r\nend\r\n");
    for (const QString& target : {dir.path(), broken}) {
        const TRun bad = Designer({QStringLiteral("--check"), target});
        EXPECT_EQ(bad.Code, 1);
        EXPECT_TRUE(bad.Err.contains("kvdesigner: " + broken.toUtf8() + ":2:")) << bad.Err.toStdString();
    }
    for (const QString& file : source.entryList({QStringLiteral("*.dfm")}, QDir::Files)) {
        QFile a(source.filePath(file)), b(dir.filePath(file));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll()) << file.toStdString();
    }
}
