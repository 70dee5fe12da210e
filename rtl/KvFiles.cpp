#include "KvFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

const QString TempTag = QStringLiteral(".kvtmp-");

std::atomic<qint64>& ReadLimitSetting()
{
    static std::atomic<qint64> limit = [] {
        const QByteArray env = qgetenv("KV_MAX_FILE_SIZE").trimmed().toUpper();
        if (env.isEmpty())
            return KvDefaultReadLimit;
        qint64 scale = 1;
        QByteArray digits = env;
        if (env.endsWith('K') || env.endsWith('M') || env.endsWith('G')) {
            scale = env.endsWith('K') ? 1024 : env.endsWith('M') ? 1024 * 1024 : 1024 * 1024 * 1024;
            digits.chop(1);
        }
        bool ok = false;
        const qint64 n = digits.toLongLong(&ok);
        return ok && n > 0 && n <= (qint64(1) << 50) ? n * scale : KvDefaultReadLimit;
    }();
    return limit;
}

QMutex HookLock;
std::function<int(qint64)>& WriteHook()
{
    static std::function<int(qint64)> hook;
    return hook;
}

QString SystemReason(int Error) { return QString::fromLocal8Bit(strerror(Error)); }

[[noreturn]] void Fail(const QString& FileName, const QString& What, int Error)
{
    throw EInOutError(FileName, QStringLiteral("%1: %2").arg(What, SystemReason(Error)), Error);
}

QString SizeText(qint64 Bytes)
{
    if (Bytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MiB").arg(Bytes / (1024 * 1024));
    return QStringLiteral("%1 bytes").arg(Bytes);
}

[[noreturn]] void TooLarge(const QString& FileName, qint64 Limit)
{
    throw EInOutError(FileName, QStringLiteral("file too large (the limit is %1; KV_MAX_FILE_SIZE sets it)").arg(SizeText(Limit)));
}

// Removes the temporaries that dead processes left in Dir. Listing a folder for every file of a
// large project would cost more than the leftovers, so each folder is swept once per process.
void SweepLeftovers(const QString& Dir)
{
    static QMutex lock;
    static QSet<QString> swept;
    {
        QMutexLocker locker(&lock);
        if (swept.contains(Dir))
            return;
        swept.insert(Dir);
    }
    const QStringList names = QDir(Dir).entryList({QStringLiteral(".*") + TempTag + QLatin1Char('*')},
                                                  QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const qsizetype at = name.lastIndexOf(TempTag);
        const QString rest = name.mid(at + TempTag.size());
        bool ok = false;
        const qint64 pid = rest.section(QLatin1Char('-'), 0, 0).toLongLong(&ok);
        if (!ok || pid <= 0 || pid == getpid())
            continue;
        if (kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue; // still running, or not ours to judge
        unlink(QFile::encodeName(QDir(Dir).filePath(name)).constData());
    }
}

void SweepBeside(const QString& FileName)
{
    SweepLeftovers(QFileInfo(FileName).absolutePath());
}

void WriteAll(int Fd, const QString& Name, const QByteArray& Data)
{
    std::function<int(qint64)> hook;
    {
        QMutexLocker locker(&HookLock);
        hook = WriteHook();
    }
    const char* p = Data.constData();
    qint64 left = Data.size();
    qint64 written = 0;
    while (left > 0) {
        if (hook)
            if (const int error = hook(written))
                Fail(Name, QStringLiteral("cannot write"), error);
        const ssize_t n = ::write(Fd, p, size_t(qMin<qint64>(left, 1 << 20)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(Name, QStringLiteral("cannot write"), errno);
        }
        if (n == 0)
            Fail(Name, QStringLiteral("cannot write"), ENOSPC);
        p += n;
        left -= n;
        written += n;
    }
}

// Closes a descriptor on every way out.
struct TFd
{
    int Fd = -1;
    ~TFd()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
    int Release() { return std::exchange(Fd, -1); }
};

} // namespace

EInOutError::EInOutError(QString FileName, QString Reason, int ErrorCode)
    : Exception(QStringLiteral("%1: %2").arg(FileName, Reason)), FileName(std::move(FileName)), Reason(std::move(Reason)),
      ErrorCode(ErrorCode)
{
}

qint64 KvReadLimit() { return ReadLimitSetting(); }

void KvSetReadLimit(qint64 Bytes) { ReadLimitSetting() = Bytes > 0 ? Bytes : KvDefaultReadLimit; }

void KvSetWriteHook(std::function<int(qint64)> Hook)
{
    QMutexLocker locker(&HookLock);
    WriteHook() = std::move(Hook);
}

QByteArray KvReadDescriptor(int Fd, const QString& Name, qint64 Limit)
{
    if (Limit < 0)
        Limit = KvReadLimit();
    struct stat st{};
    if (fstat(Fd, &st) != 0)
        Fail(Name, QStringLiteral("cannot read"), errno);
    if (S_ISDIR(st.st_mode))
        throw EInOutError(Name, QStringLiteral("cannot read: it is a folder"), EISDIR);
    QByteArray data;
    const bool regular = S_ISREG(st.st_mode);
    if (regular) {
        if (st.st_size > Limit)
            TooLarge(Name, Limit);
        data.reserve(qsizetype(st.st_size) + 4096); // room to see the end without growing
    }
    constexpr qint64 Chunk = 1 << 20;
    for (;;) {
        const qint64 free = data.capacity() - data.size();
        // One byte past the limit tells "exactly the limit" from "more".
        const qint64 room = qMin<qint64>(regular && free > 0 ? free : Chunk, Limit + 1 - data.size());
        if (room <= 0)
            TooLarge(Name, Limit);
        const qsizetype at = data.size();
        data.resize(at + qsizetype(room));
        const ssize_t n = ::read(Fd, data.data() + at, size_t(room));
        if (n < 0) {
            data.resize(at);
            if (errno == EINTR)
                continue;
            Fail(Name, QStringLiteral("cannot read"), errno);
        }
        data.resize(at + n);
        if (n == 0)
            break;
    }
    if (data.size() > Limit)
        TooLarge(Name, Limit);
    if (!regular)
        data.squeeze();
    return data;
}

QByteArray KvReadFile(const QString& FileName, qint64 Limit)
{
    SweepBeside(FileName);
    TFd fd{::open(QFile::encodeName(FileName).constData(), O_RDONLY | O_CLOEXEC)};
    if (fd.Fd < 0)
        Fail(FileName, QStringLiteral("cannot open"), errno);
    return KvReadDescriptor(fd.Fd, FileName, Limit);
}

QString KvCanonicalPath(const QString& Path)
{
    QString existing = QDir::cleanPath(QFileInfo(Path).absoluteFilePath());
    QString rest;
    for (;;) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty())
            return rest.isEmpty() ? canonical : QDir::cleanPath(canonical + QLatin1Char('/') + rest);
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0)
            return QDir::cleanPath(QFileInfo(Path).absoluteFilePath());
        rest = rest.isEmpty() ? existing.mid(slash + 1) : existing.mid(slash + 1) + QLatin1Char('/') + rest;
        existing = existing.left(slash);
    }
}

