#pragma once

#include "KvStdCtrls.h"

#include <QByteArray>

#include <memory>

class QTimer;

// The "Kv Additional" controls (the package components live in their own units).

// A tool bar of commands for one control; Flat draws its buttons without frames.
class TKvCustomBar : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)

public:
    explicit TKvCustomBar(TComponent* AOwner = nullptr);

    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }

private:
    bool FFlat = true;
};

// A tool bar of text commands for a memo.
class TKvMemoBar : public TKvCustomBar
{
    Q_OBJECT
    Q_PROPERTY(TKvCustomMemo* Memo READ Memo WRITE SetMemo)

public:
    Q_INVOKABLE explicit TKvMemoBar(TComponent* AOwner = nullptr);

    TKvCustomMemo* Memo() const { return FMemo.Get(); }
    void SetMemo(TKvCustomMemo* Value) { FMemo.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TKvComponentRef<TKvCustomMemo> FMemo;
};

// A tool bar of formatting commands for a rich edit.
class TKvRichEditBar : public TKvCustomBar
{
    Q_OBJECT
    Q_PROPERTY(TKvCustomRichEdit* RichEdit READ RichEdit WRITE SetRichEdit)

public:
    Q_INVOKABLE explicit TKvRichEditBar(TComponent* AOwner = nullptr);

    TKvCustomRichEdit* RichEdit() const { return FRichEdit.Get(); }
    void SetRichEdit(TKvCustomRichEdit* Value) { FRichEdit.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TKvComponentRef<TKvCustomRichEdit> FRichEdit;
};

// A tool bar of picture commands (load, save, copy, paste) for an image or a focus image.
class TKvImageBar : public TKvCustomBar
{
    Q_OBJECT
    Q_PROPERTY(TComponent* Image READ Image WRITE SetImage)

public:
    Q_INVOKABLE explicit TKvImageBar(TComponent* AOwner = nullptr);

    TComponent* Image() const { return FImage.Get(); }
    // A TKvCustomImage, a TKvCustomFocusImage or none; anything else raises EInvalidOperation.
    void SetImage(TComponent* Value);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TKvComponentRef<TComponent> FImage;
};

class TKvStatusBar : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(TKvCollection* Panels READ Panels)
    Q_PROPERTY(bool SimplePanel READ SimplePanel WRITE SetSimplePanel)
    Q_PROPERTY(QString SimpleText READ SimpleText WRITE SetSimpleText)
    Q_PROPERTY(bool SizeGrip READ SizeGrip WRITE SetSizeGrip)

public:
    Q_INVOKABLE explicit TKvStatusBar(TComponent* AOwner = nullptr);
    ~TKvStatusBar() override;

    TKvStatusBarPanels* Panels() const { return FPanels; }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value) { FSimplePanel = Value; }
    QString SimpleText() const { return FSimpleText; }
    void SetSimpleText(const QString& Value) { FSimpleText = Value; }
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value) { FSizeGrip = Value; }

private:
    TKvStatusBarPanels* FPanels;
    bool FSimplePanel = false;
    QString FSimpleText;
    bool FSizeGrip = true;
};

class TKvSplitter : public TKvGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
    Q_PROPERTY(bool Beveled READ Beveled WRITE SetBeveled)

public:
    Q_INVOKABLE explicit TKvSplitter(TComponent* AOwner = nullptr);

    // The smallest size the splitter leaves to the control it resizes.
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = qMax(1, Value); }
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool Value) { FBeveled = Value; }

private:
    int FMinSize = 30;
    bool FBeveled = false;
};

class TKvProgressBar : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int Step READ Step WRITE SetStep)
    Q_PROPERTY(bool ShowText READ ShowText WRITE SetShowText)

