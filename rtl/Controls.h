#pragma once

#include "Classes.h"
#include "TypInfo.h"

#include <QList>
#include <QString>

class TWinControl;

// Integer types whose values forms may write by name (see RegisterIntegerIdents).
struct TColor
{
    qint32 Value = 0;
    bool operator==(const TColor&) const = default;
};
struct TFontCharset
{
    qint32 Value = 0;
    bool operator==(const TFontCharset&) const = default;
};
struct TCursor
{
    qint32 Value = 0;
    bool operator==(const TCursor&) const = default;
};
Q_DECLARE_METATYPE(TColor)
Q_DECLARE_METATYPE(TFontCharset)
Q_DECLARE_METATYPE(TCursor)


namespace KvColors {
constexpr qint32 clBlack = 0x000000, clWhite = 0xFFFFFF, clNone = 0x1FFFFFFF, clDefault = 0x20000000;
// System colours: the index of the system colour with the high byte set.
constexpr qint32 clBtnFace = qint32(0xFF00000F), clWindow = qint32(0xFF000005),
                 clWindowText = qint32(0xFF000008), clBtnText = qint32(0xFF000012);
constexpr qint32 DEFAULT_CHARSET = 1;
} // namespace KvColors

// The name of a colour, charset or cursor value, or its number ("$00FF8000" for colours).
QString ColorToString(qint32 Color);
bool IdentToColor(QStringView Ident, qint32& Color);
bool IdentToCharset(QStringView Ident, qint32& Charset);
bool IdentToCursor(QStringView Ident, qint32& Cursor);

class TFont : public TPersistent
{
    Q_OBJECT
public:
    enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)
    enum TFontPitch { fpDefault, fpVariable, fpFixed };
    Q_ENUM(TFontPitch)
    enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType,
                        fqClearTypeNatural };
    Q_ENUM(TFontQuality)

private:
    Q_PROPERTY(TFontCharset Charset MEMBER FCharset)
    Q_PROPERTY(TColor Color MEMBER FColor)
    Q_PROPERTY(int Height MEMBER FHeight)
    Q_PROPERTY(QString Name MEMBER FName)
    Q_PROPERTY(TFontPitch Pitch MEMBER FPitch)
    Q_PROPERTY(int Size READ GetSize WRITE SetSize STORED false)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)
    Q_PROPERTY(int Orientation MEMBER FOrientation)
    Q_PROPERTY(TFontQuality Quality MEMBER FQuality)

public:
    using TPersistent::TPersistent;
    // Points at 96 pixels per inch; Height is negative for a character height.
    int GetSize() const;
    void SetSize(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value) { FStyle = Value; }
    void Assign(TPersistent* Source) override;

    TFontCharset FCharset{KvColors::DEFAULT_CHARSET};
    TColor FColor{KvColors::clWindowText};
    int FHeight = -11;
    QString FName = QStringLiteral("Tahoma");
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle;
    int FOrientation = 0;
    TFontQuality FQuality = fqDefault;
};

class TSizeConstraints : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int MaxHeight MEMBER FMaxHeight)
    Q_PROPERTY(int MaxWidth MEMBER FMaxWidth)
    Q_PROPERTY(int MinHeight MEMBER FMinHeight)
    Q_PROPERTY(int MinWidth MEMBER FMinWidth)

public:
    using TPersistent::TPersistent;
    int FMaxHeight = 0;
    int FMaxWidth = 0;
    int FMinHeight = 0;
    int FMinWidth = 0;
};

// Margins around a control (3 pixels unless set) or padding inside a container (none).
class TMargins : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int Left MEMBER FLeft)
    Q_PROPERTY(int Top MEMBER FTop)
    Q_PROPERTY(int Right MEMBER FRight)
    Q_PROPERTY(int Bottom MEMBER FBottom)

public:
    TMargins(QObject* parent, int Value) : TPersistent(parent), FLeft(Value), FTop(Value), FRight(Value), FBottom(Value) {}
    int FLeft;
    int FTop;
    int FRight;
    int FBottom;
};

