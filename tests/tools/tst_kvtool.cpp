#include "FormStreams.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

struct Result
{
    int Code = -1;
    QByteArray Out;
    QByteArray Err;
};

Result Tool(const QStringList& args, int stdoutFd = -1)
{
    QProcess p;
    if (stdoutFd >= 0)
        p.setChildProcessModifier([stdoutFd] { dup2(stdoutFd, STDOUT_FILENO); });
    p.start(QStringLiteral(KV_TOOL), args);
    EXPECT_TRUE(p.waitForFinished(30000)) << args.join(' ').toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

class KvTool : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    QString Path(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(KvTool, CorpusFormsSurviveEveryConversion)
{
    const QDir corpus(QStringLiteral(KV_TEST_DATA "/forms"));
    const QStringList names = corpus.entryList({QStringLiteral("*.dfm")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString src = corpus.filePath(name);
        const QByteArray text = Read(src);
        TFormTextFormat found;
        ObjectTextToBinary(text, &found);
        const char* style = found.Style == TFormTextStyle::Legacy ? "legacy" : "current";
        ASSERT_EQ(Tool({"form", "tobinary", src, Path("f.bin")}).Code, 0);
        EXPECT_TRUE(Read(Path("f.bin")).startsWith("TPF0"));
        ASSERT_EQ(Tool({"form", "totext", "--style", style, Path("f.bin"), Path("f.dfm")}).Code, 0);
        EXPECT_EQ(Read(Path("f.dfm")), text);

        ASSERT_EQ(Tool({"form", "tobinary", "--resource", src, Path("f.res")}).Code, 0);
        EXPECT_TRUE(Read(Path("f.res")).startsWith("\xFF\x0A\x00"));
        EXPECT_EQ(Tool({"form", "totext", "--style", style, Path("f.res")}).Out, text); // to standard output
        // Binary input is passed on as it is, wrapped or not.
        ASSERT_EQ(Tool({"form", "tobinary", "--resource", Path("f.bin"), Path("g.res")}).Code, 0);
        EXPECT_EQ(Read(Path("g.res")), Read(Path("f.res")));
        EXPECT_EQ(Tool({"form", "tobinary", Path("f.res")}).Out, Read(Path("f.bin")));

        const QByteArray lf = QByteArray(text).replace("\r\n", "\n");
        EXPECT_EQ(Tool({"form", "totext", "--lf", src}).Out, lf);
        Write(Path("lf.dfm"), lf);
        EXPECT_EQ(Tool({"form", "totext", Path("lf.dfm")}).Out, text);
    }
}

TEST_F(KvTool, CheckReportsEveryBrokenFileAndGoesOn)
{
    const QByteArray good = "object A: TA\r\n  Caption = 'x'\r\nend\r\n";
    Write(Path("good.dfm"), good);
    Write(Path("broken.dfm"), "object A: TA\r\n  Caption 'x'\r\nend\r\n");
    QByteArray bin = ObjectTextToBinary(good);
    Write(Path("short.bin"), bin.left(bin.size() - 3));
    // In a resource the offset counts from the start of the file, not of the wrapped stream.
    QByteArray res = ObjectTextToResource(good);
    const qsizetype bad = res.indexOf("Caption") + 7;
    res[bad] = char(99);
    Write(Path("bad.res"), res);

    const Result all = Tool({"form", "check", Path("good.dfm"), Path("broken.dfm"), Path("missing.dfm"),
                             Path("short.bin"), Path("bad.res")});
    EXPECT_EQ(all.Code, 1);
    EXPECT_TRUE(all.Out.isEmpty());
    const QList<QByteArray> lines = all.Err.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4) << all.Err.toStdString();
    EXPECT_EQ(lines[0], Path("broken.dfm").toUtf8() + ":2:11: '=' expected but string found");
    EXPECT_TRUE(lines[1].startsWith(Path("missing.dfm").toUtf8() + ": cannot open: ")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], Path("short.bin").toUtf8() + ":offset " + QByteArray::number(bin.size() - 3)
                  + ": Unexpected end of stream");
    EXPECT_EQ(lines[3], Path("bad.res").toUtf8() + ":offset " + QByteArray::number(bad) + ": Invalid value type 99");

    const Result ok = Tool({"form", "check", Path("good.dfm"), QStringLiteral(KV_TEST_DATA "/forms/Main.dfm")});
    EXPECT_EQ(ok.Code, 0);
    EXPECT_TRUE(ok.Err.isEmpty()) << ok.Err.toStdString();
}

// UTF-16 text is text, not a resource (both start with FF); bytes after a binary form are not copied.
TEST_F(KvTool, Utf16TextAndTrailingJunk)
{
    const QString text = QStringLiteral("object A: TA\r\n  Caption = 'Gr'#246#223'e'\r\nend\r\n");
    const QByteArray utf16 = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    Write(Path("u.dfm"), utf16);
    EXPECT_EQ(Tool({"form", "totext", Path("u.dfm")}).Out, utf16);
    ASSERT_EQ(Tool({"form", "tobinary", Path("u.dfm"), Path("u.bin")}).Code, 0);
    EXPECT_EQ(Read(Path("u.bin")), ObjectTextToBinary(text.toLatin1()));

    for (const QStringList& resource : {QStringList(), QStringList{QStringLiteral("--resource")}}) {
        ASSERT_EQ(Tool(QStringList{"form", "tobinary"} + resource + QStringList{Path("u.dfm"), Path("j.bin")}).Code, 0);
        const qsizetype size = Read(Path("j.bin")).size();
        Write(Path("j.bin"), Read(Path("j.bin")) + "junk");
        const Result r = Tool({"form", "tobinary", Path("j.bin"), Path("out.bin")});
        EXPECT_EQ(r.Code, 1);
        EXPECT_EQ(r.Err.trimmed(), "kvtool: " + Path("j.bin").toUtf8() + ":offset " + QByteArray::number(size)
                                       + ": Unexpected data after the end of the form");
        EXPECT_FALSE(QFile::exists(Path("out.bin")));
    }
}

TEST_F(KvTool, FailedConversionLeavesOutputAlone)
{
    Write(Path("out.dfm"), "keep");
    Write(Path("broken.dfm"), "object A: TA\n  Left = 12abc\nend\n");
    const Result r = Tool({"form", "totext", Path("broken.dfm"), Path("out.dfm")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.contains(Path("broken.dfm").toUtf8() + ":2:10: Invalid number")) << r.Err.toStdString();
    EXPECT_EQ(Read(Path("out.dfm")), "keep");
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind

    const Result dir = Tool({"form", "tobinary", QStringLiteral(KV_TEST_DATA "/forms/Main.dfm"), Dir.path()});
    EXPECT_EQ(dir.Code, 1);
    EXPECT_TRUE(dir.Err.contains(Dir.path().toUtf8() + ": cannot write")) << dir.Err.toStdString();
}

TEST_F(KvTool, UsageErrorsExitTwoWithHelp)
{
    const Result unknown = Tool({"frobnicate"});
    EXPECT_EQ(unknown.Code, 2);
    EXPECT_TRUE(unknown.Err.contains("unknown command 'frobnicate'"));
    EXPECT_TRUE(unknown.Err.contains("Usage: kvtool [options] command")) << unknown.Err.toStdString();
    EXPECT_TRUE(unknown.Err.contains("form check"));

    EXPECT_EQ(Tool({"form", "frobnicate"}).Code, 2);
    EXPECT_EQ(Tool({"form"}).Code, 2);
    EXPECT_EQ(Tool({"--frobnicate"}).Code, 2);
    const Result missing = Tool({"form", "totext"});
    EXPECT_EQ(missing.Code, 2);
    EXPECT_TRUE(missing.Err.contains("Usage: kvtool form totext [options] file [out]")) << missing.Err.toStdString();
    EXPECT_EQ(Tool({"form", "totext", "a", "b", "c"}).Code, 2);
    EXPECT_EQ(Tool({"form", "tobinary", "--lf", "a"}).Code, 2); // an option of another command

    const Result help = Tool({"form", "check", "--help"});
    EXPECT_EQ(help.Code, 0);
    EXPECT_TRUE(help.Out.startsWith("Usage: kvtool form check [options] file...")) << help.Out.toStdString();
    const Result version = Tool({"--version"});
    EXPECT_EQ(version.Code, 0);
    EXPECT_TRUE(version.Out.startsWith("kvtool ")) << version.Out.toStdString();
}

TEST_F(KvTool, BinaryIsNotWrittenToATerminal)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int tty = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(tty, 0);
    const QString form = QStringLiteral(KV_TEST_DATA "/forms/Main.dfm");
    const Result refused = Tool({"form", "tobinary", form}, tty);
    EXPECT_EQ(refused.Code, 1);
    EXPECT_TRUE(refused.Err.contains("not written to a terminal")) << refused.Err.toStdString();
    // Text may go to a terminal, and binary to a named file even from one.
    EXPECT_EQ(Tool({"form", "totext", form}, tty).Code, 0);
    EXPECT_EQ(Tool({"form", "tobinary", form, Path("f.bin")}, tty).Code, 0);
    close(tty);
    close(master);
}

namespace {

// A form far larger than a 64 KB file system.
QByteArray BigForm(int Components)
{
    QByteArray text = "object FrBig: TFrBig\r\n";
    for (int i = 0; i < Components; ++i)
        text += "  object Label" + QByteArray::number(i) + ": TLabel\r\n    Caption = 'Label number "
            + QByteArray::number(i) + "'\r\n  end\r\n";
    return text + "end\r\n";
}

} // namespace

TEST_F(KvTool, FullDiskFailsAndKeepsTheOldOutput)
{
    const QString mnt = Path("small");
    QDir().mkpath(mnt);
    if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mnt}) != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    struct Unmount
    {
        QString Dir;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {Dir}); }
    } unmount{mnt};
    Write(Path("big.dfm"), BigForm(5000));
    const QString out = QDir(mnt).filePath(QStringLiteral("out.txt"));
    Write(out, "old output");
    for (const char* command : {"totext", "tobinary"}) {
        SCOPED_TRACE(command);
        const Result r = Tool({"form", command, Path("big.dfm"), out});
        EXPECT_EQ(r.Code, 1);
        EXPECT_TRUE(r.Err.contains(out.toUtf8() + ": cannot write: No space left on device")) << r.Err.toStdString();
        EXPECT_EQ(Read(out), "old output");
        EXPECT_EQ(QDir(mnt).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.txt")});
    }
}