public:
    Q_INVOKABLE explicit TKvProgressBar(TComponent* AOwner = nullptr);

    int Min() const { return FMin; }
    void SetMin(int Value) { FMin = Value; }
    int Max() const { return FMax; }
    void SetMax(int Value) { FMax = Value; }
    int Position() const { return FPosition; }
    void SetPosition(int Value) { FPosition = Value; }
    int Step() const { return FStep; }
    void SetStep(int Value) { FStep = Value; }
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value) { FShowText = Value; }
    // One step on, stopping at Max.
    void StepIt() { FPosition = qBound(FMin, FPosition + FStep, qMax(FMin, FMax)); }
    // The position as a whole percentage of the range (0 for an empty range).
    int Percent() const;

private:
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    bool FShowText = false;
};

// Emits Timer every Interval milliseconds while enabled, except at design time.
class TKvTimer : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
    Q_PROPERTY(TMethod OnTimer READ OnTimer WRITE SetOnTimer)

public:
    Q_INVOKABLE explicit TKvTimer(TComponent* AOwner = nullptr);
    ~TKvTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Interval() const { return FInterval; }
    // 0 stops the timer; negative values raise EConvertError.
    void SetInterval(int Value);
    TMethod OnTimer() const { return FOnTimer; }
    void SetOnTimer(const TMethod& Value) { FOnTimer = Value; }
    bool Running() const;
    void Loaded() override;

signals:
    void Timer();

private:
    void UpdateTimer();

    bool FEnabled = true;
    int FInterval = 1000;
    TMethod FOnTimer;
    std::unique_ptr<QTimer> FTimer;
};

// A timer meant to run its handler off the user-interface thread, at a priority.
class TKvThreadTimer : public TKvTimer
{
    Q_OBJECT
    Q_PROPERTY(int Priority READ Priority WRITE SetPriority)

public:
    Q_INVOKABLE explicit TKvThreadTimer(TComponent* AOwner = nullptr);

    // 0 idle to 6 time critical, as QThread::Priority.
    int Priority() const { return FPriority; }
    void SetPriority(int Value);

private:
    int FPriority = 3;
};

// Gives its form the shape of an image (the image's outline) when active.
class TKvImageForm : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)

public:
    Q_INVOKABLE explicit TKvImageForm(TComponent* AOwner = nullptr);

    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }

private:
    TKvMemoryImage* FMemoryImage;
    bool FActive = false;
};

// Lets the user move its form by dragging a control (the form itself when none).
class TKvMoveForm : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TControl* Control READ Control WRITE SetControl)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)

public:
    Q_INVOKABLE explicit TKvMoveForm(TComponent* AOwner = nullptr);

    TControl* Control() const { return FControl.Get(); }
    void SetControl(TControl* Value) { FControl.Set(this, Value); }
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TKvComponentRef<TControl> FControl;
    bool FActive = true;
};

class TKvOutLookBar;

// A page of an outlook bar: a header button and the controls below it.
class TKvOutLookBarPage : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)

public:
    Q_INVOKABLE explicit TKvOutLookBarPage(TComponent* AOwner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    // The bar the page is on, or none; setting it makes the page a child of the bar.
    TKvOutLookBar* OutLook() const;
    void SetOutLook(TKvOutLookBar* Value);

private:
    QString FCaption;
    TKvMemoryImage* FMemoryImage;
};

class TKvOutLookBar : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(TKvOutLookBarPage* ActivePage READ ActivePage WRITE SetActivePage)
    Q_PROPERTY(int AnimationSteps READ AnimationSteps WRITE SetAnimationSteps)
    Q_PROPERTY(int ButtonHeight READ ButtonHeight WRITE SetButtonHeight)

public:
    Q_INVOKABLE explicit TKvOutLookBar(TComponent* AOwner = nullptr);

    // The pages in their order among the bar's controls.
    QList<TKvOutLookBarPage*> Pages() const;
    TKvOutLookBarPage* ActivePage() const { return FActivePage.Get(); }
    // A page of this bar or none; another page raises EInvalidOperation (while loading the
    // page may not have joined the bar yet).
    void SetActivePage(TKvOutLookBarPage* Value);
    // How many steps a page change is animated in; 0 switches at once.
    int AnimationSteps() const { return FAnimationSteps; }
    void SetAnimationSteps(int Value);
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int Value) { FButtonHeight = qMax(1, Value); }
    // The next (or previous) page, wrapping around; nothing without pages.
    void SelectNextPage(bool GoForward);

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TKvComponentRef<TKvOutLookBarPage> FActivePage;
    quint8 FAnimationSteps = 8;
    int FButtonHeight = 22;
};

