#include "KvVtScrollBars.h"

#include "KvApplication.h"
#include "KvDialogs.h"
#include "ui_KvVtScrollBars.h"

#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QScrollBar>

namespace {

// The desktop's style with the bars' thickness replaced.
class TScrollBarStyle : public QProxyStyle
{
public:
    explicit TScrollBarStyle(int Size) : FSize(Size) {}
    int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override
    {
        return Metric == PM_ScrollBarExtent ? FSize : QProxyStyle::pixelMetric(Metric, Option, Widget);
    }

private:
    int FSize;
};

// A ruled sheet, so that scrolling shows.
QPixmap RuledSheet(int Size)
{
    QPixmap Sheet(Size, Size);
    Sheet.fill(Qt::white);
    QPainter Painter(&Sheet);
    for (int At = 0; At <= Size; At += 50) {
        Painter.setPen(QColor(0xC0, 0xC0, 0xC0));
        Painter.drawLine(At, 0, At, Size);
        Painter.drawLine(0, At, Size, At);
        Painter.setPen(Qt::black);
        for (int Other = 0; Other < Size && At % 100 == 0; Other += 100)
            Painter.drawText(At + 3, Other + 14, QStringLiteral("%1,%2").arg(At).arg(Other));
    }
    Painter.setPen(QPen(Qt::darkBlue, 2));
    Painter.drawRect(1, 1, Size - 2, Size - 2);
    return Sheet;
}

} // namespace

void KvApplyScrollBars(QAbstractScrollArea* Area, const TKvScrollBarSettings& Settings)
{
    QStyle* Style = nullptr;
    if (Settings.Size() > 0) {
        auto* Sized = new TScrollBarStyle(Settings.Size());
        Sized->setParent(Area);
        Style = Sized;
    }
    for (QScrollBar* Bar : {Area->horizontalScrollBar(), Area->verticalScrollBar()}) {
        Bar->setStyle(Style ? Style : Area->style());
        Bar->setTracking(Settings.Tracking());
        Bar->setSingleStep(Settings.Increment());
    }
    Area->updateGeometry();
}

TFrScrollBars::TFrScrollBars(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrScrollBars>())
{
    FUi->setupUi(this);
    FUi->LaContent->setFixedSize(Range, Range);
    FUi->LaContent->setPixmap(RuledSheet(Range));
}

TFrScrollBars::~TFrScrollBars() = default;

void TFrScrollBars::Execute(const QString& Caption)
{
    setWindowTitle(Caption);
    if (const TKvCApplication* App = KvCApp())
        KvApplyScrollBars(FUi->ScrollBox, *App->ScrollBars());
    KvShowModal(*this);
}
