#include "display/KvMetricsWindow.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "images/KvVtMemoryImage.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

TKvMetricBox::TKvMetricBox(QWidget* Parent) : QSpinBox(Parent)
{
    setRange(0, KvMaxDisplayMetric);
    setAccelerated(true);
}

void TKvMetricBox::Normalise()
{
    if (!cleanText().isEmpty())
        return;
    setValue(0);
    lineEdit()->setText(textFromValue(0));
}

void TKvMetricBox::keyPressEvent(QKeyEvent* Event)
{
    const QString Text = Event->text();
    if (Text.size() == 1 && Text.at(0).isPrint() && !Text.at(0).isDigit() && !(Event->modifiers() & Qt::ControlModifier)) {
        Event->accept();
        return;
    }
    QSpinBox::keyPressEvent(Event);
}

void TKvMetricBox::focusOutEvent(QFocusEvent* Event)
{
    Normalise();
    QSpinBox::focusOutEvent(Event);
}

// ---------------------------------------------------------------------------------------------

TKvMetricsWindow::TKvMetricsWindow(TKvMetricsEdit::TKind Kind, QWidget* Parent) : QDialog(Parent), FEdit(Kind)
{
    KvKeepResizeInfoDesigner(this);
}

void TKvMetricsWindow::Bind(const TControls& Controls)
{
    C = Controls;
    Q_ASSERT(C.Boxes.size() == FEdit.Count());
    for (TKvMetricBox* Box : std::as_const(C.Boxes))
        connect(Box, &QSpinBox::valueChanged, this, &TKvMetricsWindow::Changed);
    connect(C.CbWinRgn, &QCheckBox::toggled, this, &TKvMetricsWindow::Changed);
    connect(C.BtSkin, &QAbstractButton::clicked, this, &TKvMetricsWindow::ChooseSkin);
    connect(C.BtOk, &QPushButton::clicked, this, [this] {
        if (Modified)
            Apply();
        accept();
    });
    connect(C.BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(C.BtApply, &QPushButton::clicked, this, [this] {
        Apply();
        Modified = false;
        ButtonsState();
    });
    C.Example->installEventFilter(this);
}

int TKvMetricsWindow::Execute()
{
    FLoading = true;
    FEdit.Load(PkgDisplay);
    for (int i = 0; i < C.Boxes.size(); ++i)
        C.Boxes[i]->setValue(FEdit.Value(i));
    C.CbWinRgn->setChecked(FEdit.WinRgn());
    FLoading = false;
    Modified = false;
    ButtonsState();
    InvalidateExample();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void TKvMetricsWindow::Changed()
{
    if (FLoading)
        return;
    for (int i = 0; i < C.Boxes.size(); ++i)
        FEdit.SetValue(i, C.Boxes[i]->value());
    FEdit.SetWinRgn(C.CbWinRgn->isChecked());
    Modified = true;
    ButtonsState();
    InvalidateExample();
}

void TKvMetricsWindow::ButtonsState()
{
    C.BtApply->setEnabled(Modified);
    C.BtApply->setDefault(Modified);
    C.BtOk->setDefault(!Modified);
    C.EdSkin->setText(FEdit.SkinText());
}

void TKvMetricsWindow::ChooseSkin()
{
    TFrMemoryImage Picker(this);
    Picker.FMemoryImage = FEdit.Image();
    if (Picker.Execute() != 1)
        return;
    Modified = true;
    ButtonsState();
    InvalidateExample();
}

void TKvMetricsWindow::Apply()
{
    auto* Focused = qobject_cast<TKvMetricBox*>(focusWidget());
    if (Focused)
        Focused->Normalise();
    try {
        FEdit.Apply(PkgDisplay);
    } catch (const Exception& E) {
        KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
        return;
    }
    if (Focused)
        Focused->selectAll();
    if (TKvCApplication* App = TKvMetricsEdit::AppOf(PkgDisplay))
        KvDesignerModified(App);
}

void TKvMetricsWindow::InvalidateExample()
{
    PaintExample();
    C.Example->update();
}

void TKvMetricsWindow::PaintExample()
{
    const QSize Size = C.Example->contentsRect().size();
    if (FExample.size() != Size)
        FExample = QImage(Size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    FEdit.PaintExample(FExample, PkgDisplay);
}

bool TKvMetricsWindow::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == C.Example) {
        if (Event->type() == QEvent::Resize) {
            PaintExample();
        } else if (Event->type() == QEvent::Paint) {
            QPainter P(C.Example);
            P.drawImage(C.Example->contentsRect().topLeft(), FExample);
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}
