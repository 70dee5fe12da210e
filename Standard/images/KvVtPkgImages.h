#pragma once

#include "DesignWindows.h"
#include "images/KvImagesList.h"
#include "SysUtils.h"

#include <QPointer>

#include <memory>

class QAction;
class QActionGroup;
class QEventLoop;
class QMenu;
class QPrinter;
class TKvPkgImages;
class TKvPkgImagesImage;

namespace Ui {
class TFrPkgImages;
}

// Prints the images report on Printer: a heading on every page, then one cell per image with
// a picture (its text at the top, the picture stretched below), row by row. The number of pages.
int KvPrintImagesReport(QPrinter& Printer, const TKvPkgImages* Pkg);

// The editor of one images package: its images as cells of a multi-column list.
class TFrPkgImages : public TDesignWindow
{
    Q_OBJECT

public:
    explicit TFrPkgImages(QWidget* parent = nullptr);
    ~TFrPkgImages() override;

    // Set by the opener before Execute; Memory by the display editor, whose caller tells the
    // designer itself.
    QPointer<TKvPkgImages> PkgImages;
    bool Memory = false;

    // Shows the editor modally and returns when it is closed.
    void Execute();
    // Removes the image's cell and frees the image, as a confirmed delete does.
    void DeleteItem(TKvPkgImagesImage* Item);

    void UpdateInfo();
    void UpdateFile();
    void LoadImages();
    void PkgChange();
    void IdChange();
    bool ValidPkg(const QString& Name) const;
    void ChangeState();
    bool IsFilePkg() const;
    void Modified();
    void AdjustComponents();

    TKvImagesModel* Model() const { return FModel; }
    QMenu* PopupMenu() const { return FMenu->Menu(); }
    Ui::TFrPkgImages* ui() const { return FUi.get(); }

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void moveEvent(QMoveEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void Prepare();
    void RowClicked();
    void SelectRow(int Row);
    // Modified unless the package keeps the change in its own file.
    void ModifiedUnlessFile();
    void ItemsChanged();
    void StoreBounds();
    void RecordBounds();
    void Redraw();

    void AddImage();
    void ModifyImage();
    void DeleteSelected();
    void DeleteRow(int Row);
    void ClearAll();
    void LoadSave(bool Load);
    void LoadFrom();
    void SaveTo();
    void Report();
    void ProtectAll(bool Value);
    void ImportImages();
    void UpdateSystemImages();

    std::unique_ptr<Ui::TFrPkgImages> FUi;
    TKvImagesModel* FModel;
    TKvImagesMenu* FMenu;
    bool FSelecting = false;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FMaximized = false;
    QEventLoop* FLoop = nullptr;
    QMetaObject::Connection FAfterLoad;
};

// Opens the editor on Pkg (freed when it closes); nothing without one.
void KvEditPkgImages(TKvPkgImages* Pkg);
