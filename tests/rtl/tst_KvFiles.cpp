#include "KvFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray Slurp(const QString& Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Put(const QString& Path, const QByteArray& Data)
{
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Data);
}

QStringList Entries(const QString& Dir)
{
    return QDir(Dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

struct HookGuard
{
    ~HookGuard() { KvSetWriteHook({}); }
};

} // namespace

TEST(KvFiles, FailedWriteKeepsTheOldFileAndRemovesTheTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    Put(path, "old content");
    HookGuard guard;
    KvSetWriteHook([](qint64 Written) { return Written > 0 ? ENOSPC : 0; });
    try {
        KvWriteFile(path, QByteArray(3 << 20, 'x'));
        FAIL() << "a full disk must raise";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, ENOSPC);
        EXPECT_TRUE(e.Message.startsWith(path + QStringLiteral(": "))) << qPrintable(e.Message);
        EXPECT_TRUE(e.Message.contains(QStringLiteral("No space left on device"))) << qPrintable(e.Message);
    }
    EXPECT_EQ(Slurp(path), "old content");
    EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("out.txt")});
}

TEST(KvFiles, ReplacesRegularFilesWholeKeepingModeAndLinks)
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real.dfm"));
    const QString link = dir.filePath(QStringLiteral("link.dfm"));
    Put(real, "old");
    ASSERT_EQ(chmod(QFile::encodeName(real).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(real, link));
    KvWriteFile(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Slurp(real), "new");
    struct stat st{};
    ASSERT_EQ(stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    KvWriteFile(dir.filePath(QStringLiteral("fresh.dfm")), "");
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("fresh.dfm"))));
    EXPECT_THROW(KvWriteFile(dir.path(), "x"), EInOutError);
    EXPECT_THROW(KvWriteFile(dir.filePath(QStringLiteral("no/such/folder.dfm")), "x"), EInOutError);
}

TEST(KvFiles, PipesAndDevicesAreWrittenAsStreamsNeverReplaced)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray received;
    std::thread reader([&] { received = KvReadFile(fifo); });
    KvWriteFile(fifo, "through the pipe");
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    struct stat st{};
    ASSERT_EQ(lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("pipe")});
}

TEST(KvFiles, ReadsAreCapped)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    Put(path, QByteArray(1000, 'a'));
    EXPECT_EQ(KvReadFile(path, 1000).size(), 1000);
    try {
        KvReadFile(path, 999);
        FAIL() << "over the limit must raise";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message, path + QStringLiteral(": file too large (the limit is 999 bytes; KV_MAX_FILE_SIZE sets it)"));
    }
    // An endless device stops at the cap instead of filling memory.
    EXPECT_THROW(KvReadFile(QStringLiteral("/dev/zero"), 1 << 20), EInOutError);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const auto oldPipeHandler = signal(SIGPIPE, SIG_IGN);
    std::thread writer([&] {
        const QByteArray block(4096, '\0');
        while (write(fds[1], block.constData(), size_t(block.size())) > 0) {
        }
        close(fds[1]);
    });
    EXPECT_THROW(KvReadDescriptor(fds[0], QStringLiteral("standard input"), 100000), EInOutError);
    close(fds[0]); // the writer gets EPIPE and ends
    writer.join();
    signal(SIGPIPE, oldPipeHandler);
    EXPECT_THROW(KvReadFile(dir.filePath(QStringLiteral("missing"))), EInOutError);
    EXPECT_THROW(KvReadFile(dir.path()), EInOutError);
}

// A save killed half way leaves its temporary; the next load in that folder removes it.
TEST(KvFiles, TemporaryOfACrashedSaveIsRemovedOnTheNextLoad)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.kvstr"));
    Put(path, "old");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        KvSetWriteHook([](qint64 Written) {
            if (Written > 0)
                _exit(0); // dies mid-write as a killed process would
            return 0;
        });
        try {
            KvWriteFile(path, QByteArray(4 << 20, 'x'));
        } catch (...) {
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_EQ(Entries(dir.path()).size(), 2) << qPrintable(Entries(dir.path()).join(u' '));
    EXPECT_EQ(KvReadFile(path), "old");
    EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("big.kvstr")});
}

// Only a link below the folder can lead outside it; the folder may itself be reached by a link.
TEST(KvFiles, LinksBelowAFolderAreFollowedToTellWhetherTheyLeaveIt)
{
    QTemporaryDir temp;
    const QDir root(temp.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("real/sub")) && root.mkpath(QStringLiteral("outside")));
    Put(root.filePath(QStringLiteral("real/sub/A.dfm")), "x");
    Put(root.filePath(QStringLiteral("outside/B.dfm")), "x");
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("real")), root.filePath(QStringLiteral("project"))));
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("outside")), root.filePath(QStringLiteral("real/out"))));
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("real/sub/A.dfm")), root.filePath(QStringLiteral("real/C.dfm"))));
    for (const QString& folder : {root.filePath(QStringLiteral("real")), root.filePath(QStringLiteral("project"))}) {
        const auto outside = [&folder](const char* Name) {
            return KvLinkLeadsOutside(folder, folder + QLatin1Char('/') + QLatin1String(Name));
        };
        EXPECT_FALSE(outside("sub/A.dfm")) << folder.toStdString();
        EXPECT_FALSE(outside("C.dfm"));
        EXPECT_FALSE(outside("Missing.dfm"));
        EXPECT_TRUE(outside("out/B.dfm"));
        EXPECT_TRUE(outside("out/../out/B.dfm"));
        EXPECT_FALSE(outside("sub/../sub/A.dfm"));
        EXPECT_FALSE(KvLinkLeadsOutside(folder, root.filePath(QStringLiteral("outside/B.dfm"))));
    }
}