// The visual base classes forms are made of. They hold what the designer and the form files
// need (bounds, containment, a few common properties); drawing belongs to the controls derived
// from them.
class TControl : public TComponent
{
    Q_OBJECT
public:
    enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
    Q_ENUM(TAlign)
    enum TAnchorKind { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
    Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
    Q_FLAG(TAnchors)

private:
    Q_PROPERTY(int Left READ GetLeft WRITE SetLeft)
    Q_PROPERTY(int Top READ GetTop WRITE SetTop)
    Q_PROPERTY(int Width READ GetWidth WRITE SetWidth)
    Q_PROPERTY(int Height READ GetHeight WRITE SetHeight)
    Q_PROPERTY(TAlign Align MEMBER FAlign)
    Q_PROPERTY(bool AlignWithMargins MEMBER FAlignWithMargins)
    Q_PROPERTY(TAnchors Anchors READ Anchors WRITE SetAnchors)
    Q_PROPERTY(TColor Color MEMBER FColor)
    Q_PROPERTY(TSizeConstraints* Constraints READ Constraints)
    Q_PROPERTY(TCursor Cursor MEMBER FCursor)
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)
    Q_PROPERTY(TFont* Font READ Font)
    Q_PROPERTY(int HelpContext MEMBER FHelpContext)
    Q_PROPERTY(QString Hint READ GetHint WRITE SetHint)
    Q_PROPERTY(TMargins* Margins READ Margins)
    Q_PROPERTY(bool ParentColor MEMBER FParentColor)
    Q_PROPERTY(bool ParentFont MEMBER FParentFont)
    Q_PROPERTY(bool ParentShowHint MEMBER FParentShowHint)
    Q_PROPERTY(TComponent* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint MEMBER FShowHint)
    Q_PROPERTY(bool Visible READ GetVisible WRITE SetVisible)
    Q_PROPERTY(TMethod OnClick READ GetOnClick WRITE SetOnClick)
    Q_PROPERTY(TMethod OnDblClick MEMBER FOnDblClick)

public:
    Q_INVOKABLE explicit TControl(TComponent* AOwner = nullptr);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    // Appends this control to the end of AParent's controls; raises when AParent is this control
    // or lies inside it.
    void SetParent(TWinControl* AParent);

    int GetLeft() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; }
    int GetTop() const { return FTop; }
    void SetTop(int Value) { FTop = Value; }
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { Resize(qMax(0, Value), FHeight); }
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { Resize(FWidth, qMax(0, Value)); }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    QString GetHint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    TMethod GetOnClick() const { return FOnClick; }
    void SetOnClick(const TMethod& Value) { FOnClick = Value; }

    TFont* Font() const { return FFont; }
    TSizeConstraints* Constraints() const { return FConstraints; }
    TMargins* Margins() const { return FMargins; }
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value) { FAnchors = Value; }
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* Value);

    bool HasParent() const override;
    TComponent* GetParentComponent() const override;
protected:
    // Every change of size comes here (a form keeps its client size in step).
    virtual void Resize(int AWidth, int AHeight)
    {
        FWidth = AWidth;
        FHeight = AHeight;
    }

public:
    // Anything but a windowed control (or none) is ignored, as the form reader may offer a
    // non-visual root.
    void SetParentComponent(TComponent* Value) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TAlign FAlign = alNone;
    bool FAlignWithMargins = false;
    TAnchors FAnchors = TAnchors(akLeft | akTop);
    TColor FColor{KvColors::clWindow};
    TCursor FCursor;
    int FHelpContext = 0;
    bool FParentColor = true;
    bool FParentFont = true;
    bool FParentShowHint = true;
    bool FShowHint = false;
    TMethod FOnDblClick;

private:
    friend class TWinControl;
    TWinControl* FParent = nullptr;
    TFont* FFont;
    TSizeConstraints* FConstraints;
    TMargins* FMargins;
    TComponent* FPopupMenu = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 100;
    int FHeight = 50;
    bool FEnabled = true;
    bool FVisible = true;
    QString FHint;
    TMethod FOnClick;
};

// A control that contains other controls, in the order they were parented.
class TWinControl : public TControl
{
    Q_OBJECT
    Q_PROPERTY(bool Ctl3D MEMBER FCtl3D)
    Q_PROPERTY(bool DoubleBuffered MEMBER FDoubleBuffered)
    Q_PROPERTY(TMargins* Padding READ Padding)
    Q_PROPERTY(bool ParentBackground MEMBER FParentBackground)
    Q_PROPERTY(bool ParentCtl3D MEMBER FParentCtl3D)
    Q_PROPERTY(int TabOrder READ GetTabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool TabStop MEMBER FTabStop)

public:
    Q_INVOKABLE explicit TWinControl(TComponent* AOwner = nullptr);
    // Child controls are not destroyed with their parent (they belong to their owner); they are
    // left without one.
    ~TWinControl() override;

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int Index) const;
    bool ContainsControl(const TControl* Control) const;

    // The position among the parent's windowed controls; -1 without a parent.
    int GetTabOrder() const;
    void SetTabOrder(int Value);

    // For the root: the owned components without a parent, then its controls; for any other
    // container: its controls.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

    TMargins* Padding() const { return FPadding; }

    bool FCtl3D = true;
    bool FDoubleBuffered = false;
    bool FParentBackground = true;
    bool FParentCtl3D = true;
    bool FTabStop = false;

