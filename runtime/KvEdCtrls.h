#pragma once

#include "KvStdCtrls.h"

// The "Kv Editors": list and combo boxes that choose a display set, an image of a package or a
// colour (Value is the set name, the image id or the colour), and the image dialogs as
// components.

// The color sets of the display package.
class TKvLBSetsColor : public TKvCustomListBox
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvLBSetsColor(TComponent* AOwner = nullptr);
};

class TKvCBSetsColor : public TKvCustomComboEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvCBSetsColor(TComponent* AOwner = nullptr);
};

// The background sets of the display package.
class TKvLBSetsBackGround : public TKvCustomListBox
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvLBSetsBackGround(TComponent* AOwner = nullptr);
};

class TKvCBSetsBackGround : public TKvCustomComboEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvCBSetsBackGround(TComponent* AOwner = nullptr);
};

// The font sets of the display package.
class TKvLBSetsFont : public TKvCustomListBox
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvLBSetsFont(TComponent* AOwner = nullptr);
};

class TKvCBSetsFont : public TKvCustomComboEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvCBSetsFont(TComponent* AOwner = nullptr);
};

class TKvLBPkgImages : public TKvCustomListBox
{
    Q_OBJECT
    Q_PROPERTY(QString PkgName READ PkgName WRITE SetPkgName)

public:
    Q_INVOKABLE explicit TKvLBPkgImages(TComponent* AOwner = nullptr);

    // The images package listed.
    QString PkgName() const { return FPkgName; }
    void SetPkgName(const QString& Value) { FPkgName = Value; }

private:
    QString FPkgName;
};

class TKvCBPkgImages : public TKvCustomComboEdit
{
    Q_OBJECT
    Q_PROPERTY(QString PkgName READ PkgName WRITE SetPkgName)

public:
    Q_INVOKABLE explicit TKvCBPkgImages(TComponent* AOwner = nullptr);

    // The images package listed.
    QString PkgName() const { return FPkgName; }
    void SetPkgName(const QString& Value) { FPkgName = Value; }

private:
    QString FPkgName;
};

// The standard and user colours.
class TKvLBColors : public TKvCustomListBox
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvLBColors(TComponent* AOwner = nullptr);
};

class TKvCBColors : public TKvCustomComboEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvCBColors(TComponent* AOwner = nullptr);
};

// The installed printers by name.
class TKvCBPrinters : public TKvCustomComboEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvCBPrinters(TComponent* AOwner = nullptr);
};

// The dialog that adds images to an images package, placed on a form.
class TKvPkgImagesAdd : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(QString PkgName READ PkgName WRITE SetPkgName)
    Q_PROPERTY(TKvMemoryLabel* MemoryLabel READ MemoryLabel)
    Q_PROPERTY(bool Protect READ Protect WRITE SetProtect)

public:
    Q_INVOKABLE explicit TKvPkgImagesAdd(TComponent* AOwner = nullptr);

    QString PkgName() const { return FPkgName; }
    void SetPkgName(const QString& Value) { FPkgName = Value; }
    // The dialog's caption.
    TKvMemoryLabel* MemoryLabel() const { return FMemoryLabel; }
    // Whether added images are marked protected.
    bool Protect() const { return FProtect; }
    void SetProtect(bool Value) { FProtect = Value; }

private:
    QString FPkgName;
    TKvMemoryLabel* FMemoryLabel;
    bool FProtect = false;
};

// The region designer on one image of an images package, placed on a form.
class TKvPkgImagesDesignRgn : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)
    Q_PROPERTY(TKvMemoryLabel* MemoryLabel READ MemoryLabel)

public:
    Q_INVOKABLE explicit TKvPkgImagesDesignRgn(TComponent* AOwner = nullptr);

    // The image edited.
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    TKvMemoryLabel* MemoryLabel() const { return FMemoryLabel; }

private:
    TKvMemoryImage* FMemoryImage;
    TKvMemoryLabel* FMemoryLabel;
};
