#include "KvVtManagerProgress.h"
#include "ui_KvVtManagerProgress.h"

#include "KvMessages.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

TFrManagerProgress* FrManagerProgress = nullptr;

namespace {

// The bar counts in steps of this many engine units at most, as its range is an int.
constexpr int BarRange = 1000000;

} // namespace

TFrManagerProgress::TFrManagerProgress(QWidget* Owner) : QDialog(Owner), FUi(new Ui::TFrManagerProgress)
{
    FUi->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    FUi->PaintBox->installEventFilter(this);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrManagerProgress::~TFrManagerProgress() = default;

bool TFrManagerProgress::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FUi->PaintBox && Event->type() == QEvent::Paint) {
        QPainter painter(FUi->PaintBox);
        const QRect r = FUi->PaintBox->rect();
        painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(ProgressCaption, Qt::ElideMiddle, r.width()));
        return true;
    }
    return QDialog::eventFilter(Watched, Event);
}

// Cancel, Escape and the close box: the command stops at its next step.
void TFrManagerProgress::reject()
{
    Cancel = true;
    if (parentWidget())
        parentWidget()->setEnabled(true);
    hide();
}

void SetWindowProgress(QWidget* Owner, bool Show, const QString& Caption)
{
    if (Show) {
        QApplication::processEvents();
        delete FrManagerProgress;
        FrManagerProgress = new TFrManagerProgress(Owner);
        FrManagerProgress->setWindowTitle(Caption);
        FrManagerProgress->ProgressCaption.clear();
        if (Owner)
            Owner->setEnabled(false);
        FrManagerProgress->setEnabled(true);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            FrManagerProgress->move(screen->availableGeometry().center() - FrManagerProgress->rect().center());
        FrManagerProgress->show();
        FrManagerProgress->repaint();
        return;
    }
    if (Owner) {
        Owner->setEnabled(true);
        Owner->raise();
    }
    delete FrManagerProgress;
    FrManagerProgress = nullptr;
}

void ProgressLabel(const QString& Text)
{
    if (!FrManagerProgress)
        return;
    FrManagerProgress->ProgressCaption = Text;
    FrManagerProgress->ui()->PaintBox->repaint();
}

void IncProgressBar(qint64 Steps)
{
    if (!FrManagerProgress)
        return;
    QProgressBar* bar = FrManagerProgress->ui()->ProBar;
    bar->setValue(int(std::min<qint64>(bar->maximum(), bar->value() + Steps)));
    FrManagerProgress->raise();
    QApplication::processEvents();
}

bool CheckCancel()
{
    return FrManagerProgress && FrManagerProgress->Cancel;
}

// Painted with the bar: a repaint for each of thousands of forms would cost more than reading them.
void TKvManagerProgressFeedback::Caption(const QString& Text)
{
    if (!FrManagerProgress)
        return;
    FrManagerProgress->ProgressCaption = Text;
    FrManagerProgress->ui()->PaintBox->update();
}

void TKvManagerProgressFeedback::Start(qint64 Maximum)
{
    FMaximum = std::max<qint64>(1, Maximum);
    FPosition = 0;
    FShown.start();
    if (FrManagerProgress) {
        FrManagerProgress->ui()->ProBar->setRange(0, int(std::min<qint64>(FMaximum, BarRange)));
        FrManagerProgress->ui()->ProBar->setValue(0);
    }
}

bool TKvManagerProgressFeedback::Advance(qint64 Steps)
{
    FPosition += Steps;
    if (FShown.isValid() && FShown.elapsed() < 50)
        return !CheckCancel();
    FShown.start();
    if (FrManagerProgress) {
        QProgressBar* bar = FrManagerProgress->ui()->ProBar;
        const qint64 scaled = FMaximum > BarRange ? FPosition * BarRange / FMaximum : FPosition;
        IncProgressBar(scaled - bar->value());
    }
    return !CheckCancel();
}

void TKvManagerProgressFeedback::Error(int MsgType, const QString& Text, const QStringList& Args)
{
    if (Args.isEmpty())
        KvMsg(MsgType, Text, {KvBtnAccept}, KvBtnAccept);
    else
        KvMsgArgs(MsgType, Text, Args, {KvBtnAccept}, KvBtnAccept);
}