private:
    friend class TControl;
    TMargins* FPadding;
    QList<TControl*> FControls;
    QList<TWinControl*> FTabList;
    int FPendingTabOrder = -1; // read before the control had a parent
};

class TCustomForm : public TWinControl
{
    Q_OBJECT
public:
    enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                     poMainFormCenter, poOwnerFormCenter };
    Q_ENUM(TPosition)
    enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
    Q_ENUM(TFormBorderStyle)
    enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
    Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
    Q_FLAG(TBorderIcons)
    enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
    Q_ENUM(TFormStyle)
    enum TWindowState { wsNormal, wsMinimized, wsMaximized };
    Q_ENUM(TWindowState)
    enum TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };
    Q_ENUM(TDefaultMonitor)
    enum TPrintScale { poNone, poProportional, poPrintToFit };
    Q_ENUM(TPrintScale)

private:
    Q_PROPERTY(TWinControl* ActiveControl READ GetActiveControl WRITE SetActiveControl)
    Q_PROPERTY(bool AutoScroll MEMBER FAutoScroll)
    Q_PROPERTY(bool AutoSize MEMBER FAutoSize)
    Q_PROPERTY(TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
    Q_PROPERTY(TFormBorderStyle BorderStyle MEMBER FBorderStyle)
    Q_PROPERTY(int BorderWidth MEMBER FBorderWidth)
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption)
    Q_PROPERTY(int ClientHeight READ GetClientHeight WRITE SetClientHeight)
    Q_PROPERTY(int ClientWidth READ GetClientWidth WRITE SetClientWidth)
    Q_PROPERTY(TDefaultMonitor DefaultMonitor MEMBER FDefaultMonitor)
    Q_PROPERTY(TFormStyle FormStyle MEMBER FFormStyle)
    Q_PROPERTY(QString HelpFile MEMBER FHelpFile)
    Q_PROPERTY(bool KeyPreview MEMBER FKeyPreview)
    Q_PROPERTY(TComponent* Menu READ Menu WRITE SetMenu)
    Q_PROPERTY(bool OldCreateOrder MEMBER FOldCreateOrder)
    Q_PROPERTY(int PixelsPerInch MEMBER FPixelsPerInch)
    Q_PROPERTY(TPosition Position READ GetPosition WRITE SetPosition)
    Q_PROPERTY(TPrintScale PrintScale MEMBER FPrintScale)
    Q_PROPERTY(bool Scaled MEMBER FScaled)
    Q_PROPERTY(int TextHeight MEMBER FTextHeight)
    Q_PROPERTY(TWindowState WindowState MEMBER FWindowState)
    Q_PROPERTY(TMethod OnActivate MEMBER FOnActivate)
    Q_PROPERTY(TMethod OnClose MEMBER FOnClose)
    Q_PROPERTY(TMethod OnCloseQuery MEMBER FOnCloseQuery)
    Q_PROPERTY(TMethod OnCreate READ GetOnCreate WRITE SetOnCreate)
    Q_PROPERTY(TMethod OnDestroy READ GetOnDestroy WRITE SetOnDestroy)
    Q_PROPERTY(TMethod OnKeyDown MEMBER FOnKeyDown)
    Q_PROPERTY(TMethod OnResize MEMBER FOnResize)
    Q_PROPERTY(TMethod OnShow READ GetOnShow WRITE SetOnShow)

public:
    Q_INVOKABLE explicit TCustomForm(TComponent* AOwner = nullptr);
    ~TCustomForm() override;

    QString GetCaption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    TWinControl* GetActiveControl() const { return FActiveControl; }
    // Only a control inside this form can be active; raises otherwise.
    void SetActiveControl(TWinControl* Value);
    TPosition GetPosition() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TMethod GetOnCreate() const { return FOnCreate; }
    void SetOnCreate(const TMethod& Value) { FOnCreate = Value; }
    TMethod GetOnDestroy() const { return FOnDestroy; }
    void SetOnDestroy(const TMethod& Value) { FOnDestroy = Value; }
    TMethod GetOnShow() const { return FOnShow; }
    void SetOnShow(const TMethod& Value) { FOnShow = Value; }

    // The size inside the borders as the form file gives it; 0 until set. Setting it sizes the
    // form; once set, it follows the form's size.
    int GetClientHeight() const { return FClientHeight; }
    void SetClientHeight(int Value);
    int GetClientWidth() const { return FClientWidth; }
    void SetClientWidth(int Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value) { FBorderIcons = Value; }
    TComponent* Menu() const { return FMenu; }
    void SetMenu(TComponent* Value);

    void Notification(TComponent* AComponent, TOperation Operation) override;

    bool IsPropertyStored(QStringView Name) const override;

