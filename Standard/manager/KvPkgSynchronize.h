#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class TKvPkgInfo;

// Brings a package and package files of its kind into line, item by item, without a window:
// "from" takes the items of one file into the package, "to" pushes the package's items into
// files. Items are matched by id (images, labels, messages, texts) or by name (display sets).

struct TKvSyncOptions
{
    bool AddItems = false;    // items the target lacks are added, copied from the source
    bool DeleteItems = false; // target items the source lacks are deleted
    bool SyncSystem = false;  // display and language packages: their "System" part
    bool SyncUser = false;    // their "User" part
    bool SyncSets = false;    // display packages: the colour, font and background sets
};

// The kinds a synchronizer works on, told apart by class.
enum class TKvSyncKind { None, Images, Strings, Display, Language };
TKvSyncKind KvSyncKindOf(const TKvPkgInfo* Pkg);
// The package file extension with its point: the package's own for images and strings,
// ".dis" for display and ".lan" for language packages.
QString KvSyncExt(const TKvPkgInfo* Pkg);

// Progress: Start with the number of items a merge will visit, then Step once per item.
using TKvSyncStep = std::function<void()>;
using TKvSyncStart = std::function<void(int Maximum)>;

// The number of items a merge visits, for a progress bar: both packages' parts that are merged.
int KvSyncItemCount(const TKvPkgInfo* Source, const TKvPkgInfo* Target, const TKvSyncOptions& Options);
// Merges Source into Target (packages of the same class). Items present in both stay as the
// target has them.
void KvSyncMerge(const TKvPkgInfo* Source, TKvPkgInfo* Target, const TKvSyncOptions& Options,
                 const TKvSyncStep& Step = {});

// "From": the file's items into Master, which is then stored (its own file, or the designer
// told). A file that cannot be read raises and leaves Master as it was.
void KvSynchronizeFrom(TKvPkgInfo* Master, const QString& FileName, const TKvSyncOptions& Options,
                       const TKvSyncStart& Start = {}, const TKvSyncStep& Step = {});
// "To": Master's items into each file, from the last listed to the first, each written back.
// Gives the files that failed with their errors; the others are done.
struct TKvSyncFailure
{
    QString FileName;
    QString Error;
};
// Begin is told each file once it is read, Done each file written.
QList<TKvSyncFailure> KvSynchronizeTo(const TKvPkgInfo* Master, const QStringList& FileNames,
                                      const TKvSyncOptions& Options, const TKvSyncStart& Start = {},
                                      const TKvSyncStep& Step = {},
                                      const std::function<void(const QString&)>& Done = {},
                                      const std::function<void(const QString&)>& Begin = {});
