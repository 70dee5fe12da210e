#pragma once

#include "KvPackages.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <memory>

class QStringListModel;

namespace Ui {
class TFrPkgLoadSave;
}

// What the load/save dialog knows of a package kind; kept apart from the window so that it can
// be checked without one.

// "Load PkgStrings", "Save Access", ...; empty for a kind the dialog does not know.
QString KvPkgLoadSaveTitle(const TKvPkgInfo* Pkg, bool Load);
// The description stored in FileName, read with the reader of the package's kind (only the
// file's header is read). Raises when the file cannot be read.
QString KvPkgReadFileDescription(const TKvPkgInfo* Pkg, const QString& FileName);
// The open dialog's filter for the key row, or empty when the kind keeps the default one.
QString KvPkgLoadSaveKeyFilter(const TKvPkgInfo* Pkg);
// A file chosen for the key row: its bare name when it lies in the installed packages folder
// InstallPath (compared with a trailing separator and without regard to case), else its full
// path.
QString KvPkgKeyFileName(const QString& Chosen, const QString& InstallPath);

// Loads a package from, or saves it to, a package file of the application folder.
class TFrPkgLoadSave : public QDialog
{
    Q_OBJECT

public:
    explicit TFrPkgLoadSave(QWidget* parent = nullptr);
    ~TFrPkgLoadSave() override;

    // Set by the caller before Execute.
    TKvPkgInfo* Pkg = nullptr;
    bool ModeLoadSave = true; // true: load
    bool OnlyDescription = false;
    // Set by the dialog: the full path of the file chosen.
    QString FileNameLoad;

    // 1 for Ok, 2 for Cancel.
    int Execute();
    QString GetTitle() const;

    // Ok closes the window only when the load or save it asks for is carried out.
    void done(int Result) override;

private:
    void Prepare();
    void FileSelected();
    void SearchKey();
    bool Confirm();
    bool ConfirmLoad(TKvPkgInfo::TKvRegisterInitMode Mode);
    bool ConfirmSave(TKvPkgInfo::TKvRegisterInitMode Mode);
    bool HasKeyRow() const;

    std::unique_ptr<Ui::TFrPkgLoadSave> ui;
    QStringListModel* FFiles;
};

// The dialog a caller has open, if any.
extern QPointer<TFrPkgLoadSave> FrPkgLoadSave;
