#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class Exception;
class TKvPkgInfo;

// What the package editors share: dialogs that keep their bounds while the host runs, and the
// package file commands of their button rows.

// Restored where its class was last closed when first shown; saved whenever it hides.
class TKvKeptBoundsDialog : public QDialog
{
    Q_OBJECT

public:
    using QDialog::QDialog;

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    bool FRestored = false;
};

void KvShowError(const Exception& E);

// Where a package's file dialogs open: the folder of its file, else the project's.
QString KvPkgStartFolder(const TKvPkgInfo* Pkg);

// An open (Save false) or save dialog for a file; false when the user cancels.
bool KvPkgAskFile(QWidget* Parent, bool Save, const QString& Title, const QString& Filter, const QString& DefaultExt,
                  QString& FileName, const QString& InitialDir = QString());

// Each reports its own errors and gives true when the package changed or was written.
// BeforeLoad runs just before a load replaces the content (once the user has chosen to go on),
// for an editor whose rows point into it.
// SaveFile of a file package (nothing for one in the form).
bool KvPkgUpdateFile(TKvPkgInfo* Pkg);
// The load/save dialog on Pkg; true when closed with Ok.
bool KvPkgLoadSave(QWidget* Parent, TKvPkgInfo* Pkg, bool Load, const std::function<void()>& BeforeLoad = {});
// A file of Pkg's kind chosen in an open or save dialog (Filter as "Files Setup (*.stp)|*.stp|...").
// A load marks the package modified and tells its listeners.
bool KvPkgLoadFrom(QWidget* Parent, TKvPkgInfo* Pkg, const QString& Filter,
                   const std::function<void()>& BeforeLoad = {});
bool KvPkgSaveTo(QWidget* Parent, TKvPkgInfo* Pkg, const QString& Filter);