protected:
    void Resize(int AWidth, int AHeight) override;

public:
    bool FAutoScroll = true;
    bool FAutoSize = false;
    TBorderIcons FBorderIcons = TBorderIcons(biSystemMenu | biMinimize | biMaximize);
    TFormBorderStyle FBorderStyle = bsSizeable;
    int FBorderWidth = 0;
    TDefaultMonitor FDefaultMonitor = dmActiveForm;
    TFormStyle FFormStyle = fsNormal;
    QString FHelpFile;
    bool FKeyPreview = false;
    bool FOldCreateOrder = false;
    int FPixelsPerInch = 96;
    TPrintScale FPrintScale = poProportional;
    bool FScaled = true;
    int FTextHeight = 13;
    TWindowState FWindowState = wsNormal;
    TMethod FOnActivate;
    TMethod FOnClose;
    TMethod FOnCloseQuery;
    TMethod FOnKeyDown;
    TMethod FOnResize;

private:
    QString FCaption;
    int FClientHeight = 0;
    int FClientWidth = 0;
    TComponent* FMenu = nullptr;
    TWinControl* FActiveControl = nullptr;
    TPosition FPosition = poDesigned;
    TMethod FOnCreate;
    TMethod FOnDestroy;
    TMethod FOnShow;
};

class TForm : public TCustomForm
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit TForm(TComponent* AOwner = nullptr);
};

// A reusable group of controls: a root of its own, or placed inline in a form (csInline), where
// its controls stay owned by the frame.
class TFrame : public TWinControl
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit TFrame(TComponent* AOwner = nullptr);
};

// A non-visual root; Width and Height are the size of its design surface.
class TDataModule : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(bool OldCreateOrder MEMBER FOldCreateOrder)
    Q_PROPERTY(int Height READ GetHeight WRITE SetHeight)
    Q_PROPERTY(int HorizontalOffset MEMBER FHorizontalOffset)
    Q_PROPERTY(int VerticalOffset MEMBER FVerticalOffset)
    Q_PROPERTY(int Width READ GetWidth WRITE SetWidth)
    Q_PROPERTY(int PixelsPerInch MEMBER FPixelsPerInch)
    Q_PROPERTY(TMethod OnCreate READ GetOnCreate WRITE SetOnCreate)
    Q_PROPERTY(TMethod OnDestroy READ GetOnDestroy WRITE SetOnDestroy)

public:
    Q_INVOKABLE explicit TDataModule(TComponent* AOwner = nullptr);

    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { FHeight = qMax(0, Value); }
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { FWidth = qMax(0, Value); }
    TMethod GetOnCreate() const { return FOnCreate; }
    void SetOnCreate(const TMethod& Value) { FOnCreate = Value; }
    TMethod GetOnDestroy() const { return FOnDestroy; }
    void SetOnDestroy(const TMethod& Value) { FOnDestroy = Value; }

    bool FOldCreateOrder = false;
    int FHorizontalOffset = 0;
    int FVerticalOffset = 0;
    int FPixelsPerInch = 96;

private:
    int FHeight = 150;
    int FWidth = 215;
    TMethod FOnCreate;
    TMethod FOnDestroy;
};

// A component of a class nobody registered, as read from a form: it keeps its class name, its
// properties as written and its children, and writes them back unchanged. Only its bounds are
// live, so that a designer can show and move it.
class TPlaceholderControl : public TWinControl
{
    Q_OBJECT
    Q_CLASSINFO("KvPublished", "Name,Left,Top,Width,Height")
public:
    Q_INVOKABLE explicit TPlaceholderControl(TComponent* AOwner = nullptr);
};

// The same for a non-visual component; its children (menu items, fields) stay under it and are
// destroyed with it.
class TPlaceholderComponent : public TComponent
{
    Q_OBJECT
    Q_CLASSINFO("KvPublished", "Name")
public:
    Q_INVOKABLE explicit TPlaceholderComponent(TComponent* AOwner = nullptr);
    ~TPlaceholderComponent() override;

    bool HasParent() const override { return FParent || FUnderKnown; }
    TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

private:
    TPlaceholderComponent* FParent = nullptr;
    QList<TPlaceholderComponent*> FChildren;
    bool FUnderKnown = false;
};

bool IsPlaceholder(const TComponent* Component);

// Registers the classes above for form streaming; repeated calls do nothing. It also runs when
// the program starts, for every program that links this unit.
void RegisterControlClasses();

Q_DECLARE_OPERATORS_FOR_FLAGS(TFont::TFontStyles)
Q_DECLARE_OPERATORS_FOR_FLAGS(TControl::TAnchors)
Q_DECLARE_OPERATORS_FOR_FLAGS(TCustomForm::TBorderIcons)
