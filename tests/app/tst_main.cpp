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