bool KvIsInsideFolder(const QString& Folder, const QString& Path)
{
    QString folder = KvCanonicalPath(Folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return KvCanonicalPath(Path).startsWith(folder);
}

namespace {

// Path is Folder followed by names of existing entries none of which is a link: then it stays
// inside Folder wherever Folder itself leads, and nothing needs resolving (a project's forms are
// checked one by one, and resolving both paths each time costs more than reading the form).
bool PlainBelow(const QString& Folder, const QString& Path)
{
    if (!Path.startsWith(Folder))
        return false;
    QByteArray at = QFile::encodeName(Folder.chopped(1));
    for (const QStringView name : QStringView(Path).sliced(Folder.size()).split(QLatin1Char('/'))) {
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
            return false;
        at += '/' + QFile::encodeName(name.toString());
        struct stat st{};
        if (::lstat(at.constData(), &st) != 0 || S_ISLNK(st.st_mode))
            return false;
    }
    return true;
}

} // namespace

bool KvLinkLeadsOutside(const QString& Folder, const QString& Path)
{
    const QString folder = QDir::cleanPath(QFileInfo(Folder).absoluteFilePath()) + QLatin1Char('/');
    const QString path = QFileInfo(Path).absoluteFilePath();
    return QDir::cleanPath(path).startsWith(folder) && !PlainBelow(folder, path) && !KvIsInsideFolder(Folder, Path);
}

void KvWriteDescriptor(int Fd, const QString& Name, const QByteArray& Data) { WriteAll(Fd, Name, Data); }

void KvWriteFile(const QString& FileName, const QByteArray& Data)
{
    QString target = FileName;
    const QByteArray given = QFile::encodeName(FileName);
    struct stat st{};
    bool exists = ::stat(given.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        throw EInOutError(FileName, QStringLiteral("cannot write: it is a folder"), EISDIR);
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or pipe takes the data as a stream; replacing it would destroy it.
        TFd fd{::open(given.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY)};
        if (fd.Fd < 0)
            Fail(FileName, QStringLiteral("cannot open"), errno);
        WriteAll(fd.Fd, FileName, Data);
        if (::close(fd.Release()) != 0)
            Fail(FileName, QStringLiteral("cannot write"), errno);
        return;
    }
    if (exists) {
        const QString canonical = QFileInfo(FileName).canonicalFilePath();
        if (!canonical.isEmpty())
            target = canonical; // replace a link's target, not the link
    }
    const QFileInfo info(target);
    const QString dir = info.absolutePath();
    SweepLeftovers(dir);

    const QString prefix = QStringLiteral("%1/.%2%3%4-").arg(dir, info.fileName(), TempTag).arg(getpid());
    QByteArray temp;
    TFd fd;
    for (int attempt = 0; fd.Fd < 0; ++attempt) {
        temp = QFile::encodeName(prefix + QString::number(QRandomGenerator::global()->generate(), 36));
        fd.Fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd.Fd < 0 && (errno != EEXIST || attempt > 100))
            Fail(FileName, QStringLiteral("cannot create a file in %1").arg(QDir::toNativeSeparators(dir)), errno);
    }
    try {
        if (exists)
            fchmod(fd.Fd, st.st_mode & 07777); // keep the old file's permissions
        WriteAll(fd.Fd, FileName, Data);
        if (fsync(fd.Fd) != 0 && errno != EINVAL)
            Fail(FileName, QStringLiteral("cannot write"), errno);
        if (::close(fd.Release()) != 0)
            Fail(FileName, QStringLiteral("cannot write"), errno);
        if (::rename(temp.constData(), QFile::encodeName(target).constData()) != 0)
            Fail(FileName, QStringLiteral("cannot replace"), errno);
    } catch (...) {
        if (fd.Fd >= 0)
            ::close(fd.Release());
        ::unlink(temp.constData());
        throw;
    }
}
