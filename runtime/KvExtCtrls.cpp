#include "KvExtCtrls.h"

#include "SysUtils.h"

#include <QTimer>

TKvCustomBar::TKvCustomBar(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Bar"));
}

TKvMemoBar::TKvMemoBar(TComponent* AOwner) : TKvCustomBar(AOwner)
{
    SetBounds(0, 0, 185, 29);
}

void TKvMemoBar::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FMemo.Removed(AComponent);
    TKvCustomBar::Notification(AComponent, Operation);
}

TKvRichEditBar::TKvRichEditBar(TComponent* AOwner) : TKvCustomBar(AOwner)
{
    SetBounds(0, 0, 289, 29);
}

void TKvRichEditBar::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FRichEdit.Removed(AComponent);
    TKvCustomBar::Notification(AComponent, Operation);
}

TKvImageBar::TKvImageBar(TComponent* AOwner) : TKvCustomBar(AOwner)
{
    SetBounds(0, 0, 185, 29);
}

void TKvImageBar::SetImage(TComponent* Value)
{
    if (Value && !qobject_cast<TKvCustomImage*>(Value) && !qobject_cast<TKvCustomFocusImage*>(Value))
        throw EInvalidOperation(QStringLiteral("%1 is not an image").arg(Value->GetName()));
    FImage.Set(this, Value);
}

void TKvImageBar::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FImage.Removed(AComponent);
    TKvCustomBar::Notification(AComponent, Operation);
}

TKvStatusBar::TKvStatusBar(TComponent* AOwner) : TKvWinControl(AOwner), FPanels(new TKvStatusBarPanels(this))
{
    NameDefaultSets(QStringLiteral("Sb"));
    SetBounds(0, 0, 185, 19);
}

TKvStatusBar::~TKvStatusBar()
{
    delete FPanels;
}

TKvSplitter::TKvSplitter(TComponent* AOwner) : TKvGraphicControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Sp"));
    SetBounds(0, 0, 3, 100);
}

TKvProgressBar::TKvProgressBar(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Pb"));
    SetBounds(0, 0, 150, 17);
}

int TKvProgressBar::Percent() const
{
    if (FMax <= FMin)
        return 0;
    const qint64 Done = qint64(qBound(FMin, FPosition, FMax)) - FMin;
    return int(Done * 100 / (qint64(FMax) - FMin));
}

// ---------------------------------------------------------------------------------------------
// Timers

TKvTimer::TKvTimer(TComponent* AOwner) : TComponent(AOwner) {}

TKvTimer::~TKvTimer() = default;

void TKvTimer::SetEnabled(bool Value)
{
    FEnabled = Value;
    UpdateTimer();
}

void TKvTimer::SetInterval(int Value)
{
    if (Value < 0)
        throw EConvertError(QStringLiteral("%1 is not a valid timer interval").arg(Value));
    FInterval = Value;
    UpdateTimer();
}

bool TKvTimer::Running() const
{
    return FTimer && FTimer->isActive();
}

void TKvTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

void TKvTimer::UpdateTimer()
{
    const bool Run = FEnabled && FInterval > 0 && !(ComponentState() & (csDesigning | csLoading));
    if (!Run) {
        if (FTimer)
            FTimer->stop();
        return;
    }
    if (!FTimer) {
        FTimer = std::make_unique<QTimer>();
        connect(FTimer.get(), &QTimer::timeout, this, &TKvTimer::Timer);
    }
    FTimer->start(FInterval);
}

TKvThreadTimer::TKvThreadTimer(TComponent* AOwner) : TKvTimer(AOwner) {}

void TKvThreadTimer::SetPriority(int Value)
{
    if (Value < 0 || Value > 6)
        throw EConvertError(QStringLiteral("%1 is not a valid priority (0 to 6)").arg(Value));
    FPriority = Value;
}

TKvImageForm::TKvImageForm(TComponent* AOwner) : TComponent(AOwner), FMemoryImage(new TKvMemoryImage(this)) {}

TKvMoveForm::TKvMoveForm(TComponent* AOwner) : TComponent(AOwner) {}

void TKvMoveForm::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FControl.Removed(AComponent);
    TComponent::Notification(AComponent, Operation);
}

// ---------------------------------------------------------------------------------------------
// Outlook bar

TKvOutLookBarPage::TKvOutLookBarPage(TComponent* AOwner)
    : TKvWinControl(AOwner), FMemoryImage(new TKvMemoryImage(this))
{
    NameDefaultSets(QStringLiteral("Ob"));
    // A page writes in its bar's font.
    SetFont()->SetDefaultApplies(false);
    SetBounds(0, 0, 105, 185);
}

