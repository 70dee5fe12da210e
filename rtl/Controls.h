#pragma once

#include "Classes.h"
#include "TypInfo.h"

#include <QList>
#include <QString>

class TWinControl;

// The visual base classes forms are made of. They hold what the designer and the form files
// need (bounds, containment, a few common properties); drawing belongs to the controls derived
// from them.
class TControl : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(int Left READ GetLeft WRITE SetLeft)
    Q_PROPERTY(int Top READ GetTop WRITE SetTop)
    Q_PROPERTY(int Width READ GetWidth WRITE SetWidth)
    Q_PROPERTY(int Height READ GetHeight WRITE SetHeight)
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ GetHint WRITE SetHint)
    Q_PROPERTY(bool Visible READ GetVisible WRITE SetVisible)
    Q_PROPERTY(TMethod OnClick READ GetOnClick WRITE SetOnClick)

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
    void SetWidth(int Value) { FWidth = qMax(0, Value); }
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { FHeight = qMax(0, Value); }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    QString GetHint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    TMethod GetOnClick() const { return FOnClick; }
    void SetOnClick(const TMethod& Value) { FOnClick = Value; }

    bool HasParent() const override;
    TComponent* GetParentComponent() const override;
    // Anything but a windowed control (or none) is ignored, as the form reader may offer a
    // non-visual root.
    void SetParentComponent(TComponent* Value) override;

private:
    friend class TWinControl;
    TWinControl* FParent = nullptr;
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
    Q_PROPERTY(int TabOrder READ GetTabOrder WRITE SetTabOrder)

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

private:
    friend class TControl;
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

private:
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption)
    Q_PROPERTY(TWinControl* ActiveControl READ GetActiveControl WRITE SetActiveControl)
    Q_PROPERTY(TPosition Position READ GetPosition WRITE SetPosition)
    Q_PROPERTY(TMethod OnCreate READ GetOnCreate WRITE SetOnCreate)
    Q_PROPERTY(TMethod OnDestroy READ GetOnDestroy WRITE SetOnDestroy)
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

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FCaption;
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
    Q_PROPERTY(int Height READ GetHeight WRITE SetHeight)
    Q_PROPERTY(int Width READ GetWidth WRITE SetWidth)
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

private:
    int FHeight = 150;
    int FWidth = 215;
    TMethod FOnCreate;
    TMethod FOnDestroy;
};

// Registers the classes above for form streaming; repeated calls do nothing. It also runs when
// the program starts, for every program that links this unit.
void RegisterControlClasses();