TEST_F(KvTool, PipeOutputIsWrittenNotReplaced)
{
    const QString fifo = Path("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start(QStringLiteral("cat"), {fifo});
    ASSERT_TRUE(reader.waitForStarted());
    const QString form = QStringLiteral(KV_TEST_DATA "/forms/Main.dfm");
    EXPECT_EQ(Tool({"form", "totext", form, fifo}).Code, 0);
    ASSERT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(reader.readAllStandardOutput(), Read(form));
    struct stat st{};
    ASSERT_EQ(lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(KvTool, EndlessInputIsRefused)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KV_MAX_FILE_SIZE"), QStringLiteral("8M"));
    p.setProcessEnvironment(env);
    p.setStandardInputFile(QStringLiteral("/dev/zero"));
    p.start(QStringLiteral(KV_TOOL), {"form", "check", "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardError(), "standard input: file too large (the limit is 8 MiB; KV_MAX_FILE_SIZE sets it)\n");
}

// Resaving reads the form into live components as kvdesigner does: nothing a user wrote is lost,
// inherited forms find their ancestors through the project or the units beside them.
TEST_F(KvTool, ResaveWritesFormsBackAsTheyWere)
{
    const QString legacy = QStringLiteral(KV_TEST_DATA "/projects/Legacy/");
    const QString child = legacy + QStringLiteral("UChild.dfm");
    const QByteArray original = Read(child);
    const Result viaProject = Tool({"form", "resave", "--project", legacy + QStringLiteral("Legacy.dpr"), child});
    EXPECT_EQ(viaProject.Code, 0) << viaProject.Err.constData();
    EXPECT_EQ(viaProject.Out, original);
    EXPECT_TRUE(viaProject.Err.isEmpty()) << viaProject.Err.constData();
    const Result beside = Tool({"form", "resave", child});
    EXPECT_EQ(beside.Out, original);
    EXPECT_TRUE(beside.Err.isEmpty()) << beside.Err.constData();

    // Copied away from its units: it opens as it is, with a warning.
    Write(Path("UChild.dfm"), original);
    Result alone = Tool({"form", "resave", Path("UChild.dfm"), Path("out.dfm")});
    EXPECT_EQ(alone.Code, 0);
    EXPECT_EQ(Read(Path("out.dfm")), original);
    EXPECT_TRUE(alone.Err.contains("warning: ")) << alone.Err.constData();
    alone = Tool({"form", "resave", "--ancestor", legacy + QStringLiteral("UBase.dfm"), Path("UChild.dfm")});
    EXPECT_EQ(alone.Out, original);

    // Binary and resource forms stay binary; LF text stays LF.
    const QString orders = QStringLiteral(KV_TEST_DATA "/forms/VclOrders.dfm");
    ASSERT_EQ(Tool({"form", "tobinary", "--resource", orders, Path("o.res")}).Code, 0);
    ASSERT_EQ(Tool({"form", "resave", Path("o.res"), Path("o2.res")}).Code, 0);
    EXPECT_EQ(Read(Path("o2.res")), Read(Path("o.res")));
    const QByteArray lf = Read(orders).replace("\r\n", "\n");
    Write(Path("lf.dfm"), lf);
    EXPECT_EQ(Tool({"form", "resave", Path("lf.dfm")}).Out, lf);
}

TEST_F(KvTool, CheckLoadReadsIntoLiveComponents)
{
    const QString orders = QStringLiteral(KV_TEST_DATA "/forms/VclOrders.dfm");
    const Result ok = Tool({"form", "check", "--load", orders});
    EXPECT_EQ(ok.Code, 0) << ok.Err.constData();
    // A cut stream is refused with its offset, and resave leaves no output behind.
    ASSERT_EQ(Tool({"form", "tobinary", orders, Path("o.bin")}).Code, 0);
    QByteArray bin = Read(Path("o.bin"));
    bin.chop(30);
    Write(Path("cut.bin"), bin);
    const Result cut = Tool({"form", "check", "--load", Path("cut.bin")});
    EXPECT_EQ(cut.Code, 1);
    EXPECT_TRUE(cut.Err.startsWith(Path("cut.bin").toUtf8() + ":offset ")) << cut.Err.constData();
    const Result resave = Tool({"form", "resave", Path("cut.bin"), Path("never.dfm")});
    EXPECT_EQ(resave.Code, 1);
    EXPECT_FALSE(QFile::exists(Path("never.dfm")));
}

// The demo is made by its generator: what is committed is what it writes, property order
// included, so that regenerating it changes nothing.
TEST_F(KvTool, TheDemoIsWhatItsGeneratorWrites)
{
    QProcess p;
    p.start(QStringLiteral(KV_MAKE_DEMO), {Dir.path()});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    const QStringList written = QDir(Dir.path()).entryList(QDir::Files);
    EXPECT_GE(written.size(), 8);
    for (const QString& name : written)
        EXPECT_TRUE(Read(Dir.filePath(name)) == Read(QStringLiteral(KV_DEMO_DIR "/") + name)) << name.toStdString();
}

// Every form command names the file and the place of a fault: line and column in a text form,
// also for faults only reading into live components finds, and the offset in a binary form.
TEST_F(KvTool, ErrorsNameTheFileAndThePlace)
{
    Write(Path("syntax.dfm"), "object F: TForm\r\n  Left = 1\r\n  Top 2\r\nend\r\n");
    const QByteArray twice = "object F: TForm\r\n  object A: TButton\r\n  end\r\n"
                             "  object B: TPanel\r\n    object A: TButton\r\n    end\r\n  end\r\nend\r\n";
    Write(Path("twice.dfm"), twice);
    const QByteArray binary = ObjectTextToBinary(twice);
    Write(Path("twice.bin"), binary);
    Write(Path("cut.bin"), binary.left(binary.size() - 5));
    const QByteArray secondA = QByteArray::number(binary.indexOf("\x07TButton", binary.indexOf("\x07TButton") + 1));
    const QList<QStringList> all = {{"totext"}, {"tobinary"}, {"resave"}, {"check", "--load"}};
    for (const QStringList& command : all) {
        SCOPED_TRACE(command.join(' ').toStdString());
        const auto error = [&](const char* file) {
            const Result r = Tool(QStringList{"form"} + command + QStringList{Path(file), Path("out")});
            EXPECT_EQ(r.Code, 1);
            EXPECT_FALSE(QFile::exists(Path("out")));
            return r.Err;
        };
        EXPECT_TRUE(error("syntax.dfm").contains(Path("syntax.dfm").toUtf8() + ":3:7: '=' expected"));
        EXPECT_TRUE(error("cut.bin").contains(Path("cut.bin").toUtf8() + ":offset " + QByteArray::number(binary.size() - 5)
                                              + ": Unexpected end of stream"));
        if (command.first() == QLatin1String("totext") || command.first() == QLatin1String("tobinary"))
            continue; // names are checked by reading into components
        EXPECT_TRUE(error("twice.dfm").contains(Path("twice.dfm").toUtf8() + ":5:5: Error creating A: A component named A "
                                                "already exists"));
        EXPECT_TRUE(error("twice.bin").contains(Path("twice.bin").toUtf8() + ":offset " + secondA + ": Error creating A"));
    }
    // A fault of an ancestor is placed in the ancestor.
    Write(Path("child.dfm"), "inherited F: TForm\r\n  Caption = 'x'\r\nend\r\n");
    const Result r = Tool({"form", "resave", "--ancestor", Path("twice.dfm"), Path("child.dfm")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.contains(Path("twice.dfm").toUtf8() + ":5:5: Error creating A")) << r.Err.constData();
}

// The package manager's commands on a copy of the demo project.
class KvToolRefs : public KvTool
{
protected:
    void SetUp() override
    {
        const QDir demo(QStringLiteral(KV_DEMO_DIR));
        for (const QString& name : demo.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(demo.filePath(name), Dir.filePath(name)));
    }
};

TEST_F(KvToolRefs, RefsPrintsEveryReferenceAndExitsByWhetherThereIsOne)
{
    const Result found = Tool({"refs", Path("KvDemo.dpr"), "--kind", "labels", "--pkg", "customer", "--id", "1"});
    EXPECT_EQ(found.Code, 0) << found.Err.toStdString();
    const QByteArray form = Path("KvDemoCustomer.dfm").toUtf8();
    EXPECT_EQ(found.Out, form + ":17: KvCForm:TKvCForm.MemoryLabel\n" + form + ":77: GbCustomer:TKvGroupBox.MemoryLabel\n");

    const Result none = Tool({"refs", Path("KvDemo.dpr"), "--kind", "labels", "--pkg", "Customer", "--id", "999"});
    EXPECT_EQ(none.Code, 1);
    EXPECT_TRUE(none.Out.isEmpty());
    EXPECT_EQ(Tool({"refs", Path("KvDemo.dpr"), "--kind", "tables", "--id", "1"}).Code, 2);
    EXPECT_EQ(Tool({"refs", Path("KvDemo.dpr"), "--kind", "labels", "--id", "1"}).Code, 2);
}

TEST_F(KvToolRefs, UnusedListsUseCountsAndFailsWhenAnItemIsUnused)
{
    const Result used = Tool({"unused", Path("KvDemo.dpr"), "--kind", "labels", "--pkg", "Customer"});
    EXPECT_EQ(used.Code, 0) << used.Err.toStdString();
    EXPECT_TRUE(used.Out.startsWith("(00001) PkgName: 'Customer' Id: 10\n"));
    EXPECT_TRUE(used.Out.endsWith("(00002) PkgName: 'Customer' Id: 1\n"));

    // Without LaCode's label, label 2 is no longer used.
    QByteArray form = Read(Path("KvDemoCustomer.dfm"));
    ASSERT_TRUE(form.contains("      MemoryLabel.PkgName = 'Customer'\r\n      MemoryLabel.Id = 2\r\n"));
    form.replace("      MemoryLabel.PkgName = 'Customer'\r\n      MemoryLabel.Id = 2\r\n", "");
    Write(Path("KvDemoCustomer.dfm"), form);
    const Result unused = Tool({"unused", Path("KvDemo.dpr"), "--kind", "labels", "--pkg", "Customer", "--json"});
    EXPECT_EQ(unused.Code, 1) << unused.Err.toStdString();
    EXPECT_TRUE(unused.Out.contains("\"unused\": 1")) << unused.Out.toStdString();
    EXPECT_TRUE(unused.Out.contains("\"count\": 0,\n            \"exists\": true,\n            \"id\": \"2\""));
    EXPECT_EQ(Tool({"unused", Path("KvDemo.dpr"), "--kind", "labels", "--pkg", "Nowhere"}).Code, 1);
}
