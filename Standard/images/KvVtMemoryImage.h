#pragma once

#include "images/KvImagesList.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class TKvMemoryImage;
class TKvPkgImages;
class TKvPkgImagesImage;

namespace Ui {
class TFrMemoryImage;
}

// The image picker: chooses an images package and an image of it for one image reference, or
// none, or the reference's default. Adds, modifies and deletes images of the package shown.
class TFrMemoryImage : public QDialog
{
    Q_OBJECT

public:
    explicit TFrMemoryImage(QWidget* Parent = nullptr);
    ~TFrMemoryImage() override;

    // The reference edited; set before Execute.
    TKvMemoryImage* FMemoryImage = nullptr;

    // 1 when confirmed (the reference then holds the choice), 2 otherwise.
    int Execute();
    // Removes the cell of Item and the image itself, without asking.
    void DeleteItem(TKvPkgImagesImage* Item);

    TKvPkgImages* Pkg() const { return FPkg; }
    TKvImagesModel* Model() const { return FModel; }
    QMenu* PopupMenu() const { return FMenu->Menu(); }
    Ui::TFrMemoryImage* ui() const { return FUi.get(); }

    void done(int Result) override;

private:
    void PkgChange();
    void IdChange();
    void ChangeState();
    void UpdateInfo();
    void Modified();
    void SaveShown();
    void RowClicked();
    void SelectRow(int Row);
    void AddModify(bool Modify);
    void DeleteRow(int Row);
    void ProtectAll(bool Value);

    std::unique_ptr<Ui::TFrMemoryImage> FUi;
    TKvImagesModel* FModel;
    TKvImagesMenu* FMenu;
    QPointer<TKvPkgImages> FPkg;
    bool FSelecting = false;
};