TKvOutLookBar* TKvOutLookBarPage::OutLook() const
{
    return qobject_cast<TKvOutLookBar*>(Parent());
}

void TKvOutLookBarPage::SetOutLook(TKvOutLookBar* Value)
{
    TKvOutLookBar* Old = OutLook();
    if (Old == Value)
        return;
    if (Old && Old->ActivePage() == this)
        Old->SetActivePage(nullptr);
    SetParent(Value);
}

TKvOutLookBar::TKvOutLookBar(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Ob"));
    SetBounds(0, 0, 105, 241);
}

QList<TKvOutLookBarPage*> TKvOutLookBar::Pages() const
{
    QList<TKvOutLookBarPage*> Result;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* Page = qobject_cast<TKvOutLookBarPage*>(Controls(I)))
            Result << Page;
    return Result;
}

void TKvOutLookBar::SetActivePage(TKvOutLookBarPage* Value)
{
    if (Value && Value->OutLook() != this && !(ComponentState() & csLoading))
        throw EInvalidOperation(QStringLiteral("%1 is not a page of %2").arg(Value->GetName(), GetName()));
    FActivePage.Set(this, Value);
}

void TKvOutLookBar::SetAnimationSteps(int Value)
{
    if (Value < 0 || Value > 255)
        throw EConvertError(QStringLiteral("%1 is not a valid number of steps (0 to 255)").arg(Value));
    FAnimationSteps = quint8(Value);
}

void TKvOutLookBar::SelectNextPage(bool GoForward)
{
    const QList<TKvOutLookBarPage*> All = Pages();
    if (All.isEmpty())
        return;
    const qsizetype Current = All.indexOf(ActivePage());
    qsizetype Next;
    if (Current < 0)
        Next = GoForward ? 0 : All.size() - 1;
    else
        Next = (Current + (GoForward ? 1 : All.size() - 1)) % All.size();
    SetActivePage(All.at(Next));
}

void TKvOutLookBar::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FActivePage.Removed(AComponent);
    TKvWinControl::Notification(AComponent, Operation);
}

// ---------------------------------------------------------------------------------------------

TKvLBPrivileges::TKvLBPrivileges(TComponent* AOwner) : TKvCustomListBox(AOwner)
{
    SetBounds(0, 0, 145, 97);
    SetDataType(KvTypes::dtInteger);
}

TKvSetsGroup::TKvSetsGroup(TComponent* AOwner) : TKvWinControl(AOwner), FItems(new TKvSetsGroupItems(this))
{
    NameDefaultSets(QStringLiteral("Pn"));
    SetBounds(0, 0, 185, 105);
}

TKvSetsGroup::~TKvSetsGroup()
{
    delete FItems;
}

TKvRuler::TKvRuler(TComponent* AOwner) : TKvGraphicControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Ru"));
    SetBounds(0, 0, 289, 25);
}

void TKvRuler::SetZoom(int Value)
{
    if (Value < 10 || Value > 1000)
        throw EConvertError(QStringLiteral("%1 is not a valid zoom (10 to 1000)").arg(Value));
    FZoom = Value;
}

TKvCBuffer::TKvCBuffer(TComponent* AOwner) : TComponent(AOwner) {}

void TKvCBuffer::SetData(const QByteArray& Value)
{
    if (FCapacity > 0 && Value.size() > FCapacity)
        throw EInvalidOperation(
            QStringLiteral("%1 bytes exceed the buffer's capacity of %2").arg(Value.size()).arg(FCapacity));
    FData = Value;
}

void TKvCBuffer::SetCapacity(int Value)
{
    if (Value < 0)
        throw EConvertError(QStringLiteral("%1 is not a valid capacity").arg(Value));
    // Capacity is stored before Data in the form, so reading never meets a smaller capacity.
    if (Value > 0 && FData.size() > Value)
        throw EInvalidOperation(
            QStringLiteral("The buffer holds %1 bytes, more than %2").arg(FData.size()).arg(Value));
    FCapacity = Value;
}

TKvFontComboBox::TKvFontComboBox(TComponent* AOwner) : TKvCustomComboEdit(AOwner) {}

TKvFontListBox::TKvFontListBox(TComponent* AOwner) : TKvCustomListBox(AOwner)
{
    SetWidth(145);
}

TKvExtScrollBar::TKvExtScrollBar(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Sc"));
    SetBounds(0, 0, 121, 17);
}
