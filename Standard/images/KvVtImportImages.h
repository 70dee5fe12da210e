#pragma once

#include "common/KvPkgDialogs.h"
#include "images/KvImagesList.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class TKvPkgImages;
class TKvPkgImagesImage;

namespace Ui {
class TFrImportImages;
class TFrImportDlg;
}

// The first id above N that Pkg does not hold, looking up to 1000000; past that N + 1 unchecked,
// and 1000001 when every id up to 1000000 is taken.
int KvImportNextFreeId(const TKvPkgImages* Pkg, int N);
// Adds copies of Images to Target from StartId on (the next free id when StartId is taken),
// each at the next free id after the previous; the ids given, in order.
QList<int> KvImportImages(TKvPkgImages* Target, const QList<const TKvPkgImagesImage*>& Images, int StartId);

// Asks for the first id of an import.
class TFrImportDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TFrImportDlg(QWidget* Parent = nullptr);
    ~TFrImportDlg() override;
    Ui::TFrImportDlg* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrImportDlg> FUi;
};

// Copies chosen images of another images package file into the package being edited.
class TFrImportImages : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    explicit TFrImportImages(QWidget* Parent = nullptr);
    ~TFrImportImages() override;

    // The package the images go to; set before Execute.
    QPointer<TKvPkgImages> PkgAssign;
    // The source package, read from a file.
    TKvPkgImages* PkgImages;

    // The modal result: 1 when closed with Ok.
    int Execute();

    // The source file of the last import while the package is loaded.
    static QString LastFileName();
    static void SetLastFileName(const QString& Value);

    TKvImagesModel* Model() const { return FModel; }
    Ui::TFrImportImages* ui() const { return FUi.get(); }

    void done(int Result) override;

private:
    void LoadList();
    void LoadClick();
    void LoadFromClick();
    // Asks for the start id and imports the selected images; false when the developer backs out.
    bool Import();
    void AdjustComponents();
    bool eventFilter(QObject* Watched, QEvent* Event) override;

    std::unique_ptr<Ui::TFrImportImages> FUi;
    TKvImagesModel* FModel;
    TKvImagesMenu* FMenu;
};
