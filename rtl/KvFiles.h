#pragma once

#include "SysUtils.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Whole-file reading with a size cap and safe whole-file writing, shared by every layer that
// touches files.

// A file that cannot be opened, read or written. Message is "FILE: Reason".
class EInOutError : public Exception
{
public:
    EInOutError(QString FileName, QString Reason, int ErrorCode = 0);
    QString FileName;
    QString Reason;
    int ErrorCode; // errno, 0 when the fault is not the system's
};

// What a whole-file read takes at most: 1 GiB unless the environment variable KV_MAX_FILE_SIZE
// gives another number of bytes (a K, M or G suffix multiplies by 1024s).
constexpr qint64 KvDefaultReadLimit = qint64(1) << 30;
qint64 KvReadLimit();
void KvSetReadLimit(qint64 Bytes);

// Reads a file, a device or a pipe whole; more than Limit bytes (KvReadLimit() when negative)
// raise "file too large" without reading on. Leftover temporaries of crashed saves beside the
// file are removed first.
QByteArray KvReadFile(const QString& FileName, qint64 Limit = -1);
// The same for an open descriptor (standard input); Name is used in errors.
QByteArray KvReadDescriptor(int Fd, const QString& Name, qint64 Limit = -1);

// Writes Data as the whole content of FileName. A regular file (or a new one) is written to a
// hidden temporary beside it, synced and renamed over it, so it is replaced whole or not at all;
// a failed write removes the temporary. A device or pipe is written to as a stream, never
// replaced. A symbolic link is followed and its target replaced.
//
// Temporaries are named ".NAME.kvtmp-PID-RANDOM". One left by a process that died mid-save
// is removed by the next read or write in its folder (once per folder and process).
void KvWriteFile(const QString& FileName, const QByteArray& Data);
void KvWriteDescriptor(int Fd, const QString& Name, const QByteArray& Data);

// Path made absolute with every link followed; for a path that does not exist yet, its deepest
// existing folder is resolved and the rest appended.
QString KvCanonicalPath(const QString& Path);
// Path lies within Folder once links are followed in both, so that a link inside a project
// cannot lead a read or a save outside it.
bool KvIsInsideFolder(const QString& Folder, const QString& Path);
// Path names a place inside Folder, but a link takes it outside.
bool KvLinkLeadsOutside(const QString& Folder, const QString& Path);

// For tests: called before each write with the bytes written so far to this file; a non-zero
// result fails that write with that errno. An empty function removes the hook.
void KvSetWriteHook(std::function<int(qint64 Written)> Hook);