// The privileges of the application's privileges package, one per line; Value is the id.
class TKvLBPrivileges : public TKvCustomListBox
{
    Q_OBJECT
    Q_PROPERTY(bool ShowAccess READ ShowAccess WRITE SetShowAccess)

public:
    Q_INVOKABLE explicit TKvLBPrivileges(TComponent* AOwner = nullptr);

    bool ShowAccess() const { return FShowAccess; }
    void SetShowAccess(bool Value) { FShowAccess = Value; }

private:
    bool FShowAccess = true;
};

// Applies colour, font and background sets to rows of controls.
class TKvSetsGroup : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(TKvCollection* Items READ Items)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    Q_INVOKABLE explicit TKvSetsGroup(TComponent* AOwner = nullptr);
    ~TKvSetsGroup() override;

    TKvSetsGroupItems* Items() const { return FItems; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }

private:
    TKvSetsGroupItems* FItems;
    QString FCaption;
};

class TKvRuler : public TKvGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(KvTypes::TKvOrientation Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(int Zoom READ Zoom WRITE SetZoom)
    Q_PROPERTY(int Offset READ Offset WRITE SetOffset)

public:
    Q_INVOKABLE explicit TKvRuler(TComponent* AOwner = nullptr);

    KvTypes::TKvOrientation Orientation() const { return FOrientation; }
    void SetOrientation(KvTypes::TKvOrientation Value) { FOrientation = Value; }
    // Percent, 10 to 1000.
    int Zoom() const { return FZoom; }
    void SetZoom(int Value);
    int Offset() const { return FOffset; }
    void SetOffset(int Value) { FOffset = Value; }

private:
    KvTypes::TKvOrientation FOrientation = KvTypes::orHorizontal;
    int FZoom = 100;
    int FOffset = 0;
};

// A block of bytes kept with the form, for data a program carries without a file.
class TKvCBuffer : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(int Capacity READ Capacity WRITE SetCapacity)
    Q_PROPERTY(QByteArray Data READ Data WRITE SetData)

public:
    Q_INVOKABLE explicit TKvCBuffer(TComponent* AOwner = nullptr);

    QByteArray Data() const { return FData; }
    // Raises EInvalidOperation when the data exceeds a non-zero capacity.
    void SetData(const QByteArray& Value);
    // 0: unlimited.
    int Capacity() const { return FCapacity; }
    void SetCapacity(int Value);

private:
    QByteArray FData;
    int FCapacity = 0;
};

// Font families to choose from; Value is the family name.
class TKvFontComboBox : public TKvCustomComboEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvFontComboBox(TComponent* AOwner = nullptr);
};

class TKvFontListBox : public TKvCustomListBox
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvFontListBox(TComponent* AOwner = nullptr);
};

class TKvExtScrollBar : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(KvTypes::TKvOrientation Kind READ Kind WRITE SetKind)
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int SmallChange READ SmallChange WRITE SetSmallChange)
    Q_PROPERTY(int LargeChange READ LargeChange WRITE SetLargeChange)

public:
    Q_INVOKABLE explicit TKvExtScrollBar(TComponent* AOwner = nullptr);

    KvTypes::TKvOrientation Kind() const { return FKind; }
    void SetKind(KvTypes::TKvOrientation Value) { FKind = Value; }
    int Min() const { return FMin; }
    void SetMin(int Value) { FMin = Value; }
    int Max() const { return FMax; }
    void SetMax(int Value) { FMax = Value; }
    int Position() const { return FPosition; }
    void SetPosition(int Value) { FPosition = Value; }
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value) { FSmallChange = qMax(1, Value); }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = qMax(1, Value); }

private:
    KvTypes::TKvOrientation FKind = KvTypes::orHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FSmallChange = 1;
    int FLargeChange = 10;
};
