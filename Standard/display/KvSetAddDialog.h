#pragma once

#include "KvSetsList.h"

#include "Controls.h"

#include <QDialog>
#include <QFont>
#include <QImage>

#include <memory>

class QAbstractButton;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class TKvCApplication;
class TKvMemoryImage;
class TKvMemoryLabel;
class TKvPkgDisplay;

namespace Ui {
class TFrSetsColorAdd;
class TFrSetsFontAdd;
class TFrSetsBackGroundAdd;
}

// The colour as the colour dialog hands it over, as a $00BBGGRR value.
qint32 KvColorOfRgb(QRgb Rgb);
// The package's user colours after the colour dialog showed the first 16 of them as its custom
// colours and the developer changed Custom: the changed slots replace them, the rest stay.
QList<QRgb> KvMergeUserColors(const QList<QRgb>& Stored, const QList<QRgb>& Custom);

// A colour combo box with its sample and its "..." button: the box lists the colour names and
// the package's user colours; typing a name shows it in the sample, leaving the box writes the
// sample's colour back as text, and the button opens the colour dialog.
class TKvColorChooser : public QObject
{
    Q_OBJECT

public:
    TKvColorChooser(QComboBox* Box, QFrame* Sample, QAbstractButton* Button, TKvPkgDisplay* Pkg);

    TColor Color() const { return FColor; }
    // Shows the colour's name, or its text when no entry of the box has it.
    void SetColor(TColor Value);

signals:
    void Changed();

private:
    void TextEdited(const QString& Text);
    void ShowSample();
    void PickColor();
    bool eventFilter(QObject* Watched, QEvent* Event) override;

    QComboBox* FBox;
    QFrame* FSample;
    TKvPkgDisplay* FPkg;
    TColor FColor{KvColors::clWhite};
};

// The controls every set dialog has.
struct TKvSetAddControls
{
    QLineEdit* EdName = nullptr;
    QLineEdit* EdDescrip = nullptr;
    QLineEdit* EdDescripID = nullptr;
    QLabel* LabRefID = nullptr;
    QAbstractButton* SpeedButton5 = nullptr;
    QAbstractButton* BtOk = nullptr;
    QAbstractButton* BtCancel = nullptr;
};

// Adds a set to the display package or modifies one: name, description and describing label,
// and what the kind holds. OK writes the set and keeps the dialog open when that fails.
class TKvSetAddDialog : public QDialog
{
    Q_OBJECT

public:
    ~TKvSetAddDialog() override;

    bool FModify = false;
    TKvCApplication* FCApplication = nullptr;

    // In modify mode the set edited, set before Execute; in add mode the set made by OK.
    TKvDisplaySet* Set() const { return FSet; }
    void SetSet(TKvDisplaySet* Value) { FSet = Value; }
    TKvMemoryLabel* MemoryLabel() const { return FMemoryLabel; }

    // 1 when the set was written, 2 otherwise.
    int Execute();
    void UpdateRefID();

    void done(int Result) override;

protected:
    TKvSetAddDialog(TKvSetKind Kind, QWidget* Parent);
    void Bind(const TKvSetAddControls& Controls);
    TKvPkgDisplay* Pkg() const;
    // Fills what the kind holds: from the set in modify mode, the defaults otherwise.
    virtual void Prepare() = 0;
    // Writes what the kind holds into Set; raises what the set's setters raise.
    virtual void Store(TKvDisplaySet* Set) = 0;

    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

    TKvSetKind FKind;
    TKvSetAddControls C;
    TKvDisplaySet* FSet = nullptr;
    TKvMemoryLabel* FMemoryLabel;

private:
    bool FAdded = false;
    bool FRestored = false;
};

class TFrSetsColorAdd : public TKvSetAddDialog
{
    Q_OBJECT

public:
    explicit TFrSetsColorAdd(QWidget* Parent = nullptr);
    ~TFrSetsColorAdd() override;

    Ui::TFrSetsColorAdd* ui() const { return FUi.get(); }
    TKvColorChooser* Chooser() const { return FSolid; }

protected:
    void Prepare() override;
    void Store(TKvDisplaySet* Set) override;

private:
    std::unique_ptr<Ui::TFrSetsColorAdd> FUi;
    TKvColorChooser* FSolid = nullptr;
};

class TFrSetsFontAdd : public TKvSetAddDialog
{
    Q_OBJECT

public:
    explicit TFrSetsFontAdd(QWidget* Parent = nullptr);
    ~TFrSetsFontAdd() override;

    // Fits the font's name, shown in the font itself, into the preview.
    void UpdateLabFont();
    // The font stored on OK: the preview's font at FSizeFont points.
    QFont ChosenFont() const;

    Ui::TFrSetsFontAdd* ui() const { return FUi.get(); }
    // The point size stored; the preview shows the font at whatever height fits.
    int FSizeFont = 8;

protected:
    void Prepare() override;
    void Store(TKvDisplaySet* Set) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void PickFont();

    std::unique_ptr<Ui::TFrSetsFontAdd> FUi;
    // The font chosen, at its own size.
    QFont FPreview;
};

class TFrSetsBackGroundAdd : public TKvSetAddDialog
{
    Q_OBJECT

public:
    explicit TFrSetsBackGroundAdd(QWidget* Parent = nullptr);
    ~TFrSetsBackGroundAdd() override;

    // Repaints the result preview from the controls.
    void ChangeBackGround();
    // Shows the image reference's package, id and picture.
    void ChangeImage();
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    // The result preview as last painted.
    const QImage& Result() const { return FResult; }

    Ui::TFrSetsBackGroundAdd* ui() const { return FUi.get(); }

protected:
    void Prepare() override;
    void Store(TKvDisplaySet* Set) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void PickImage();

    std::unique_ptr<Ui::TFrSetsBackGroundAdd> FUi;
    TKvMemoryImage* FMemoryImage;
    TKvColorChooser* FStart = nullptr;
    TKvColorChooser* FEnd = nullptr;
    TKvColorChooser* FSolid = nullptr;
    QImage FResult;
};

std::unique_ptr<TKvSetAddDialog> KvCreateSetAddDialog(TKvSetKind Kind, QWidget* Owner);
