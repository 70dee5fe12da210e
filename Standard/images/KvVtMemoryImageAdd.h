#pragma once

#include "SysUtils.h"
#include "common/KvPkgDialogs.h"

#include <QPointer>

#include <memory>

class TKvPkgImages;
class TKvPkgImagesImage;

namespace Ui {
class TFrMemoryImageAdd;
}

// Edits one image before it is added to a package or written back into it: a picture from a
// file or the clipboard, the protected flag, and the outlines and resize marks in the region
// designer. Works on a copy in a package of its own, so that Cancel leaves the package alone.
class TFrMemoryImageAdd : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    explicit TFrMemoryImageAdd(QWidget* Parent = nullptr);
    ~TFrMemoryImageAdd() override;

    // Set before Execute: the package, the proposed id (add) or the image's id (modify).
    QPointer<TKvPkgImages> Pkg;
    int Id = 0;
    bool Modify = false;
    // Out: the region designer's stored settings changed, so the package changed even when the
    // dialog was cancelled.
    bool ModifiedWindowPos = false;

    // True when the developer confirmed a change that was written to Pkg; Id is then the id
    // confirmed.
    bool Execute();

    TKvPkgImagesImage* LocalImage() const { return FLocalImage; }
    bool IsModified() const { return FModified; }
    Ui::TFrMemoryImageAdd* ui() const { return FUi.get(); }

    void done(int Result) override;

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void ChangeState();
    void LoadImage();
    void ShowPicture();
    // Writes the working copy to Pkg; raises, with Pkg unchanged, when it cannot.
    void Store();

    void LoadClick();
    void SaveClick();
    void ClearClick();
    void CopyClick();
    void CutClick();
    void PasteClick();
    void MaskClick();

    std::unique_ptr<Ui::TFrMemoryImageAdd> FUi;
    TKvPkgImages* LocalPkg;
    TKvPkgImagesImage* FLocalImage = nullptr;
    int FOldId = 0;
    bool FModified = false;
    int FFilterIndex = 1;
    QImage FPicture;
};
