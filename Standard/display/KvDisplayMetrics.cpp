#include "display/KvDisplayMetrics.h"

#include "Colors.h"
#include "KvApplication.h"

#include <QPainter>

TKvMetricsEdit::TKvMetricsEdit(TKind Kind) : FKind(Kind), FImage(std::make_unique<TKvMemoryImage>()) {}

TKvMetricsEdit::~TKvMetricsEdit() = default;

TKvCApplication* TKvMetricsEdit::AppOf(const TKvPkgDisplay* Pkg)
{
    if (auto* App = Pkg ? qobject_cast<TKvCApplication*>(Pkg->Owner()) : nullptr)
        return App;
    return KvCApp();
}

TKvSkin* TKvMetricsEdit::SkinOf(TKvCApplication* App) const
{
    if (!App)
        return nullptr;
    return FKind == CommonWnds ? App->CWSkin() : App->HiSkin();
}

void TKvMetricsEdit::Load(const TKvPkgDisplay* Pkg)
{
    FValues.fill(0);
    FWinRgn = false;
    FImage->PkgId(QString(), TKvMemoryReference::IdNone);
    if (!Pkg)
        return;
    for (int i = 0; i < Count(); ++i)
        FValues[i] = FKind == CommonWnds ? Pkg->CWMetric(TKvCWMetric(i)) : Pkg->HiMetric(TKvHiMetric(i));
    FWinRgn = FKind == CommonWnds ? Pkg->CWWinRgn() : Pkg->HiWinRgn();
    if (const TKvSkin* Skin = SkinOf(AppOf(Pkg)))
        FImage->Assign(Skin->Image());
}

QString TKvMetricsEdit::SkinText() const
{
    return QStringLiteral("(%1) %2").arg(FImage->Id()).arg(FImage->PkgName());
}

void TKvMetricsEdit::Apply(TKvPkgDisplay* Pkg) const
{
    if (!Pkg)
        return;
    for (int i = 0; i < Count(); ++i) {
        if (FKind == CommonWnds)
            Pkg->SetCWMetric(TKvCWMetric(i), FValues[i]);
        else
            Pkg->SetHiMetric(TKvHiMetric(i), FValues[i]);
    }
    if (TKvSkin* Skin = SkinOf(AppOf(Pkg)))
        Skin->Image()->Assign(FImage.get());
    if (FKind == CommonWnds)
        Pkg->SetCWWinRgn(FWinRgn);
    else
        Pkg->SetHiWinRgn(FWinRgn);
}

void TKvMetricsEdit::PaintExample(QImage& Target, const TKvPkgDisplay* Pkg) const
{
    const int W = Target.width(), H = Target.height();
    Target.fill(QColor::fromRgb(ColorToRGB(KvColors::clBtnFace)));
    QPainter P(&Target);
    TKvCApplication* App = AppOf(Pkg);
    if (const TKvSkin* Skin = SkinOf(App)) {
        const QString BackGround = FKind == CommonWnds ? KvSetEdBackGroundName() : App->HiBackGround()->TargetName();
        KvPaintSkin(P, Target.rect(), Pkg, FImage.get(), nullptr, BackGround, Skin->Transparent(),
                    Skin->BorderWidth(), Skin->BorderHeight());
    }
    P.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPen Pen(Qt::black, 0, FKind == Hints ? Qt::DashDotLine : Qt::SolidLine);
    P.setPen(Pen);
    const bool Cw = FKind == CommonWnds;
    auto Margin = [&](TKvCWMetric C, TKvHiMetric H) { return Value(Cw ? int(C) : int(H)); };
    const int Left = Margin(cwMarginLeft, hiMarginLeft), Top = Margin(cwMarginTop, hiMarginTop);
    const int Right = Margin(cwMarginRight, hiMarginRight), Bottom = Margin(cwMarginBottom, hiMarginBottom);
    auto Vertical = [&](int X) { P.drawLine(X, 0, X, H - 1); };
    auto Horizontal = [&](int Y) { P.drawLine(0, Y, W - 1, Y); };
    if (Left > 0)
        Vertical(Left);
    if (Right > 0)
        Vertical(W - Right);
    if (Top > 0)
        Horizontal(Top);
    if (Bottom > 0)
        Horizontal(H - Bottom);
    if (Cw) {
        const int TitleHeight = Value(cwTitleHeight), AfterTitle = Value(cwMarginAfterTitle);
        if (TitleHeight > 0)
            Horizontal(Top + TitleHeight);
        if (AfterTitle > 0)
            Horizontal(Top + TitleHeight + AfterTitle);
        const int BW = Value(cwButtonsWidth), BH = Value(cwButtonsHeight);
        const int Y = Top + (TitleHeight - BH) / 2;
        const QColor Light = QColor::fromRgb(ColorToRGB(
            (Pkg ? Pkg->SetColorOf(KvSet3DMLightName(), TColor{StringToColor(u"cl3DLight")})
                 : TColor{StringToColor(u"cl3DLight")}).Value));
        int X = W - Right - Value(cwButtonsMargin) - BW;
        for (int i = 0; i < 3; ++i, X -= BW + Value(cwButtonsSpacing))
            KvDrawGridLines(P, QRect(X, Y, BW, BH), Light, Qt::black, 3, true, true, false, false);
    }
    P.setPen(QPen(Qt::black, 0, Qt::SolidLine));
    P.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
